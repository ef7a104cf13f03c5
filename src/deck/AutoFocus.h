#pragma once

class QAbstractButton;
class QWidget;

namespace velmor {

// While the "Auto Focus" box is ticked, the mouse moving over `control` gives it the keyboard
// focus, so a wheel mouse acts on whatever is under the pointer.
void FocusOnMouseOver(QWidget* control, const QAbstractButton* autoFocus);

} // namespace velmor
