// Ctrl+R records the main output into the recording folder.

#include "audio/MasterRecorder.h"
#include "support/EngineWindow.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sndfile.h>

using namespace velmor;
using namespace velmor::test;

namespace {

struct RecordingTest : ::testing::Test {
    // The frames the file at `path` holds.
    static sf_count_t FramesOf(const QString& path) {
        SF_INFO info{};
        SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
        if (!file)
            return -1;
        sf_close(file);
        return info.frames;
    }
    void pressCtrlR() {
        w.actions.forKeys(QKeyCombination(Qt::ControlModifier, Qt::Key_R))->call();
    }

    QTemporaryDir dir;
    QString folder = dir.filePath("Music/Velmor");
    EngineWindow t{48000, 256, [this](MainOptions& options) {
                       options.recordingFolder = folder;
                       options.clock = [] { return QDateTime(QDate(2026, 12, 8), QTime(9, 4, 5)); };
                   }};
    Main& w = t.w();
};

} // namespace

// The folder is made; the file is named for when the recording started and holds what the
// output played until the second press; the window shows the recording meanwhile.
TEST_F(RecordingTest, CtrlRRecordsIntoADatedFileUntilPressedAgain) {
    pressCtrlR();
    EXPECT_TRUE(w.recording.recording());
    EXPECT_FALSE(w.ui.lblRecording->isHidden());
    EXPECT_EQ(w.ui.lblRecording->text(), "\u25cf REC 0:00:00 \u00b7 0 MB");
    t.driver->render(48000);
    pressCtrlR();

    const QString file = folder + "/Velmor 2026-12-08 09-04-05.flac";
    EXPECT_EQ(FramesOf(file), 48000);
    EXPECT_FALSE(w.recording.recording());
    EXPECT_TRUE(w.ui.lblRecording->isHidden());
    EXPECT_TRUE(t.reporter.told.empty());
}

// A recording folder that cannot be made (a file stands in its way) is told in a box at the
// start, and nothing records.
TEST_F(RecordingTest, AFolderThatCannotBeMadeIsToldAtTheStart) {
    QFile standing(dir.filePath("Music"));
    ASSERT_TRUE(standing.open(QIODevice::WriteOnly));
    pressCtrlR();

    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.messages[0].text, "The recording folder " + folder + " cannot be made.");
    EXPECT_EQ(t.reporter.messages[0].icon, Icon::Exclamation);
    EXPECT_FALSE(w.recording.recording());
    EXPECT_FALSE(t.engine->recorder().status().recording);
    EXPECT_TRUE(w.ui.lblRecording->isHidden());
}

TEST(RecordingTextTest, ShowsHoursMinutesSecondsAndMegabytes) {
    EXPECT_EQ(RecordingText(754.9, 84'300'000), "\u25cf REC 0:12:34 \u00b7 84 MB");
    EXPECT_EQ(RecordingText(5 * 3600 + 61, 2'100'000'000), "\u25cf REC 5:01:01 \u00b7 2100 MB");
}
