#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace velmor {

// Colours as the program stores and compares them: &H00BBGGRR values, or a system colour
// &H800000xx. They become QColors only when painted.
using Rgb = uint32_t;

constexpr Rgb kButtonFace = 0x8000000F;
constexpr Rgb kBlack = 0x000000;
constexpr Rgb kRed = 0x0000FF;
constexpr Rgb kBlue = 0xFF0000;
constexpr Rgb kLightBlue = 0xFF8080;
constexpr Rgb kLightGreen = 0xC0FFC0;
constexpr Rgb kLightRed = 0xC0C0FF;
constexpr Rgb kLightYellow = 0xC0FFFF;
constexpr Rgb kButtonLightBlue = 0xFFC0C0;
constexpr Rgb kDarkRed = 0x0000C0;
constexpr Rgb kDarkGreen = 0x008000;
constexpr Rgb kGreen192 = 0x00C000;
constexpr Rgb kLoadedEntry = 0xFFE8D0;  // pale blue behind the playlist entry in the deck
constexpr Rgb kNoticeBack = 0xC8F4FF;   // pale amber behind a notice
constexpr Rgb kPrelistenLit = 0x40C0FF; // amber: the deck is in the headphones
constexpr Rgb kWarning = 0x0040FF;      // red-orange: the end of a playing track is near

// System colours map to the palette (&H8000000F is the button colour); others are BGR.
QColor ToQColor(Rgb value, const QPalette& palette);

} // namespace velmor
