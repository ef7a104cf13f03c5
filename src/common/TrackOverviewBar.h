#pragma once

#include <QWidget>
#include <optional>
#include <vector>

namespace velmor {

// The loudest of the `bins` peaks that fall in each of `columns` equal columns; a column
// narrower than a bin takes the bin it lies in.
std::vector<float> ColumnPeaks(const std::vector<float>& bins, int columns);

// A track's whole waveform, a peak per pixel column, with the played part shaded, the place
// being heard and the cue point marked; near the end of a playing track the part still to
// play turns the warning colour; silence at either end, where known, is shaded. A click tells the
// place clicked, as a share of the track. It repaints only when a pixel of it changes.
class TrackOverviewBar : public QWidget {
    Q_OBJECT
public:
    explicit TrackOverviewBar(QWidget* parent = nullptr);
    void setPeaks(const std::vector<float>& bins);
    void setPlayed(double share);
    void setCue(std::optional<double> share);
    void setWarning(bool warning);
    // Where the track's sound runs, as shares of it: the silence before and after is shaded.
    void setSound(double start, double end);
    bool warning() const { return warning_; }
    // What each pixel column shows, as drawn at the bar's width.
    const std::vector<float>& columns() const { return columns_; }

signals:
    void clicked(double share);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int columnAt(double share) const;
    std::vector<float> bins_, columns_;
    double played_ = 0;
    std::optional<double> cue_;
    double soundStart_ = 0, soundEnd_ = 1;
    bool warning_ = false;
};

} // namespace velmor
