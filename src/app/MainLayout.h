#pragma once

#include <QFont>

class QWidget;

namespace velmor {

struct Controls;

// The height of the playlists' foot, under which their entries end: the master strip and
// the dropouts' and the clock's line; and with the line above it, which shows the recording
// on its left and the voice-over's light on its right.
constexpr double kListFootTwips = 4305 - 3735;
constexpr double kRecordingFootTwips = 4305 - 3510;

// The window's own font (Liberation Sans 8.25 pt, standing in for MS Sans Serif), and the
// program's default: what has no font of its own (message boxes, tooltips) shows in it too,
// and no other face is loaded for the text boxes, which Qt lays out in the default font
// while it builds them.
QFont WindowFont();

// Builds every control of the main window into `window`, placed, captioned and coloured as
// designed, in their state before start-up.
void BuildControls(QWidget* window, Controls& ui);

// The playlists' entries end above the line over the clock while it shows something (the
// recording, the voice-over's light), else above the clock's line.
void FitListsFoot(Controls& ui);

} // namespace velmor
