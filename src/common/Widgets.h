#pragma once

#include "legacy/Colors.h"

#include <QFrame>
#include <QIcon>
#include <QListView>
#include <QPushButton>
#include <QStaticText>
#include <QWidget>
#include <optional>
#include <vector>

namespace velmor {

// A button whose background colour can be changed at run time (the colour is kept as the
// program's own value and painted through the palette). Checkable ones serve as the
// two-state and option buttons drawn as buttons.
class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(const QString& caption, QWidget* parent = nullptr);
    Rgb BackColor() const { return backColor_; }
    void setBackColor(Rgb color);

    // The caption "o" in the symbol font is a square.
    void setSymbolCaption(bool symbol) { symbolCaption_ = symbol; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPalette keptPalette(const QPalette& current);

    Rgb backColor_ = kButtonFace;
    bool symbolCaption_ = false;
    std::vector<QPalette> kept_; // one per colour shown, the latest last
};

// Small drawn icons for buttons too narrow for a word: headphones (pre-listen) and a
// loudspeaker (the audio set-up).
QIcon HeadphonesIcon();
QIcon SpeakerIcon();

// A filled rectangle or circle. Its width is kept in twips as a real number, as the
// position bars compute it.
class Shape : public QWidget {
    Q_OBJECT
public:
    enum Kind { Rectangle, Circle };
    Shape(Kind kind, QWidget* parent = nullptr);
    Rgb FillColor() const { return fillColor_; }
    void setFillColor(Rgb color);
    double WidthTwips() const { return widthTwips_; }
    void setWidthTwips(double twips);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    Rgb fillColor_ = kButtonFace;
    double widthTwips_ = 0;
};

// A frame with a caption whose text colour can be set without touching the colours of the
// controls inside it; a click on it is reported. A caption may have a middle part (a title)
// that gives way, elided in its middle, so that the caption ends where it may end and its
// head and tail always show.
class CaptionFrame : public QFrame {
    Q_OBJECT
public:
    explicit CaptionFrame(const QString& caption, QWidget* parent = nullptr);
    QString Caption() const { return head_ + title_ + tail_; }
    void setCaption(const QString& caption) { setCaption(caption, {}, {}); }
    void setCaption(const QString& head, const QString& title, const QString& tail);
    // Where the caption must end, in twips from the frame's left (0: the frame's width).
    void setCaptionEndTwips(double twips);
    // The caption as it is drawn at the frame's size.
    QString DisplayedCaption() const;
    Rgb ForeColor() const { return foreColor_; }
    void setForeColor(Rgb color);
    void setCaptionFont(const QFont& font);
    // A note at the caption's end, right-aligned where the caption may end (a time, say);
    // the title gives way to it. "" for none.
    QString Note() const { return note_; }
    void setNote(const QString& note);
    void setNoteFont(const QFont& font);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The caption laid out at the frame's size, worked out again only when what it depends
    // on changes: most repaints of the caption's line are of a control that touches it.
    struct Drawn {
        QStaticText caption, note;
        QRect captionBox, noteBox;
        QPoint captionAt, noteAt; // where each text's top left goes, centred in its box
    };
    const Drawn& drawn() const;
    void changed(); // lays the caption out afresh and repaints it
    int captionLeft() const;
    int captionEnd() const; // in pixels
    QRect noteBox() const;  // empty without a note
    mutable std::optional<Drawn> drawn_;
    QString head_, title_, tail_, note_;
    double captionEndTwips_ = 0;
    QFont captionFont_, noteFont_;
    Rgb foreColor_ = kBlack;
};

// A list with controls laid over its foot: its entries and scroll bars end above them, at
// every scale, and raising the list (to show it in front of its neighbours) keeps the foot's
// controls in front of it.
class FootedList : public QListView {
    Q_OBJECT
public:
    FootedList(double footTwips, QWidget* parent = nullptr);
    // The controls over the foot, raised in this order whenever the list is.
    void setFoot(const QList<QWidget*>& foot) { foot_ = foot; }
    // The foot's height, when the controls over it change.
    void setFootTwips(double twips);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    double footTwips_;
    QList<QWidget*> foot_;
};

} // namespace velmor
