#pragma once

#include <QApplication>

namespace velmor {

class Reporter;

// The application object: the last line of defence, so that a failure no handler trapped is
// reported like a trapped one and never ends the program.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    void setReporter(Reporter* reporter) { reporter_ = reporter; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Reporter* reporter_ = nullptr;
};

} // namespace velmor
