#include "deck/player/JingleSlots.h"
#include "common/FileNames.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;

// Names of any bytes, spaces, line ends and percent signs come back as they went.
TEST(JingleSlots, AWrittenFileReadsBackSlotForSlot) {
    QTemporaryDir dir;
    const QString file = dir.filePath("velmor/jingles.conf");
    QStringList files(12);
    files[0] = "/music/jingles/Air horn.wav";
    files[4] = "/music/100% party\nmix.mp3";
    files[11] = FileNameFromBytes("/music/caf\xe9.wav");
    ASSERT_TRUE(WriteJingleSlots(file, files));
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    int strange = -1;
    EXPECT_EQ(ReadJingleSlotsText(in.readAll(), 12, &strange), files);
    EXPECT_EQ(strange, 0);
}

TEST(JingleSlots, LinesNotUnderstoodAreCountedAndLeftOut) {
    int strange = 0;
    const QStringList files = ReadJingleSlotsText(
        "# a note\nF2 /a.wav\nF13 /b.wav\nG1 /c.wav\nF3\nrubbish\n", 12, &strange);
    EXPECT_EQ(files.value(1), "/a.wav");
    EXPECT_EQ(files.size(), 12);
    EXPECT_EQ(strange, 4);
}
