#include "common/LevelMeterBar.h"

#include <QPainter>
#include <cmath>

namespace velmor {

namespace {
// Green up to -18 dB, amber to -6 dB, red above; each lighter for the peak than the RMS.
struct Zone {
    double fromDb;
    QColor rms, peak;
};
const Zone kZones[] = {{MeterBallistics::kFloorDb, QColor(0, 190, 60), QColor(0, 110, 40)},
                       {-18, QColor(240, 200, 0), QColor(140, 120, 0)},
                       {-6, QColor(255, 40, 20), QColor(150, 30, 20)}};
const QColor kBack(24, 24, 24);
const QColor kHold(235, 235, 235);
const QColor kClipOff(70, 20, 20);
const QColor kClipOn(255, 30, 30);

double FractionOf(double dB) {
    return std::clamp((dB - MeterBallistics::kFloorDb) / -MeterBallistics::kFloorDb, 0.0, 1.0);
}
} // namespace

LevelMeterBar::LevelMeterBar(bool clipLight, QWidget* parent)
    : QWidget(parent), clipLight_(clipLight) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

int LevelMeterBar::barsWidth() const {
    // The clip light is a square at the right end, a pixel apart.
    return clipLight_ ? std::max(0, width() - height() - 1) : width();
}

LevelMeterBar::Extents LevelMeterBar::extentsOf(const MeterBallistics::Shown& shown) const {
    Extents extents;
    const int bars = barsWidth();
    auto x = [bars](double dB) { return int(std::lround(FractionOf(dB) * bars)); };
    for (int c = 0; c < 2; ++c) {
        extents.rms[c] = x(shown.rms[c]);
        extents.peak[c] = x(shown.peak[c]);
        extents.hold[c] = x(shown.hold[c]);
    }
    extents.clip = clipLight_ && shown.clip;
    return extents;
}

void LevelMeterBar::setShown(const MeterBallistics::Shown& shown) {
    shown_ = shown;
    const Extents extents = extentsOf(shown);
    if (extents == extents_)
        return;
    extents_ = extents;
    update();
}

void LevelMeterBar::resizeEvent(QResizeEvent*) {
    extents_ = extentsOf(shown_);
}

void LevelMeterBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBack);
    const int bars = barsWidth();
    const int half = height() / 2;
    for (int c = 0; c < 2; ++c) {
        // One pixel of the back colour between the channels and around them.
        const int top = c == 0 ? 1 : half + 1;
        const int bottom = c == 0 ? half - 1 : height() - 1;
        if (bottom <= top)
            continue;
        for (size_t z = 0; z < std::size(kZones); ++z) {
            const int from = int(std::lround(FractionOf(kZones[z].fromDb) * bars));
            const int to = z + 1 < std::size(kZones)
                               ? int(std::lround(FractionOf(kZones[z + 1].fromDb) * bars))
                               : bars;
            const int peakEnd = std::min(to, extents_.peak[c]);
            if (peakEnd > from)
                painter.fillRect(from, top, peakEnd - from, bottom - top, kZones[z].peak);
            const int rmsEnd = std::min(to, extents_.rms[c]);
            if (rmsEnd > from)
                painter.fillRect(from, top, rmsEnd - from, bottom - top, kZones[z].rms);
        }
        if (extents_.hold[c] > 0)
            painter.fillRect(std::max(0, extents_.hold[c] - 2), top, 2, bottom - top, kHold);
    }
    if (clipLight_)
        painter.fillRect(bars + 1, 1, width() - bars - 2, height() - 2,
                         extents_.clip ? kClipOn : kClipOff);
}

} // namespace velmor
