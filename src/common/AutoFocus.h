#pragma once

#include <functional>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace velmor {

// While the "Auto Focus" box is ticked, the mouse moving over `control` gives it the keyboard
// focus, so a wheel mouse acts on whatever is under the pointer. Serves sliders and lists.
void FocusOnMouseOver(QWidget* control, const QAbstractButton* autoFocus);

// The pieces of that rule, for a control whose mouse-move handler has a name of its own:
// `handler` runs on every move of the mouse over `control`, a button pressed or not...
void OnMouseMove(QWidget* control, std::function<void()> handler);
// ...and gives `control` the focus when `autoFocus` is ticked.
void FocusIfAutoFocus(QWidget* control, const QAbstractButton* autoFocus);

// A click in the box selects its whole text, so that typing replaces it.
void SelectAllOnClick(QLineEdit* box);
// Enter in the box gives the folder list the focus, after which keys are shortcuts again.
void FocusFolderOnEnter(QLineEdit* box, QWidget* folderList);

} // namespace velmor
