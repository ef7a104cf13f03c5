#include "common/TrackOverviewBar.h"

#include "legacy/Colors.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace velmor {

namespace {
const QColor kBack(24, 24, 24);
const QColor kPlayedBack(60, 60, 60);
const QColor kWave(70, 200, 100);
const QColor kPlayedWave(130, 130, 130);
const QColor kHeard(255, 255, 255);
const QColor kCue(255, 200, 0);
const QColor kSilentShade(0, 0, 0, 150);
} // namespace

std::vector<float> ColumnPeaks(const std::vector<float>& bins, int columns) {
    std::vector<float> peaks(static_cast<size_t>(std::max(columns, 0)), 0.0f);
    const size_t count = bins.size();
    if (count == 0)
        return peaks;
    for (size_t c = 0; c < peaks.size(); ++c) {
        const size_t from = c * count / peaks.size();
        const size_t to = std::max(from + 1, (c + 1) * count / peaks.size());
        peaks[c] = *std::max_element(bins.begin() + long(from), bins.begin() + long(to));
    }
    return peaks;
}

TrackOverviewBar::TrackOverviewBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    setToolTip("Click to go to that place of the track");
}

void TrackOverviewBar::setPeaks(const std::vector<float>& bins) {
    bins_ = bins;
    columns_ = ColumnPeaks(bins_, width());
    update();
}

int TrackOverviewBar::columnAt(double share) const {
    return int(std::lround(std::clamp(share, 0.0, 1.0) * width()));
}

void TrackOverviewBar::setPlayed(double share) {
    const int from = columnAt(played_), to = columnAt(share);
    played_ = share;
    if (from == to)
        return;
    // Only the columns the heard line crossed change, and the line itself (one column wide).
    const int left = std::min(from, to), right = std::max(from, to);
    update(left - 1, 0, right - left + 3, height());
}

void TrackOverviewBar::setCue(std::optional<double> share) {
    if (share == cue_)
        return;
    cue_ = share;
    update();
}

void TrackOverviewBar::setWarning(bool warning) {
    if (warning == warning_)
        return;
    warning_ = warning;
    update();
}

void TrackOverviewBar::setSound(double start, double end) {
    if (start == soundStart_ && end == soundEnd_)
        return;
    soundStart_ = start;
    soundEnd_ = end;
    update();
}

void TrackOverviewBar::resizeEvent(QResizeEvent*) {
    columns_ = ColumnPeaks(bins_, width());
}

void TrackOverviewBar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const int firstColumn = std::max(0, event->rect().left());
    const int lastColumn = std::min(int(columns_.size()) - 1, event->rect().right());
    const int heard = columnAt(played_);
    painter.fillRect(0, 0, heard, height(), kPlayedBack);
    painter.fillRect(heard, 0, width() - heard, height(), kBack);
    const double middle = height() / 2.0;
    for (int x = firstColumn; x <= lastColumn; ++x) {
        const double half = std::min(1.0f, columns_[size_t(x)]) * (middle - 1);
        const int top = int(std::floor(middle - half)), bottom = int(std::ceil(middle + half));
        painter.fillRect(x, top, 1, std::max(1, bottom - top),
                         x < heard  ? kPlayedWave
                         : warning_ ? ToQColor(kWarning, palette())
                                    : kWave);
    }
    const int start = columnAt(soundStart_), end = columnAt(soundEnd_);
    painter.fillRect(0, 0, start, height(), kSilentShade);
    painter.fillRect(end, 0, width() - end, height(), kSilentShade);
    if (cue_)
        painter.fillRect(std::min(columnAt(*cue_), width() - 2), 0, 2, height(), kCue);
    painter.fillRect(std::min(heard, width() - 1), 0, 1, height(), kHeard);
}

void TrackOverviewBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && width() > 0)
        emit clicked(std::clamp(event->position().x() / width(), 0.0, 1.0));
    event->accept();
}

} // namespace velmor
