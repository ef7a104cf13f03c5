#include "app/Application.h"

#include "common/Reporter.h"

#include <QInputEvent>

namespace velmor {

namespace {
bool userInput = true; // the innermost event's; true outside any

class Handling {
public:
    explicit Handling(const QEvent* event) : outer_(userInput) {
        userInput = dynamic_cast<const QInputEvent*>(event) != nullptr;
    }
    ~Handling() { userInput = outer_; }
    Handling(const Handling&) = delete;
    Handling& operator=(const Handling&) = delete;

private:
    bool outer_;
};
} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::HandlingUserInput() {
    return userInput;
}

bool Application::notify(QObject* receiver, QEvent* event) {
    const Handling handling(event);
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (!reporter_)
            throw; // nobody to tell: as a plain application would, let it out
        reporter_->reportError(error);
    }
    return false;
}

} // namespace velmor
