#include "common/EventHooks.h"

namespace velmor {
namespace {
class EventHook : public QObject {
public:
    EventHook(QObject* target, QEvent::Type type, std::function<bool(QEvent*)> handler)
        : QObject(target), type_(type), handler_(std::move(handler)) {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == type_ && handler_(event);
    }

private:
    QEvent::Type type_;
    std::function<bool(QEvent*)> handler_;
};
} // namespace

void OnEvent(QObject* target, QEvent::Type type, std::function<bool(QEvent*)> handler) {
    new EventHook(target, type, std::move(handler));
}

} // namespace velmor
