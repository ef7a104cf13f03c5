#pragma once

#include <QProxyStyle>

namespace velmor {

// Fusion with its measures (slider handles, scroll bars, frames, margins) grown with the
// scale of the window a control is in, so that a control scaled with the window is drawn in
// its design proportions, not as a small handle in a large box.
class ScaledStyle : public QProxyStyle {
public:
    ScaledStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

} // namespace velmor
