#include "legacy/Colors.h"

namespace velmor {

QColor ToQColor(Rgb value, const QPalette& palette) {
    if (value & 0x80000000u) {
        switch (value & 0xFF) {
        case 0x05:
            return palette.color(QPalette::Base);
        case 0x08:
            return palette.color(QPalette::WindowText);
        case 0x12:
            return palette.color(QPalette::ButtonText);
        case 0x0F:
        default:
            return palette.color(QPalette::Button);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace velmor
