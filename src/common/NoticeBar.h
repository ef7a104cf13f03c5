#pragma once

#include <QLabel>

namespace velmor {

// A notice inside the window: a failure told without a box. It shows over whatever lies
// beneath it until the next notice replaces it or a click puts it away, and never takes the
// keyboard focus, so every key and click goes on working while it shows. A text longer than
// the bar holds makes it taller, upwards.
class NoticeBar : public QLabel {
    Q_OBJECT
public:
    explicit NoticeBar(QWidget* parent = nullptr);
    void tell(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void fitToText();
    QRectF design_; // in twips, as placed
};

} // namespace velmor
