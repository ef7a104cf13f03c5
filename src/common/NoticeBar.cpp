#include "common/NoticeBar.h"

#include "common/Colors.h"

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
    setAccessibleName("Notice");
    hide();
}

void NoticeBar::tell(const QString& text) {
    setText(text);
    raise();
    show();
}

void NoticeBar::mousePressEvent(QMouseEvent* event) {
    hide();
    event->accept();
}

} // namespace velmor
