#include "app/AudioSetupWindow.h"
#include "support/FakeOutputs.h"
#include "support/WindowTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace velmor;
using namespace velmor::test;

namespace {

// A window that keeps its audio set-up in a file of its own, its set-up window open.
struct AudioSetupWindowTest : ::testing::Test {
    QTemporaryDir dir;
    FakeOutputs outputs;
    QString setupFile = dir.filePath("audio.conf");
    TestWindow t{11520, true, [this](MainOptions& options) {
                     options.outputs = &outputs;
                     options.audioSetupFile = setupFile;
                 }};
    Main& w = t.w();
    FrmAudio* frm = nullptr;

    void SetUp() override {
        w.actions.forId("window.audio_setup")->call();
        frm = w.audioSetup.frmAudio();
        ASSERT_NE(frm, nullptr);
    }
    void choose(QComboBox* box, const QString& text) {
        box->setCurrentIndex(box->findText(text));
        emit box->activated(box->currentIndex());
    }
};

} // namespace

// A busy computer may break up the sound: the window says so under the latency.
TEST_F(AudioSetupWindowTest, TheSetUpActionOpensTheWindowWithTheLatencyAndThePriority) {
    EXPECT_TRUE(frm->isVisible());
    EXPECT_TRUE(frm->lblLatency->text().contains("23.2 ms"));
    EXPECT_TRUE(frm->lblLatency->text().endsWith(
        "\nAudio threads: normal priority (real-time was refused)"));
}

// A device that cannot be opened is told, and the choice that plays stays chosen and kept.
TEST_F(AudioSetupWindowTest, AChoiceTakesEffectAndIsKeptAndARefusedOneIsUndone) {
    const AudioSetup playing{"", PhonesRoute::Device, "quad", 512};
    choose(frm->cboBuffer, "512 frames");
    choose(frm->cboPhones, "quad");
    EXPECT_EQ(outputs.setup, playing);
    EXPECT_EQ(ReadAudioSetup(setupFile), playing);
    EXPECT_TRUE(t.reporter.empty());

    choose(frm->cboPhones, "refused");
    EXPECT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(frm->cboPhones->currentText(), "quad");
    EXPECT_EQ(ReadAudioSetup(setupFile), playing);
}

// The window shows how tracks are evened out; each change holds at once and is kept.
TEST_F(AudioSetupWindowTest, EachLevellingChoiceHoldsAndIsKept) {
    EXPECT_TRUE(frm->chkLoudness->isChecked());
    EXPECT_EQ(frm->spnTarget->value(), -18);
    EXPECT_TRUE(frm->chkSkipSilence->isChecked());

    frm->spnTarget->setValue(-23);
    EXPECT_EQ(w.knownTracks.levelling().target, -23.0);
    EXPECT_EQ(ReadLevelling(setupFile).target, -23.0);

    frm->chkSkipSilence->click();
    EXPECT_FALSE(w.knownTracks.levelling().skipSilence);
    EXPECT_FALSE(ReadLevelling(setupFile).skipSilence);

    frm->chkLoudness->click();
    EXPECT_FALSE(w.knownTracks.levelling().enabled);
    EXPECT_FALSE(ReadLevelling(setupFile).enabled);
    EXPECT_FALSE(frm->spnTarget->isEnabled());
}

TEST_F(AudioSetupWindowTest, TheLevellingKeptIsTheOneTheWindowStartsWith) {
    Levelling kept;
    kept.target = -15;
    ASSERT_TRUE(WriteLevelling(setupFile, kept));
    TestWindow again(11520, true, [this](MainOptions& options) {
        options.outputs = &outputs;
        options.audioSetupFile = setupFile;
    });
    EXPECT_EQ(again.w().knownTracks.levelling().target, -15.0);
}
