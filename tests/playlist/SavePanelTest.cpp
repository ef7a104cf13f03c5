#include "PlaylistFixture.h"

#include "common/Twips.h"
#include "common/Widgets.h"
#include "playlist/PlaylistFiles.h"
#include "support/AsNobody.h"
#include "support/Failure.h"

#include <sys/stat.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct SavePanelTest : PlaylistFixture {
    QString music = folder("music");
    void SetUp() override { browse(music); }
    // Open: the controls that would change the list locked, the folder list short.
    bool panelOpen() {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 ui.cmdExpandir, ui.cmdGuardarComo, ui.cmdBorrar, ui.cmdBorrarTodo, ui.cmdOK,
                 ui.cmdOKCarpeta, ui.optPla[3]})
            if (control->isEnabled())
                return false;
        return ui.dir->height() == TwipsToPixels(SavePanel::kDirOpen);
    }
    QStringList filesIn(const QString& path) const {
        return QDir(path).entryList(QDir::Files | QDir::Hidden);
    }
};
} // namespace

TEST_F(SavePanelTest, ThePanelOpensOnlyOnAListAndRefusesForbiddenNamesUntilCancelled) {
    appendTracks(1, {"/m/a.mp3"});
    w.savePanel.cmdGuardarComo_Click(); // the active deck's list is empty
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().text, "There aren't any files in the active list.");
    EXPECT_FALSE(panelOpen());
    w.activation.fra_Click(1);
    w.savePanel.cmdGuardarComo_Click();
    for (QChar bad : QStringLiteral("\\/:*?\"<>|"))
        EXPECT_FALSE(IsValidListName(QString("my") + bad + "list")) << int(bad.unicode());
    EXPECT_TRUE(IsValidListName("  my list. #1 [ñ]"));
    ui.txtNomArch->setText("my:list");
    ui.cmdOK->setFocus();
    w.savePanel.cmdGuardar_Click();
    EXPECT_EQ(t.reporter.last().text, "Invalid Filename.");
    EXPECT_EQ(w.focusWidget(), ui.txtNomArch);
    EXPECT_EQ(ui.txtNomArch->selectedText(), "my:list");
    EXPECT_TRUE(panelOpen());
    ui.txtNomArch->setCursorPosition(3);
    w.savePanel.txtNomArch_Click(); // typing then replaces the old name
    EXPECT_EQ(ui.txtNomArch->selectionStart(), 0);
    EXPECT_EQ(ui.txtNomArch->selectedText(), "my:list");
    w.savePanel.Command1_Click();
    EXPECT_TRUE(ui.cmdOK->isEnabled() && ui.optPla[3]->isEnabled());
    EXPECT_EQ(ui.dir->height(), TwipsToPixels(SavePanel::kDirClosed));
    EXPECT_TRUE(filesIn(music).isEmpty());
}

TEST_F(SavePanelTest, AFailedSaveIsReportedAndKeepsTheOldFileAndThePanelOpen) {
    t.open(1, "/elsewhere/x.mp3");
    t.playPause(1); // a box all the same: the user waits for the answer
    file("music/set.m3u", "old\r\n");
    folder("music/taken.m3u");
    // A name the encoding cannot hold fails before the old file is touched.
    appendTracks(0, {music + "/bad" + QChar(0xD800) + ".mp3", music + "/a.mp3"});
    save("set");
    w.playlists.list(0).removeAt(0);
    // The file system refuses: the name is a folder's, or far too long.
    for (const QString& name : {QString("taken"), QString(300, 'x')}) {
        ui.txtNomArch->setText(name);
        w.savePanel.cmdGuardar_Click();
        EXPECT_TRUE(t.reporter.last().text.contains(name));
    }
    EXPECT_EQ(t.reporter.messages.size(), 3u);
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(contents("music/set.m3u"), "old\r\n");
    EXPECT_EQ(filesIn(music), QStringList{"set.m3u"}); // no temporary file left behind
    // Saved at last: the old file replaced, the panel closed, the file shown.
    ui.txtNomArch->setText("set");
    w.savePanel.cmdGuardar_Click();
    EXPECT_EQ(contents("music/set.m3u"), "a.mp3\r\n");
    EXPECT_EQ(filesIn(music), QStringList{"set.m3u"});
    EXPECT_EQ(ui.dir->height(), TwipsToPixels(SavePanel::kDirSaved));
    EXPECT_EQ(shownFiles(), QStringList{"set.m3u"});
}

// The two refusals a save meets most, each said once in one sentence, the old file kept.
TEST_F(SavePanelTest, ASaveThatIsRefusedSaysWhyOnce) {
    const QString locked = folder("locked"), open = folder("open");
    file("open/kept.m3u", "old\r\n");
    chmod(qPrintable(tmp.path()), 0755);
    chmod(qPrintable(locked), 0555);
    chmod(qPrintable(open), 0777);
    chmod(qPrintable(open + "/kept.m3u"), 0444);
    const std::pair<QString, QString> cases[] = {
        {locked + "/set.m3u", "the folder cannot be written"},
        {open + "/kept.m3u", "it is read-only"},
    };
    for (const auto& [path, cause] : cases)
        EXPECT_TRUE(HoldsAsNobody([&] {
            return FailureOf([&] { SavePlaylistFile(path, "new\r\n"); }) ==
                   path + " cannot be saved: " + cause + ".";
        })) << path.toStdString();
    EXPECT_EQ(contents("open/kept.m3u"), "old\r\n");
}
