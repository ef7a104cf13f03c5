#include "PlaylistFixture.h"

#include "common/Twips.h"
#include "common/Widgets.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/SavePanel.h"
#include "support/AsNobody.h"
#include "support/Failure.h"

#include <QObject>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct SavePanelTest : PlaylistFixture {
    QString music;
    void SetUp() override {
        music = folder("music");
        browse(music);
    }
    QList<QWidget*> locked() {
        QList<QWidget*> all{ui.cmdExpandir,   ui.cmdGuardarComo, ui.cmdBorrar,
                            ui.cmdBorrarTodo, ui.cmdOK,          ui.cmdOKCarpeta};
        for (QWidget* option : ui.optPla)
            all << option;
        return all;
    }
    bool panelOpen() {
        for (QWidget* control : locked())
            if (control->isEnabled())
                return false;
        return ui.dir->height() == TwipsToPixels(SavePanel::kDirOpen);
    }
    QStringList filesIn(const QString& path) const {
        return QDir(path).entryList(QDir::Files | QDir::Hidden);
    }
};

// Records the order in which widgets change their enabled state.
struct EnabledOrder : QObject {
    QList<QObject*> order;
    explicit EnabledOrder(const QList<QWidget*>& widgets) {
        for (QWidget* widget : widgets)
            widget->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange)
            order << watched;
        return false;
    }
};
} // namespace

TEST_F(SavePanelTest, AnEmptyActiveListIsReportedAndThePanelStaysClosed) {
    appendTracks(1, {"/m/a.mp3"});
    w.savePanel.cmdGuardarComo_Click();
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().text, "There aren't any files in the active list.");
    EXPECT_EQ(t.reporter.last().title, "Velmor");
    EXPECT_EQ(t.reporter.last().icon, Icon::None);
    EXPECT_TRUE(ui.cmdOK->isEnabled());
    EXPECT_EQ(ui.dir->height(), TwipsToPixels(SavePanel::kDirClosed));
}

TEST_F(SavePanelTest, OpeningAndCancellingLockAndUnlockInOrderAndMoveTheFolderList) {
    appendTracks(0, {"/m/a.mp3"});
    ui.txtNomArch->setText("kept");
    EnabledOrder seen(locked());
    w.savePanel.cmdGuardarComo_Click();
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(ui.dir->height(), TwipsToPixels(1215));
    w.savePanel.Command1_Click();
    for (QWidget* control : locked())
        EXPECT_TRUE(control->isEnabled());
    EXPECT_EQ(ui.dir->height(), TwipsToPixels(2115));
    EXPECT_EQ(ui.txtNomArch->text(), "kept");
    EXPECT_TRUE(filesIn(music).isEmpty());

    QList<QObject*> expected;
    for (QWidget* control : locked())
        expected << control;
    EXPECT_EQ(seen.order, expected + expected);
}

TEST_F(SavePanelTest, AForbiddenCharacterKeepsThePanelOpenWithTheNameSelected) {
    appendTracks(0, {"/m/a.mp3"});
    w.savePanel.cmdGuardarComo_Click();
    for (QChar bad : QStringLiteral("\\/:*?\"<>|")) {
        ui.txtNomArch->setText(QString("my") + bad + "list");
        ui.cmdOK->setFocus();
        w.savePanel.cmdGuardar_Click();
        EXPECT_EQ(t.reporter.last().text, "Invalid Filename.");
        EXPECT_EQ(t.reporter.last().icon, Icon::None);
        EXPECT_EQ(w.focusWidget(), ui.txtNomArch);
        EXPECT_EQ(ui.txtNomArch->selectedText(), ui.txtNomArch->text());
        EXPECT_TRUE(panelOpen());
    }
    EXPECT_EQ(t.reporter.messages.size(), 9u);
    EXPECT_TRUE(filesIn(music).isEmpty());
    EXPECT_TRUE(IsValidListName("  my list. #1 [ñ]"));
}

TEST_F(SavePanelTest, TracksOfTheSaveFolderAreWrittenBareAndComeBackTheSame) {
    for (const char* name : {"b.mp3", "a.mp3", "c.wav", "d.flac", "e.ogg"})
        file(QString("music/") + name);
    browse(music);
    w.browser.cmdOKCarpeta_Click();
    save("my.list");
    EXPECT_EQ(contents("music/my.list.m3u"), "a.mp3\r\nb.mp3\r\nc.wav\r\nd.flac\r\ne.ogg\r\n");
    // The panel closes, the folder list stops short of the buttons, the file shows up.
    for (QWidget* control : locked())
        EXPECT_TRUE(control->isEnabled());
    EXPECT_EQ(ui.dir->height(), TwipsToPixels(1890));
    EXPECT_TRUE(shownFiles().contains("my.list.m3u"));

    w.activation.fra_Click(1);
    add({"my.list.m3u"});
    EXPECT_EQ(entries(1), entries(0)); // every type, in order
    EXPECT_EQ(t.player(1).FileName(), music + "/a.mp3");
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(SavePanelTest, TracksOfOtherFoldersAreWrittenInFullCaseCounting) {
    const QString upper = folder("Music");
    appendTracks(0, {upper + "/a.mp3", music + "/b.mp3", "/far away/c.MP3"});
    save("");
    EXPECT_EQ(contents("music/.m3u"), (upper + "/a.mp3\r\nb.mp3\r\n/far away/c.MP3\r\n").toUtf8());

    w.activation.fra_Click(2);
    add({".m3u"});
    EXPECT_EQ(entries(2), entries(0));
}

TEST_F(SavePanelTest, SavingAgainReplacesTheFileAndWritesTheListAsItIsThen) {
    appendTracks(0, {music + "/a.mp3", music + "/b.mp3"});
    save("set");
    ui.lstPlay[0]->item(0)->setSelected(true);
    w.savePanel.cmdGuardarComo_Click();
    QTest::keyClick(ui.lstPlay[0], Qt::Key_Delete); // the list changes while the panel is open
    w.savePanel.cmdGuardar_Click();
    EXPECT_EQ(contents("music/set.m3u"), "b.mp3\r\n");
    EXPECT_EQ(filesIn(music), QStringList{"set.m3u"});
}

TEST_F(SavePanelTest, AFailedSaveIsReportedKeepsTheOldFileAndThePanelOpen) {
    t.open(1, "/elsewhere/x.mp3");
    t.playPause(1); // a box all the same: the user waits for the answer
    appendTracks(0, {music + "/a.mp3"});
    file("music/set.m3u", "old\r\n");
    folder("music/taken.m3u");

    // The file system refuses: the name is a folder's, or far too long.
    for (const QString& name : {QString("taken"), QString(300, 'x')}) {
        save(name);
        EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
        EXPECT_TRUE(t.reporter.last().text.contains(name));
        EXPECT_TRUE(panelOpen());
    }
    // A name the encoding cannot hold fails before the old file is touched.
    appendTracks(0, {music + "/bad" + QChar(0xD800) + ".mp3"});
    ui.txtNomArch->setText("set");
    w.savePanel.cmdGuardar_Click();
    EXPECT_EQ(t.reporter.messages.size(), 3u);
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(contents("music/set.m3u"), "old\r\n");
    EXPECT_EQ(filesIn(music), QStringList{"set.m3u"}); // no temporary file left behind
    EXPECT_TRUE(QFileInfo(tmp.filePath("music/taken.m3u")).isDir());

    w.savePanel.Command1_Click();
    EXPECT_TRUE(ui.cmdOK->isEnabled());
}

TEST_F(SavePanelTest, AReadOnlyFolderFailsCleanly) {
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    appendTracks(0, {music + "/a.mp3"});
    file("music/set.m3u", "old\r\n");
    QFile::setPermissions(music, QFile::ReadOwner | QFile::ExeOwner);
    save("set");
    QFile::setPermissions(music, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    EXPECT_TRUE(panelOpen());
    EXPECT_EQ(contents("music/set.m3u"), "old\r\n");
    EXPECT_EQ(filesIn(music), QStringList{"set.m3u"});
}

// The two refusals a save meets most, each said once in one sentence.
TEST_F(SavePanelTest, ASaveThatIsRefusedSaysWhyOnce) {
    const QString locked = folder("locked"), open = folder("open");
    file("open/kept.m3u", "old\r\n");
    const auto mode = [](const QString& path, mode_t bits) { chmod(qPrintable(path), bits); };
    mode(tmp.path(), 0755);
    mode(locked, 0555);
    mode(open, 0777);
    mode(open + "/kept.m3u", 0444);
    const std::pair<QString, QString> cases[] = {
        {locked + "/set.m3u", "the folder cannot be written"},
        {open + "/kept.m3u", "it is read-only"},
    };
    for (const auto& [path, cause] : cases)
        EXPECT_TRUE(HoldsAsNobody([&] {
            const QString said = FailureOf([&] { SavePlaylistFile(path, "new\r\n"); });
            return said == path + " cannot be saved: " + cause + ".";
        })) << path.toStdString();
    EXPECT_EQ(contents("open/kept.m3u"), "old\r\n");
}

TEST_F(SavePanelTest, ClickingTheNameBoxSelectsItAll) {
    ui.txtNomArch->setText("old name");
    ui.txtNomArch->setCursorPosition(3);
    w.savePanel.txtNomArch_Click();
    EXPECT_EQ(ui.txtNomArch->selectionStart(), 0);
    EXPECT_EQ(ui.txtNomArch->selectedText(), "old name");
}
