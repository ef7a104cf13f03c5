#include "support/Looks.h"

#include <QImage>
#include <QPalette>
#include <cstdlib>

namespace velmor::test {

bool CaptionLooksEnabled(QWidget* control) {
    // Drawn at three times the resolution, so that even a thin stroke has pixels of full ink.
    constexpr int kFine = 3;
    QImage image(control->size() * kFine, QImage::Format_RGB32);
    image.setDevicePixelRatio(kFine);
    control->render(&image);
    int darkest = 255;
    for (int y = 3 * kFine; y < image.height() - 3 * kFine; ++y)
        for (int x = 3 * kFine; x < image.width() - 3 * kFine; ++x)
            darkest = std::min(darkest, QColor(image.pixel(x, y)).lightness());
    const QPalette& palette = control->palette();
    const int enabled = palette.color(QPalette::Active, QPalette::ButtonText).lightness();
    const int disabled = palette.color(QPalette::Disabled, QPalette::ButtonText).lightness();
    return std::abs(darkest - enabled) < std::abs(darkest - disabled);
}

} // namespace velmor::test
