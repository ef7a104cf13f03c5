#include "app/Application.h"

#include "common/Reporter.h"

namespace velmor {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (reporter_)
            reporter_->reportError(error);
    }
    return false;
}

} // namespace velmor
