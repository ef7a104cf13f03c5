#pragma once

class QWidget;

namespace velmor {

struct Controls;

// Builds every control of the main window into `window`, placed, captioned and coloured as
// designed, in their state before start-up.
void BuildControls(QWidget* window, Controls& ui);

} // namespace velmor
