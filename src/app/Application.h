#pragma once

#include <QApplication>

namespace velmor {

class Reporter;

// The application object: the last line of defence, so that a failure no handler trapped is
// reported like a trapped one and never ends the program. It also knows whether the event
// being handled came from the person at the window.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    void setReporter(Reporter* reporter) { reporter_ = reporter; }
    bool notify(QObject* receiver, QEvent* event) override;

    // True while a key, a click or another input event is handled, and outside any event (a
    // command called directly); false inside a timer's tick, a player's notification or any
    // other event that nobody asked for at that moment.
    static bool HandlingUserInput();

private:
    Reporter* reporter_ = nullptr;
};

} // namespace velmor
