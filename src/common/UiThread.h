#pragma once

#include <QObject>

namespace velmor {

// Wakes `receiver`'s `method` (a Q_INVOKABLE without arguments) on the UI thread. A worker
// hands its results over in a queue under a std::mutex of its own and calls this while it
// holds that mutex; the method takes them under the same mutex. Only the wake-up travels
// through Qt's event queue, carrying no values: Qt is not built with ThreadSanitizer, so
// values carried inside its events would look raced to it, and posting under the lock
// orders the event itself before its delivery.
inline void WakeUiThread(QObject* receiver, const char* method) {
    QMetaObject::invokeMethod(receiver, method, Qt::QueuedConnection);
}

} // namespace velmor
