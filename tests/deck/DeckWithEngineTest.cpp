#include "common/Widgets.h"
#include "playlist/DeckPlaylist.h"
#include "support/AudioFixtures.h"
#include "support/EngineWindow.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// The real window on the real engine, rendered offline: a deck plays its whole playlist by
// itself, one track after the other, and stops on the last.
TEST(DeckWithEngine, PlayOncePlaysTheWholeListInOrder) {
    constexpr int kRate = 48000;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList names{"First.wav", "Second.wav", "Third.wav"};
    for (const QString& name : names)
        WriteWav(dir.filePath(name).toStdString(), Tone(440, 1.5, kRate), kRate, 1);

    EngineWindow t(kRate);
    ASSERT_TRUE(t.loaded);
    Main& w = t.w();
    audio::OfflineOutput& driver = *t.driver;
    t.fill(0, names, dir.path());
    ASSERT_EQ(w.ui.fra[0]->Caption(), "1. First 0:1");

    w.transport.cmdPlayPause_Click(0);
    QStringList captions{w.ui.fra[0]->Caption()};
    // Ten seconds of audio at most for three tracks of one and a half.
    for (int block = 0; block < 100; ++block) {
        driver.render(kRate / 10);
        QCoreApplication::processEvents();
        if (captions.last() != w.ui.fra[0]->Caption())
            captions << w.ui.fra[0]->Caption();
        if (block > 5 && w.pla[0]->PlayState() == MediaPlayer::Stopped)
            break;
    }
    EXPECT_EQ(captions, (QStringList{"1. First 0:1", "1. Second 0:1", "1. Third 0:1"}));
    EXPECT_EQ(w.pla[0]->PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.pla[0]->FileName(), w.playlists.list(0).fullPath(2));
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
    EXPECT_EQ(w.ui.cmdPlayPause[0]->text(), ">");
    EXPECT_FALSE(w.ui.cmdStop[0]->isEnabled());
    EXPECT_TRUE(t.reporter.empty());
}
