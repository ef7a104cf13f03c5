#include "common/AutoFocus.h"

#include "common/EventHooks.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QLineEdit>

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

void SelectAllOnClick(QLineEdit* box) {
    OnEvent(box, QEvent::MouseButtonRelease, [box](QEvent*) {
        // After the box has placed its caret for the click.
        QMetaObject::invokeMethod(box, &QLineEdit::selectAll, Qt::QueuedConnection);
        return false;
    });
}

void FocusFolderOnEnter(QLineEdit* box, QWidget* folderList) {
    OnEvent(box, QEvent::KeyPress, [folderList](QEvent* event) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        folderList->setFocus();
        return true;
    });
}

} // namespace velmor
