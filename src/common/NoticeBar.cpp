#include "common/NoticeBar.h"

#include "common/Accessible.h"
#include "common/TwipsLayout.h"
#include "legacy/Colors.h"

#include <QAccessible>
#include <QMouseEvent>
#include <algorithm>

namespace velmor {

NoticeBar::NoticeBar(QWidget* parent) : QLabel(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFrameShape(QFrame::Box);
    setMargin(3);
    setTextFormat(Qt::PlainText); // file names are shown as they are, never as markup
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(kNoticeBack, pal));
    setPalette(pal);
    setToolTip("Click to close");
    hide();
}

void NoticeBar::tell(const QString& text) {
    // A path has no space to wrap at: it may break after each "/" instead, so that a long file
    // name shows whole on the lines it takes rather than cut off at the bar's edge.
    setText(QString(text).replace('/', QStringLiteral("/\u200B")));
    SetAccessibleText(this, text);
    fitToText();
    raise();
    show();
    // A screen reader says it at once, as it says a box that opens.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void NoticeBar::fitToText() {
    if (design_.isEmpty())
        design_ = TwipsGeometry(this);
    if (design_.isEmpty())
        return; // not placed in twips
    // Taller than designed, upwards from where it ends, when the text needs it.
    const double scale = ScaleOf(this);
    const int needed = heightForWidth(ScaledRect(design_, scale).width());
    QRectF rect = design_;
    rect.setTop(std::max(0.0, std::min(rect.top(), rect.bottom() - PixelsToTwips(needed) / scale)));
    PlaceInTwips(this, rect);
}

void NoticeBar::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // The window's scale came with a font of its own size: the text takes other lines.
    if (event->type() == QEvent::FontChange && !text().isEmpty())
        fitToText();
}

void NoticeBar::mousePressEvent(QMouseEvent* event) {
    hide();
    event->accept();
}

} // namespace velmor
