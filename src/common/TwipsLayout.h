#pragma once

#include "legacy/Twips.h"

#include <QFont>
#include <QRect>
#include <QRectF>

class QWidget;

namespace velmor {

// Controls are placed at design rectangles in twips. The window may be larger than its design
// size: one scale factor, the window's, then multiplies every control's design rectangle and
// font. Controls placed here keep their design values, so that the scale can change at any
// time.

// A design rectangle at a scale, in pixels: its edges rounded, so that neighbours stay
// neighbours; a control of any size in twips is at least a pixel.
QRect ScaledRect(const QRectF& twips, double scale);

// The scale of the window a control is in (1 until the window sets one).
double ScaleOf(const QWidget* widget);
// Places a control at a design rectangle (relative to its parent) at its window's scale,
// and keeps the rectangle for later scales.
void PlaceInTwips(QWidget* widget, const QRectF& twips);
QRectF TwipsGeometry(const QWidget* widget);
void SetTwipsHeight(QWidget* widget, double twips);
// Gives a control its design font, at its window's scale, and keeps it for later scales.
void SetDesignFont(QWidget* widget, const QFont& font);
// The design font a control was given (its own font if it was given none).
QFont DesignFont(const QWidget* widget);
// A design font at a control's scale, for text a control paints itself.
QFont ScaledFont(const QWidget* widget, QFont design);

// The one place the scale is applied: every control of `window` placed in twips or given a
// design font is placed and sized anew.
void ApplyScale(QWidget* window, double scale);

} // namespace velmor
