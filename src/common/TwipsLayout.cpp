#include "common/TwipsLayout.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace velmor {

namespace {
const char* const kScale = "velmorScale";
const char* const kTwips = "velmorTwips";
const char* const kFont = "velmorFont";

int Edge(double twips, double scale) {
    return int(std::lround(twips * scale / kTwipsPerPixel));
}

// Qt draws a font at a whole number of pixels, the nearest: 8.25 points at 1.5 times would be
// 17 pixels where the controls grew to 16.5, and a label's last letter would be cut off. Taken
// down to a whole pixel, text never grows faster than the box it is in.
double ScaledPoints(double points, double scale, const QWidget* widget) {
    const double dpi = widget->logicalDpiY();
    const double pixels = std::max(1.0, std::floor(points * scale * dpi / 72 + 1e-6));
    return pixels * 72 / dpi;
}

void ApplyFont(QWidget* widget, QFont font, double scale) {
    font.setPointSizeF(ScaledPoints(font.pointSizeF(), scale, widget));
    widget->setFont(font);
}
} // namespace

QRect ScaledRect(const QRectF& twips, double scale) {
    const int left = Edge(twips.left(), scale), top = Edge(twips.top(), scale);
    int width = Edge(twips.left() + twips.width(), scale) - left;
    int height = Edge(twips.top() + twips.height(), scale) - top;
    if (twips.width() > 0)
        width = std::max(width, 1);
    if (twips.height() > 0)
        height = std::max(height, 1);
    return QRect(left, top, width, height);
}

double ScaleOf(const QWidget* widget) {
    const QVariant scale = widget->window()->property(kScale);
    return scale.isValid() ? scale.toDouble() : 1.0;
}

void PlaceInTwips(QWidget* widget, const QRectF& twips) {
    widget->setProperty(kTwips, twips);
    widget->setGeometry(ScaledRect(twips, ScaleOf(widget)));
}

QRectF TwipsGeometry(const QWidget* widget) {
    return widget->property(kTwips).toRectF();
}

void SetTwipsHeight(QWidget* widget, double twips) {
    QRectF rect = TwipsGeometry(widget);
    rect.setHeight(twips);
    PlaceInTwips(widget, rect);
}

void SetDesignFont(QWidget* widget, const QFont& font) {
    widget->setProperty(kFont, font);
    ApplyFont(widget, font, ScaleOf(widget));
}

QFont DesignFont(const QWidget* widget) {
    const QVariant font = widget->property(kFont);
    return font.isValid() ? font.value<QFont>() : widget->font();
}

QFont ScaledFont(const QWidget* widget, QFont design) {
    design.setPointSizeF(ScaledPoints(design.pointSizeF(), ScaleOf(widget), widget));
    return design;
}

void ApplyScale(QWidget* window, double scale) {
    window->setProperty(kScale, scale);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (const QVariant twips = widget->property(kTwips); twips.isValid())
            widget->setGeometry(ScaledRect(twips.toRectF(), scale));
        if (const QVariant font = widget->property(kFont); font.isValid())
            ApplyFont(widget, font.value<QFont>(), scale);
    }
}

} // namespace velmor
