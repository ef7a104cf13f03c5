#include "common/Twips.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace velmor {

namespace {
const char* const kScale = "velmorScale";
const char* const kTwips = "velmorTwips";
const char* const kFont = "velmorFont";

int Edge(double twips, double scale) {
    return int(std::lround(twips * scale / kTwipsPerPixel));
}

void ApplyFont(QWidget* widget, QFont font, double scale) {
    font.setPointSizeF(font.pointSizeF() * scale);
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
    design.setPointSizeF(design.pointSizeF() * ScaleOf(widget));
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
