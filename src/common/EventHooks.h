#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

namespace velmor {

// Calls `handler` for every event of `type` that reaches `target`, before the target sees
// it. The handler returns true to swallow the event; false lets the target have it too.
void OnEvent(QObject* target, QEvent::Type type, std::function<bool(QEvent*)> handler);

} // namespace velmor
