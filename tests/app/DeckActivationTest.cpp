#include "common/Widgets.h"
#include "legacy/Colors.h"
#include "support/WindowTest.h"

#include <QLabel>

using namespace velmor;
using namespace velmor::test;

namespace {
struct DeckActivationTest : WindowTest {
    std::vector<bool> lit() const {
        std::vector<bool> circles;
        for (const Shape* circle : ui.selec)
            circles.push_back(circle->FillColor() == kLightBlue);
        return circles;
    }
};
} // namespace

// Choosing a deck, by its frame or its option (which calls the frame's click), lights only its
// circle and names the pair.
TEST_F(DeckActivationTest, ByItsFrame) {
    w.activation.fra_Click(3);
    EXPECT_EQ(w.activation.ActiveDeck(), 3);
    EXPECT_EQ(ui.lblCero->text(), "4");
    EXPECT_EQ(ui.lblUno->text(), "1");
    EXPECT_EQ(lit(), (std::vector<bool>{false, false, false, true}));
}
