#include "app/AudioSetupWindow.h"
#include "support/FakeOutputs.h"
#include "support/WindowTest.h"

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>

using namespace velmor;
using namespace velmor::test;

namespace {

// A window that keeps its audio set-up in a file of its own.
struct AudioSetupWindowTest : ::testing::Test {
    QTemporaryDir dir;
    FakeOutputs outputs;
    QString setupFile = dir.filePath("audio.conf");
    std::unique_ptr<TestWindow> start() {
        return std::make_unique<TestWindow>(11520, true, [this](MainOptions& options) {
            options.outputs = &outputs;
            options.audioSetupFile = setupFile;
        });
    }
};

} // namespace

// The set-up action opens the window. A choice takes effect and is kept; a device that cannot be
// opened is told in a box, and the window and the file keep the choice that plays.
TEST_F(AudioSetupWindowTest, OpensKeepsAndRefusesChoices) {
    auto t = start();
    Main& w = t->w();
    w.actions.forId("window.audio_setup")->call();
    FrmAudio* frm = w.audioSetup.frmAudio();
    ASSERT_NE(frm, nullptr);
    EXPECT_TRUE(frm->isVisible());
    EXPECT_TRUE(frm->lblLatency->text().contains("23.2 ms"));
    // A desktop that refuses real-time priority is told: a busy computer may break up the sound.
    EXPECT_TRUE(frm->lblLatency->text().endsWith(
        "\nAudio threads: normal priority (real-time was refused)"));
    const auto choose = [&](QComboBox* box, const QString& text) {
        box->setCurrentIndex(box->findText(text));
        emit box->activated(box->currentIndex());
    };
    choose(frm->cboBuffer, "512 frames");
    choose(frm->cboPhones, "quad");
    const AudioSetup playing{"", PhonesRoute::Device, "quad", 512};
    EXPECT_TRUE(outputs.setup == playing);
    EXPECT_TRUE(ReadAudioSetup(setupFile) == playing);
    EXPECT_TRUE(t->reporter.empty());
    // The master strip sets the headphones' level and blend.
    w.ui.sldPhones->setValue(40);
    w.ui.sldCueMix->setValue(100);
    EXPECT_EQ(outputs.level, 40);
    EXPECT_EQ(outputs.mix, 100);

    choose(frm->cboPhones, "refused");
    EXPECT_EQ(t->reporter.messages.size(), 1u);
    EXPECT_EQ(frm->cboPhones->currentText(), "quad");
    EXPECT_TRUE(ReadAudioSetup(setupFile) == playing);
}
