#pragma once

#include "common/MeterBallistics.h"

#include <QWidget>

namespace velmor {

// A stereo level meter: two horizontal bars, left channel above, RMS solid over the peak's
// lighter bar, the held peak as a mark and, on the master, a clip light at the right end.
// Setting what it shows repaints it only when a pixel of it changes.
class LevelMeterBar : public QWidget {
    Q_OBJECT
public:
    explicit LevelMeterBar(bool clipLight, QWidget* parent = nullptr);
    void setShown(const MeterBallistics::Shown& shown);
    const MeterBallistics::Shown& shown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Extents {
        std::array<int, 2> rms{}, peak{}, hold{};
        bool clip = false;
        bool operator==(const Extents&) const = default;
    };
    Extents extentsOf(const MeterBallistics::Shown& shown) const;
    int barsWidth() const;

    const bool clipLight_;
    MeterBallistics::Shown shown_;
    Extents extents_;
};

} // namespace velmor
