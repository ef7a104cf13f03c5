#include "app/Help.h"
#include "common/Error.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QComboBox>
#include <QTemporaryDir>

using namespace velmor;
using namespace velmor::test;

namespace {

// Sound cards for the set-up window: a device named "refused" cannot be opened.
class FakeOutputs : public AudioOutputs {
public:
    QList<AudioDevice> Devices() override {
        return {{"card", 2, true}, {"quad", 4, false}, {"refused", 2, false}};
    }
    AudioSetup Setup() const override { return setup; }
    void setSetup(const AudioSetup& wanted) override {
        if (wanted.device == "refused" || wanted.phonesDevice == "refused")
            throw Error("The device \"refused\" could not be opened.");
        setup = wanted;
    }
    OutputsState State() override { return {"card", 0.0232, false, "", 0, false}; }
    void setHeadphoneLevel(int volume) override { level = volume; }
    void setCueMix(int mainShare) override { mix = mainShare; }

    AudioSetup setup;
    int level = -1, mix = -1;
};

struct PrelistenTest : ::testing::Test {
    QTemporaryDir dir;
    FakeOutputs outputs;
    QString file = dir.filePath("audio.conf");
    TestWindow t{11520, true, [this](MainOptions& options) {
                     options.outputs = &outputs;
                     options.audioSetupFile = file;
                 }};
    Main& w = t.w();
};

} // namespace

// The set-up key opens the window. A choice takes effect and is kept; a device that cannot be
// opened is told in a box, and the window and the file keep the choice that plays.
TEST_F(PrelistenTest, TheSetUpWindowOpensKeepsAndRefusesChoices) {
    w.shortcuts.HandleShortcutKey(Help::kAudioSetupKey);
    FrmAudio* frm = w.audioSetup.frmAudio();
    ASSERT_TRUE(frm && frm->isVisible());
    EXPECT_TRUE(frm->lblLatency->text().contains("23.2 ms"))
        << frm->lblLatency->text().toStdString();
    auto choose = [&](QComboBox* box, const QString& text) {
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    };
    choose(frm->cboBuffer, "512 frames");
    choose(frm->cboPhones, "quad");
    const AudioSetup playing{"", PhonesRoute::Device, "quad", 512};
    EXPECT_EQ(outputs.setup, playing);
    EXPECT_EQ(ReadAudioSetup(file), playing);
    EXPECT_TRUE(t.reporter.empty());

    // The master strip sets the headphones' level and blend.
    w.ui.sldPhones->setValue(40);
    w.ui.sldCueMix->setValue(100);
    EXPECT_EQ(outputs.level, 40);
    EXPECT_EQ(outputs.mix, 100);

    choose(frm->cboPhones, "refused");
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_TRUE(t.reporter.last().text.contains("refused"));
    EXPECT_EQ(frm->cboPhones->currentText(), "quad");
    EXPECT_EQ(ReadAudioSetup(file), playing);
}
