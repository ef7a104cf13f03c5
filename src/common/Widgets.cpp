#include "common/Widgets.h"

#include "common/Accessible.h"

#include "common/TwipsLayout.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <functional>

namespace velmor {

ColorButton::ColorButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void ColorButton::setBackColor(Rgb color) {
    backColor_ = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Button, ToQColor(color, QPalette()));
    setPalette(pal);
    update();
}

void ColorButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.palette = keptPalette(option.palette);
    if (symbolCaption_ && text() == QLatin1String("o"))
        option.text = QString(QChar(0x25A0)); // the symbol font draws "o" as a filled square
    painter.drawControl(QStyle::CE_PushButton, option);
}

// The style caches a button's bevel under its palette's key, and every setPalette makes a new
// key, even for a colour shown before: a deck that starts and stops all night would fill the
// pixmap cache with bevels of the same two colours. Painting from one kept palette per colour
// reuses them. Palettes compare equal whatever their current colour group, so the kept one is
// handed out in the group of the button's state now (a copy shares its key): disabled,
// inactive or active as the button is, not as it was when its colour was first painted.
QPalette ColorButton::keptPalette(const QPalette& current) {
    constexpr size_t kMostKept = 4;
    auto kept = std::find(kept_.begin(), kept_.end(), current);
    if (kept == kept_.end()) {
        if (kept_.size() == kMostKept)
            kept_.erase(kept_.begin());
        kept = kept_.insert(kept_.end(), current);
    }
    QPalette palette = *kept;
    palette.setCurrentColorGroup(current.currentColorGroup());
    return palette;
}

Shape::Shape(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setFillColor(Rgb color) {
    fillColor_ = color;
    update();
}

void Shape::setWidthTwips(double twips) {
    widthTwips_ = twips;
    QRectF rect = TwipsGeometry(this);
    rect.setWidth(std::max(0.0, twips));
    PlaceInTwips(this, rect);
    setVisible(twips > 0);
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, kind_ == Circle);
    painter.setPen(Qt::black);
    painter.setBrush(ToQColor(fillColor_, palette()));
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (kind_ == Circle)
        painter.drawEllipse(box);
    else
        painter.fillRect(rect(), ToQColor(fillColor_, palette()));
}

namespace {
QStaticText Prepared(const QString& text, const QFont& font) {
    QStaticText prepared(text);
    prepared.setTextFormat(Qt::PlainText);
    prepared.prepare(QTransform(), font);
    return prepared;
}

// Where a text of these metrics starts so as to sit centred in the box.
QPoint CentredIn(const QRect& box, const QFontMetrics& metrics, const QString& text) {
    return box.topLeft() + QPoint((box.width() - metrics.horizontalAdvance(text)) / 2,
                                  (box.height() - metrics.height()) / 2);
}
} // namespace

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent)
    : QFrame(parent), head_(caption) {
    SetAccessibleText(this, head_);
}

// The caption is painted: assistive tools are told it whole, as they are told a label's text.
void CaptionFrame::setCaption(const QString& head, const QString& title, const QString& tail) {
    head_ = head;
    title_ = title;
    tail_ = tail;
    SetAccessibleText(this, Caption(), accessibleDescription());
    changed();
}

void CaptionFrame::setCaptionEndTwips(double twips) {
    captionEndTwips_ = twips;
    changed();
}

int CaptionFrame::captionLeft() const {
    return int(std::lround(8 * ScaleOf(this)));
}

int CaptionFrame::captionEnd() const {
    return captionEndTwips_ > 0
               ? ScaledRect(QRectF(0, 0, captionEndTwips_, 1), ScaleOf(this)).width()
               : width();
}

QRect CaptionFrame::noteBox() const {
    if (note_.isEmpty())
        return {};
    const QFontMetrics metrics(ScaledFont(this, noteFont_));
    const int height = QFontMetrics(ScaledFont(this, captionFont_)).height();
    const int width = metrics.horizontalAdvance(note_) + 4;
    return {captionEnd() - width, 0, width, height};
}

void CaptionFrame::setNote(const QString& note) {
    if (note == note_)
        return;
    note_ = note;
    changed();
}

void CaptionFrame::setNoteFont(const QFont& font) {
    noteFont_ = font;
    changed();
}

QString CaptionFrame::DisplayedCaption() const {
    const QFontMetrics metrics(ScaledFont(this, captionFont_));
    const int end = note_.isEmpty() ? captionEnd() : noteBox().left() - 4;
    // The caption's box has two pixels of room on either side.
    const int room = end - captionLeft() - 4 - metrics.horizontalAdvance(head_ + tail_);
    return head_ + metrics.elidedText(title_, Qt::ElideMiddle, std::max(0, room)) + tail_;
}

void CaptionFrame::setForeColor(Rgb color) {
    foreColor_ = color;
    update();
}

void CaptionFrame::setCaptionFont(const QFont& font) {
    captionFont_ = font;
    changed();
}

void CaptionFrame::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QFont font = ScaledFont(this, captionFont_);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int textTop = metrics.height() / 2;
    const QRect border = rect().adjusted(1, textTop, -2, -2);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(border);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1));
    // Most repaints are of a control inside the frame, below the caption's line: the caption
    // is drawn only when its line is repainted, and laid out only when it changes.
    if (!event->region().intersects(QRect(0, 0, width(), metrics.height())))
        return;
    const Drawn& drawn = this->drawn();
    painter.fillRect(drawn.captionBox, palette().color(QPalette::Window));
    painter.setPen(ToQColor(foreColor_, palette()));
    painter.drawStaticText(drawn.captionAt, drawn.caption);
    if (!drawn.noteBox.isEmpty()) {
        painter.fillRect(drawn.noteBox, palette().color(QPalette::Window));
        painter.setFont(ScaledFont(this, noteFont_)); // as prepared, or laid out again
        painter.drawStaticText(drawn.noteAt, drawn.note);
    }
}

const CaptionFrame::Drawn& CaptionFrame::drawn() const {
    if (!drawn_) {
        const QFont font = ScaledFont(this, captionFont_), small = ScaledFont(this, noteFont_);
        const QFontMetrics metrics(font), smallMetrics(small);
        const QString caption = DisplayedCaption();
        Drawn drawn;
        drawn.caption = Prepared(caption, font);
        drawn.captionBox =
            QRect(captionLeft(), 0, metrics.horizontalAdvance(caption) + 4, metrics.height());
        drawn.captionAt = CentredIn(drawn.captionBox, metrics, caption);
        drawn.noteBox = noteBox();
        drawn.note = Prepared(note_, small);
        drawn.noteAt = CentredIn(drawn.noteBox, smallMetrics, note_);
        drawn_ = drawn;
    }
    return *drawn_;
}

void CaptionFrame::changed() {
    drawn_.reset();
    update();
}

void CaptionFrame::resizeEvent(QResizeEvent* event) {
    drawn_.reset();
    QFrame::resizeEvent(event);
}

FootedList::FootedList(double footTwips, QWidget* parent)
    : QListView(parent), footTwips_(footTwips) {}

void FootedList::setFootTwips(double twips) {
    footTwips_ = twips;
    QResizeEvent same(size(), size());
    resizeEvent(&same);
}

void FootedList::resizeEvent(QResizeEvent* event) {
    // The contents end above the foot: the viewport and the scroll bars both.
    const int foot = ScaledRect(QRectF(0, 0, 1, footTwips_), ScaleOf(this)).height();
    setContentsMargins(0, 0, 0, std::max(0, foot - frameWidth()));
    QListView::resizeEvent(event);
}

// A change of stacking order is not passed on to changeEvent: it is caught here.
bool FootedList::event(QEvent* event) {
    if (event->type() == QEvent::ZOrderChange)
        for (QWidget* control : foot_)
            control->raise();
    return QListView::event(event);
}

void CaptionFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QFrame::mousePressEvent(event);
}

namespace {
QIcon drawnIcon(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::black);
    draw(painter);
    return QIcon(pixmap);
}
} // namespace

QIcon HeadphonesIcon() {
    return drawnIcon([](QPainter& p) {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 4, 22, 22), 0, 180 * 16); // the band
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(3, 15, 7, 12), 2, 2); // the ear cups
        p.drawRoundedRect(QRectF(22, 15, 7, 12), 2, 2);
    });
}

QIcon SpeakerIcon() {
    return drawnIcon([](QPainter& p) {
        QPainterPath cone;
        cone.moveTo(3, 12);
        cone.lineTo(9, 12);
        cone.lineTo(17, 5);
        cone.lineTo(17, 27);
        cone.lineTo(9, 20);
        cone.lineTo(3, 20);
        cone.closeSubpath();
        p.drawPath(cone);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(14, 9, 10, 14), -60 * 16, 120 * 16); // the sound
        p.drawArc(QRectF(14, 4, 16, 24), -60 * 16, 120 * 16);
    });
}

} // namespace velmor
