#pragma once

#include <QFont>
#include <QRect>
#include <cmath>

class QWidget;

namespace velmor {

// Window geometry is designed in twips; 15 twips make one device-independent pixel at the
// window's design size. The window may be larger: one scale factor, the window's, then
// multiplies every control's design rectangle and font. Controls placed here keep their
// design values, so that the scale can change at any time.
constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips) {
    return int(std::lround(twips / kTwipsPerPixel));
}
inline double PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

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
