// From a controller's MIDI message to the deck's command given to its player (the engine's
// player puts it on the engine's command queue inside that call), over 1,000 presses of a
// note mapped to deck1.play_pause, against the same command started by the deck's key. The
// controller is a JACK client on a dummy server of the benchmark's own, whose period (64
// frames at 48 kHz) is the transport's share. Never run as a test.

#include "support/FakePlayer.h"
#include "support/MidiTestController.h"
#include "support/TestWindow.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace velmor;
using namespace velmor::test;
using Clock = std::chrono::steady_clock;

namespace {
// A player that notes when it is given a command.
class TimedPlayer : public FakePlayer {
public:
    using FakePlayer::FakePlayer;
    void Play() override {
        commanded = Clock::now();
        ++commands;
        FakePlayer::Play();
    }
    void Pause() override {
        commanded = Clock::now();
        ++commands;
        FakePlayer::Pause();
    }
    Clock::time_point commanded;
    int commands = 0;
};

struct Spread {
    double median, p99, worst;
};
Spread SpreadOf(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back()};
}

// Times `press` until deck 1's player has been given its command, `count` times.
template <typename Press> std::vector<double> Time(TimedPlayer& player, int count, Press press) {
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const int before = player.commands;
        const auto sent = Clock::now();
        press();
        while (player.commands == before)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        ms.push_back(std::chrono::duration<double, std::milli>(player.commanded - sent).count());
        QCoreApplication::processEvents(); // the player's notification
    }
    return ms;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    JackServer jack(64);
    if (!jack.running()) {
        std::fprintf(stderr, "%s\n", qPrintable(jack.error()));
        return 1;
    }
    QTemporaryDir folder;
    QFile mapping(folder.filePath("any.conf"));
    if (!mapping.open(QIODevice::WriteOnly) || mapping.write("note 1 36 = deck1.play_pause\n") < 0)
        return 1;
    mapping.close();

    TimedPlayer* player = nullptr;
    TestWindow t(11520, true, [&](MainOptions& options) {
        options.createPlayer = [&](int deck, QObject* parent) -> MediaPlayer* {
            auto* made = deck == 0 ? (player = new TimedPlayer(parent)) : new FakePlayer(parent);
            t.players[deck] = static_cast<FakePlayer*>(made);
            return made;
        };
    });
    t.open(0, "/music/1.mp3");
    MidiTestController box;
    t.w().controllers.keepIn(folder.path(), "");
    t.w().controllers.ports().look();

    constexpr int kCount = 1000;
    const std::vector<double> midi = Time(*player, kCount, [&] { box.note(1, 36, 127); });
    const std::vector<double> key = Time(*player, kCount, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, "w");
        QApplication::sendEvent(&t.w(), &press);
    });
    const double buffer = 256 * 1000.0 / 48000; // the engine's output buffer
    const Spread m = SpreadOf(midi);
    const Spread k = SpreadOf(key);
    std::printf("MIDI note to deck command, %d presses: median %.3f ms, 99%% %.3f ms, "
                "worst %.3f ms\n",
                kCount, m.median, m.p99, m.worst);
    std::printf("Key press to deck command, %d presses: median %.3f ms, 99%% %.3f ms, "
                "worst %.3f ms\n",
                kCount, k.median, k.p99, k.worst);
    std::printf("One output buffer (256 frames at 48 kHz): %.3f ms; MIDI 99%% / buffer %.2f, "
                "MIDI median / key median %.1f\n",
                buffer, m.p99 / buffer, m.median / k.median);
    return 0;
}
