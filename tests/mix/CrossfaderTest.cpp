#include "mix/Crossfader.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

using namespace velmor;
using namespace velmor::test;

namespace {

struct CrossfaderTest : WindowTest {
    int level(int d) { return t.player(d).Volume(); }
};

} // namespace

// Left of the middle deck A plays at its own setting and B is turned down in proportion;
// right of it the other way round.
TEST(CrossfadeVolumesTest, OneDeckAtItsOwnSettingTheOtherTurnedDownInProportion) {
    const std::tuple<int, int, int, int, int> cases[] = {
        // position, A's setting, B's setting: A's share, B's share
        {0, 100, 100, 100, 0},   {25, 100, 100, 100, 50}, {50, 100, 100, 100, 100},
        {51, 100, 100, 98, 100}, {75, 100, 100, 50, 100}, {100, 100, 100, 0, 100},
        {25, 70, 33, 70, 16}, // 16.5 to the even 16
        {60, 45, 80, 36, 80},
    };
    for (const auto& [position, a, b, wantA, wantB] : cases) {
        const CrossfadeVolumes got = CrossfadeVolumesAt(position, a, b);
        EXPECT_EQ(got.a, wantA) << "at " << position << " of " << a << " and " << b;
        EXPECT_EQ(got.b, wantB) << "at " << position << " of " << a << " and " << b;
    }
}

// The slider shares the level between the active deck and the next: at 25, deck 1 at its own
// volume 45 (-2475), deck 2 at half of its 100 (-2250). A value set by code applies like a
// move.
TEST_F(CrossfaderTest, SharesTheLevelOfTheActiveDeckAndTheNext) {
    ui.Volumen[0]->setValue(45);
    ui.cross->setValue(25);
    EXPECT_EQ(level(0), -2475);
    EXPECT_EQ(level(1), -2250);
    EXPECT_EQ(level(2), 0);
    EXPECT_EQ(level(3), 0);
}

// A drag applies the thumb's position: at the left, deck 4 at its own volume, deck 1 silent.
TEST_F(CrossfaderTest, ADragAppliesTheThumbsPosition) {
    w.activation.optPla_Click(3);
    ui.cross->setSliderDown(true);
    ui.cross->setSliderPosition(0);
    EXPECT_EQ(level(3), 0);
    EXPECT_EQ(level(0), -4500);
}

// Past the middle deck B is written first, so a failure there leaves deck A alone.
TEST_F(CrossfaderTest, AFailureOnDeckBLeavesDeckAAlone) {
    w.activation.optPla_Click(3);
    ui.cross->setValue(0);
    t.player(0).failures["Volume"] = "The device is gone";
    t.player(3).setVolume(-1000);
    ui.cross->setValue(80);
    EXPECT_EQ(level(3), -1000);
    EXPECT_EQ(t.reporter.told.size(), 1u);
}

// With auto focus on, the crossfader takes the focus under the mouse, and only then.
TEST_F(CrossfaderTest, TakesTheFocusUnderTheMouseOnlyWithAutoFocus) {
    activate();
    ui.Volumen[0]->setFocus();
    QTest::mouseMove(ui.cross);
    EXPECT_TRUE(ui.Volumen[0]->hasFocus());
    ui.chkFocus->setChecked(true);
    QTest::mouseMove(ui.cross, QPoint(5, 5));
    EXPECT_TRUE(ui.cross->hasFocus());
}
