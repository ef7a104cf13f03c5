// From a controller's MIDI message to the deck's command given to its player (the engine's
// player puts it on the engine's command queue inside that call), over 1,000 presses of a
// note mapped to deck1.play_pause, against the same command started by the deck's key. The
// controller is a JACK client on a dummy server of the benchmark's own (a period of 64
// frames at 48 kHz); a second listener on its port notes when each message arrives, so that
// Velmor's share (arrival to command) is told apart from the transport's. Never run as a
// test.

#include "support/FakePlayer.h"
#include "support/MidiTestController.h"
#include "support/TestWindow.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <RtMidi.h>
#include <algorithm>
#include <atomic>
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

// Notes when each message reaches a port, as Velmor's own client does.
struct Ear {
    std::atomic<int> heard{0};
    std::atomic<Clock::rep> at{0};
    static void hear(double, std::vector<unsigned char>*, void* self) {
        auto* ear = static_cast<Ear*>(self);
        ear->at = Clock::now().time_since_epoch().count();
        ++ear->heard;
    }
    Clock::time_point last() const { return Clock::time_point(Clock::duration(at.load())); }
};

struct Spread {
    double median, p99, worst;
};
Spread SpreadOf(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back()};
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Times `press` until deck 1's player has been given its command, `count` times: from the
// press, and from the moment `ear` heard it (none without an ear).
struct Timings {
    std::vector<double> fromPress, fromArrival;
};
template <typename Press>
Timings Time(TimedPlayer& player, int count, Press press, const Ear* ear = nullptr) {
    Timings timings;
    for (int i = 0; i < count; ++i) {
        const int before = player.commands;
        const int heard = ear ? ear->heard.load() : 0;
        const auto sent = Clock::now();
        press();
        while (player.commands == before)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        // The listener hears it in the same period of the server, or misses it now and then.
        const auto listening = Clock::now() + std::chrono::milliseconds(50);
        while (ear && ear->heard == heard && Clock::now() < listening)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        timings.fromPress.push_back(Ms(player.commanded - sent));
        if (ear && ear->heard != heard)
            timings.fromArrival.push_back(Ms(player.commanded - ear->last()));
        QCoreApplication::processEvents(); // the player's notification
    }
    return timings;
}

void Print(const char* what, const std::vector<double>& ms) {
    const Spread s = SpreadOf(ms);
    std::printf("%s, %zu presses: median %.3f ms, 99%% %.3f ms, worst %.3f ms\n", what, ms.size(),
                s.median, s.p99, s.worst);
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
    Ear ear;
    RtMidiIn listener(RtMidi::UNIX_JACK, "Bench ear");
    for (unsigned i = 0; i < listener.getPortCount(); ++i)
        if (listener.getPortName(i) == box.port().toStdString())
            listener.openPort(i);
    listener.setCallback(&Ear::hear, &ear);

    constexpr int kCount = 1000;
    const Timings midi = Time(
        *player, kCount, [&] { box.note(1, 36, 127); }, &ear);
    const Timings key = Time(*player, kCount, [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, "w");
        QApplication::sendEvent(&t.w(), &press);
    });
    const double buffer = 256 * 1000.0 / 48000; // the engine's output buffer
    Print("MIDI note sent to deck command (with the JACK transport)", midi.fromPress);
    Print("MIDI note arrived to deck command (Velmor's share)", midi.fromArrival);
    Print("Key press to deck command", key.fromPress);
    const Spread m = SpreadOf(midi.fromArrival);
    std::printf("One output buffer (256 frames at 48 kHz): %.3f ms; Velmor's share, 99%% / "
                "buffer: %.2f, worst / buffer: %.2f; median against the key's: %.3f ms more\n",
                buffer, m.p99 / buffer, m.worst / buffer,
                m.median - SpreadOf(key.fromPress).median);
    return 0;
}
