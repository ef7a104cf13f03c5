#include "common/NoticeBar.h"

#include "common/Accessible.h"
#include "common/Colors.h"

#include <QAccessible>
#include <QMouseEvent>

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
    setText(text);
    SetAccessibleText(this, text);
    raise();
    show();
    // A screen reader says it at once, as it says a box that opens.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void NoticeBar::mousePressEvent(QMouseEvent* event) {
    hide();
    event->accept();
}

} // namespace velmor
