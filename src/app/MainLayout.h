#pragma once

class QWidget;

namespace velmor {

struct Controls;

// The height of the playlists' foot, under which their entries end: the master strip and
// the dropouts' and the clock's line; and with the recording's line.
constexpr double kListFootTwips = 4305 - 3735;
constexpr double kRecordingFootTwips = 4305 - 3510;

// Builds every control of the main window into `window`, placed, captioned and coloured as
// designed, in their state before start-up.
void BuildControls(QWidget* window, Controls& ui);

} // namespace velmor
