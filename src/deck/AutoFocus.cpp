#include "deck/AutoFocus.h"

#include "common/EventHooks.h"

#include <QAbstractButton>
#include <QWidget>

namespace velmor {

void FocusOnMouseOver(QWidget* control, const QAbstractButton* autoFocus) {
    // Mouse moves without a button pressed reach only a control that tracks the mouse.
    control->setMouseTracking(true);
    OnEvent(control, QEvent::MouseMove, [control, autoFocus](QEvent*) {
        if (autoFocus->isChecked())
            control->setFocus();
        return false;
    });
}

} // namespace velmor
