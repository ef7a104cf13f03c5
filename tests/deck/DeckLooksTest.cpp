#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "playlist/DeckPlaylist.h"
#include "support/Looks.h"
#include "support/WindowTest.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <functional>

using namespace velmor;
using namespace velmor::test;

namespace {
struct DeckLooksTest : WindowTest {
    // Every control the program enables and disables is drawn as it is.
    void expectDrawnAsTheyAre(const QString& after) {
        QList<QWidget*> controls{ui.cmdPlayPause[0],  ui.cmdStop[0],     ui.cmdSlowPlay[0],
                                 ui.cmdNormalPlay[0], ui.cmdFastPlay[0], ui.cmdUltraPlay[0],
                                 ui.cmdGuardarComo,   ui.cmdOK,          ui.cmdBorrar};
        for (QWidget* control : ui.optPla)
            controls << control;
        for (QWidget* control : controls)
            EXPECT_EQ(CaptionLooksEnabled(control), control->isEnabled())
                << qPrintable(control->toolTip()) << " after " << qPrintable(after);
    }
};
} // namespace

TEST_F(DeckLooksTest, ButtonsAreDrawnEnabledOrDisabledAsTheyAreAfterEveryChange) {
    w.playlists.list(0).append("a.mp3", "/music");
    const std::vector<std::pair<QString, std::function<void()>>> steps{
        {"start-up", [] {}},
        {"loading", [&] { t.open(0, "/music/a.mp3"); }},
        {"playing", [&] { t.playPause(0); }},
        {"pausing", [&] { t.playPause(0); }},
        {"stopping", [&] { w.transport.cmdStop_Click(0); }},
        {"150 %", [&] { ui.cmdFastPlay[0]->click(); }},
        {"50 %", [&] { ui.cmdSlowPlay[0]->click(); }},
        {"opening the save panel", [&] { ui.cmdGuardarComo->click(); }},
        {"cancelling it", [&] { ui.Command1->click(); }},
    };
    for (const auto& [what, step] : steps) {
        step();
        expectDrawnAsTheyAre(what);
    }
    // The states the steps went through, so that both looks were read.
    EXPECT_TRUE(ui.cmdPlayPause[0]->isEnabled());
    EXPECT_FALSE(ui.cmdStop[0]->isEnabled());
    EXPECT_FALSE(ui.cmdSlowPlay[0]->isEnabled());
}

TEST_F(DeckLooksTest, ALongTitleGivesWayInItsMiddleSoThatNumberAndLengthShow) {
    t.open(2, "/music/Short.mp3");
    EXPECT_EQ(ui.fra[2]->DisplayedCaption(), "3. Short 3:5");

    const QString title = QString("A long title ").repeated(8) + "and its end";
    t.open(2, "/music/" + title + ".mp3");
    EXPECT_EQ(ui.fra[2]->Caption(), "3. " + title + " 3:5");
    const QString shown = ui.fra[2]->DisplayedCaption();
    EXPECT_TRUE(shown.startsWith("3. A long")) << qPrintable(shown);
    EXPECT_TRUE(shown.endsWith("its end 3:5")) << qPrintable(shown);
    EXPECT_TRUE(shown.contains(QChar(0x2026)));

    // No ink of the caption where the level meter lies.
    QWidget* meter = ui.mtrLevel[2];
    meter->hide();
    const QImage frame = ui.fra[2]->grab().toImage();
    for (int y = 0; y <= meter->geometry().bottom() + 2; ++y)
        for (int x = meter->x(); x < frame.width(); ++x)
            ASSERT_GT(QColor(frame.pixel(x, y)).lightness(), 80) << x << "," << y;
}

TEST_F(DeckLooksTest, NamesInAnyScriptAreDrawnWithGlyphsOfTheirOwn) {
    const QString names = QString::fromUtf8("夜の曲 北京 한국어 Ελληνικά Кириллица Ñandú");
    QTextLayout layout(names, w.font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        for (const quint32 glyph : run.glyphIndexes()) {
            EXPECT_NE(glyph, 0u) << "a missing glyph, in "
                                 << qPrintable(run.rawFont().familyName());
            ++glyphs;
        }
    EXPECT_GE(glyphs, names.size() - 6);
}
