// The panel that saves the active deck's list as a playlist file.

#include "common/Widgets.h"
#include "legacy/Twips.h"
#include "playlist/MusicFolderTest.h"
#include "playlist/PlaylistFiles.h"

using namespace velmor;
using namespace velmor::test;

namespace {
// The browser in a folder "lists" holding "set.m3u"; deck 1's list holds "a.mp3" of that
// folder.
struct SavePanelTest : MusicFolderTest {
    QString lists = tmp.filePath("lists");
    void SetUp() override {
        MusicFolderTest::SetUp();
        file("lists/set.m3u", "old\r\n");
        browse(lists);
        list0.append({{"a.mp3", lists}});
    }
    void open() { w.savePanel.cmdGuardarComo_Click(); }
    void save(const QString& name) {
        ui.txtNomArch->setText(name);
        w.savePanel.cmdGuardar_Click();
    }
    // Open: the controls that would change the list locked, the folder list short.
    void expectOpen() {
        EXPECT_FALSE(ui.cmdOK->isEnabled());
        EXPECT_FALSE(ui.optPla[3]->isEnabled());
        EXPECT_EQ(ui.dir->height(), TwipsToPixels(SavePanel::kDirOpen));
    }
};
} // namespace

TEST_F(SavePanelTest, AnEmptyListIsNotSavedAndABoxSaysSoWhileADeckPlays) {
    t.open(1, "/elsewhere/x.mp3");
    t.playPause(1); // the user waits for the answer all the same
    w.activation.fra_Click(1);
    open();
    EXPECT_TRUE(ui.cmdOK->isEnabled()); // not opened
    ASSERT_EQ(t.reporter.messages.size(), size_t(1));
    EXPECT_EQ(t.reporter.last().text, "There aren't any files in the active list.");
}

// A character no file name may hold, or a name too long for a file: the panel stays open and
// says so, and the old file stays without a temporary file beside it.
TEST_F(SavePanelTest, ANameNoFileCanHaveIsRefused) {
    open();
    save("my:list");
    expectOpen();
    ASSERT_EQ(t.reporter.messages.size(), size_t(1));
    EXPECT_EQ(t.reporter.last().text, "Invalid Filename.");
    save(QString(300, 'x'));
    expectOpen();
    EXPECT_TRUE(t.reporter.last().text.contains(QString(300, 'x')));
    EXPECT_EQ(ReadPlaylistFile(lists + "/set.m3u"), "old\r\n");
    EXPECT_EQ(QDir(lists).entryList(QDir::Files | QDir::Hidden), QStringList{"set.m3u"});
}

TEST_F(SavePanelTest, ASaveReplacesTheOldFileClosesThePanelAndShowsTheFile) {
    open();
    save("my:list"); // refused first: the panel waits for a name that does
    save("set");
    EXPECT_EQ(ReadPlaylistFile(lists + "/set.m3u"), "a.mp3\r\n");
    EXPECT_TRUE(ui.cmdOK->isEnabled());
    EXPECT_EQ(ui.dir->height(), TwipsToPixels(SavePanel::kDirSaved));
    EXPECT_EQ(shownFiles(), QStringList{"set.m3u"});
}
