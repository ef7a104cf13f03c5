#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QSlider;

namespace velmor {

class ColorButton;
class LevelMeterBar;

// The jingles' window: the twelve slots in two rows of six (F1-F6, F7-F12), each lit while it
// plays; the jingles' level and meter, and the voice-over switch. Not modal. It has no
// behaviour of its own: the announcements wire it.
class FrmJingles : public QWidget {
public:
    static constexpr int kSlots = 12;
    FrmJingles(const QFont& font, const std::function<void(int slot, QString path)>& dropped);

    std::array<ColorButton*, kSlots> cmdJingle{};
    QSlider* sldJingles;
    LevelMeterBar* mtrJingles;
    ColorButton* cmdDuck;
};

} // namespace velmor
