#include "common/ScaledStyle.h"

#include "common/TwipsLayout.h"

#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <cmath>

namespace velmor {

ScaledStyle::ScaledStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

int ScaledStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (!widget && option)
        widget = qobject_cast<const QWidget*>(option->styleObject);
    if (!widget)
        return base;
    return int(std::lround(base * ScaleOf(widget)));
}

} // namespace velmor
