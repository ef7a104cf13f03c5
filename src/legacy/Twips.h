#pragma once

#include <QRect>
#include <cmath>

namespace velmor {

// Window geometry is designed in twips; 15 twips make one device-independent pixel at the
// window's design size.
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

} // namespace velmor
