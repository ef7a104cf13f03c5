#include "common/AutoFocus.h"

#include "common/EventHooks.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>

namespace velmor {

void FocusOnMouseOver(QWidget* control, const QAbstractButton* autoFocus) {
    OnMouseMove(control, [control, autoFocus] { FocusIfAutoFocus(control, autoFocus); });
}

void OnMouseMove(QWidget* control, std::function<void()> handler) {
    // A list's mouse events arrive at its viewport, not at the list itself.
    QWidget* surface = control;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control))
        surface = area->viewport();
    // Moves without a button pressed reach only a widget that tracks the mouse.
    surface->setMouseTracking(true);
    OnEvent(surface, QEvent::MouseMove, [handler = std::move(handler)](QEvent*) {
        handler();
        return false;
    });
}

void FocusIfAutoFocus(QWidget* control, const QAbstractButton* autoFocus) {
    if (autoFocus->isChecked())
        control->setFocus();
}

} // namespace velmor
