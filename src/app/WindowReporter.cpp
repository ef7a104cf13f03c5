#include "app/WindowReporter.h"

#include "app/Application.h"

namespace velmor {

void WindowReporter::failure(const QString& description) {
    if (anyDeckPlays_() || !Application::HandlingUserInput())
        outer_.notice(description);
    else
        outer_.show(description, kAppTitle, Icon::Exclamation);
}

} // namespace velmor
