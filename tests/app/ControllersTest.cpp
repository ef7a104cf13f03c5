#include "app/AudioSetupWindow.h"
#include "support/FakeOutputs.h"
#include "support/MidiTestController.h"
#include "support/WindowTest.h"

#include <QFile>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>

// libjack keeps its metadata database (Berkeley DB) open for the process's life, and leaves
// what it took behind when the test's server and its shared memory are gone first.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libjack\nleak:libdb-5.3\n";
}

using namespace velmor;
using namespace velmor::test;

namespace {
using Note = MidiTestController::Note;

// The window with a controller "Fader Box" on a JACK server of the test's own, its mappings
// and its audio set-up in a folder of the test's own.
struct ControllersTest : ::testing::Test {
    JackServer jack;
    QTemporaryDir folder;
    FakeOutputs outputs;
    TestWindow t{11520, true, [this](MainOptions& options) {
                     options.outputs = &outputs;
                     options.audioSetupFile = folder.filePath("audio.conf");
                 }};
    Main& w = t.w();
    Controls& ui = w.ui;
    std::unique_ptr<MidiTestController> box;

    void SetUp() override { ASSERT_TRUE(jack.running()) << jack.error().toStdString(); }

    void map(const QString& text, const QString& file = "Fader Box:out.conf") {
        QFile out(folder.filePath(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
    }
    QString mapped(const QString& file = "Fader Box:out.conf") {
        QFile in(folder.filePath(file));
        return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
    }
    // Plugs the controller in and looks at the ports, as the second's look does.
    void plugIn() {
        box = std::make_unique<MidiTestController>();
        w.controllers.keepIn(folder.path(), folder.filePath("audio.conf"));
        w.controllers.ports().look();
        ASSERT_TRUE(w.controllers.ports().isOpen(box->port()));
    }
    bool lightSeen(const Note& light) {
        return QTest::qWaitFor([&] {
            const auto notes = box->received();
            return !notes.empty() && notes.back() == light;
        });
    }
};
} // namespace

// The volume stands at 100 and its fader at the bottom: it moves nothing until it reaches
// the volume. The crossfader's controller, in the middle where the crossfader stands, moves
// it from there.
TEST_F(ControllersTest, AFaderTakesOverWithoutAJumpAndTheCrossfaderFollowsItsController) {
    map("cc 1 7 = deck1.volume\ncc 1 8 = crossfader\n");
    plugIn();
    box->cc(1, 7, 0);
    box->cc(1, 8, 64);
    box->cc(1, 8, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.cross->value() == 0; }));
    EXPECT_EQ(ui.Volumen[0]->value(), 100);
    box->cc(1, 7, 127);
    box->cc(1, 7, 64);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.Volumen[0]->value() == 50; }));
    box->cc(1, 8, 127);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.cross->value() == 100; }));
}

// A broken line is told once, also when the controller comes again; the lines around it map.
TEST_F(ControllersTest, AControllerThatGoesIsToldOnceAndTakenBackWithItsLights) {
    map("note 1 36 = deck1.play_pause\nnote 1 37 = deck1.fly\nnote 1 38 = deck1.mute\n");
    t.open(0, "/music/1.mp3");
    plugIn();
    box->note(1, 36, 127);
    ASSERT_TRUE(lightSeen({1, 36, 127}));
    box->unplug();
    w.controllers.ports().look();
    w.controllers.ports().look();
    box->plugBack();
    box->forget();
    w.controllers.ports().look();
    EXPECT_TRUE(w.controllers.ports().isOpen(box->port()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->received().size() == 2; }));
    EXPECT_EQ(box->received(), (std::vector<Note>{{1, 36, 127}, {1, 38, 0}}));
    const QString file = folder.filePath("Fader Box:out.conf");
    EXPECT_EQ(t.reporter.notices,
              (std::vector<QString>{
                  file + ": line 2: there is no action \"deck1.fly\"; the other lines are used.",
                  "The controller \"Fader Box:out\" went away; Velmor takes it back when it is "
                  "plugged in again."}));
}

// A control mapped already says to what before it is mapped again, and No keeps it; a
// control learnt is written to the mappings any port reads, and acts at once.
TEST_F(ControllersTest, ALearntControlIsAskedAboutIfMappedAndIsWrittenAndActs) {
    map("note 1 36 = deck1.play_pause\n", "any.conf");
    t.open(1, "/music/2.mp3");
    plugIn();
    w.controllers.learn("deck1.mute");
    box->note(1, 36, 127);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.controllers.learning(); }));
    EXPECT_EQ(t.reporter.questions,
              (std::vector<QString>{"note 1 36 of \"Fader Box:out\" is mapped to "
                                    "deck1.play_pause. Map it to deck1.mute instead?"}));

    w.controllers.learn("deck2.play_pause");
    box->note(1, 40, 127);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.controllers.learning(); }));
    EXPECT_EQ(mapped("any.conf"),
              "note 1 36 = deck1.play_pause\nnote 1 40 = deck2.play_pause button\n");
    box->note(1, 40, 127);
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.player(1).PlayState() == MediaPlayer::Playing; }));
}

// Learn is pressed with the first action chosen, then a key picks its own action instead of
// playing; the port switched off is closed and kept switched off.
TEST_F(ControllersTest, TheSetUpWindowLearnsByAKeyAndSwitchesThePortOff) {
    map("");
    t.open(0, "/music/1.mp3");
    plugIn();
    w.actions.forId("window.audio_setup")->call();
    FrmAudio* frm = w.audioSetup.frmAudio();
    ASSERT_EQ(frm->lstPorts->count(), 1);
    QListWidgetItem* port = frm->lstPorts->item(0);
    EXPECT_EQ(port->text(), "Fader Box:out");
    EXPECT_EQ(port->checkState(), Qt::Checked);

    frm->cmdLearn->click();
    w.shortcuts.HandleShortcutKey('w');
    EXPECT_EQ(t.player(0).PlayState(), MediaPlayer::Stopped);
    box->note(1, 50, 127);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.controllers.learning(); }));
    EXPECT_EQ(mapped(), "note 1 50 = deck1.play_pause button\n");
    EXPECT_EQ(frm->lblLearn->text(), "Learnt: note 1 50 = deck1.play_pause button, in " +
                                         folder.filePath("Fader Box:out.conf") + ".");

    port->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(w.controllers.ports().isOpen("Fader Box:out"));
    const QSettings kept(folder.filePath("audio.conf"), QSettings::IniFormat);
    EXPECT_EQ(kept.value("controllers/off").toStringList(), QStringList{"Fader Box:out"});
}

TEST_F(ControllersTest, AControllerIsTakenBackWhenItsJackServerComesBack) {
    map("note 1 36 = deck1.play_pause\n");
    plugIn();
    box->serverGone();
    jack.stop();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        w.controllers.ports().look();
        return !w.controllers.ports().isOpen(box->port());
    }));
    jack.start();
    ASSERT_TRUE(jack.running()) << jack.error().toStdString();
    box->plugBack();
    w.controllers.ports().look();
    EXPECT_TRUE(w.controllers.ports().isOpen(box->port()));
    EXPECT_TRUE(lightSeen({1, 36, 0}));
}
