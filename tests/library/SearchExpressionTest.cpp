// What is typed into the library's search box, as the search index's MATCH expression: each
// word a prefix, the search syntax in it plain text.

#include "library/SearchExpression.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(SearchExpression, EachWordIsAQuotedPrefix) {
    EXPECT_EQ(SearchExpression("beat mich"), R"("beat"* "mich"*)");
}

TEST(SearchExpression, SpacesAroundAndBetweenWordsCountOnce) {
    EXPECT_EQ(SearchExpression("  daft \t punk  "), R"("daft"* "punk"*)");
}

TEST(SearchExpression, NothingTypedIsNothingToSearch) {
    EXPECT_EQ(SearchExpression(""), "");
    EXPECT_EQ(SearchExpression("   "), "");
}

TEST(SearchExpression, WordsWithoutLetterOrDigitAreLeftOut) {
    EXPECT_EQ(SearchExpression("simon & garfunkel - live"), R"("simon"* "garfunkel"* "live"*)");
    EXPECT_EQ(SearchExpression("* - ( )"), "");
}

TEST(SearchExpression, QuotesTypedAreDoubled) {
    EXPECT_EQ(SearchExpression(R"(12" mix)"), R"("12"""* "mix"*)");
    EXPECT_EQ(SearchExpression(R"("love)"), R"("""love"*)");
}

TEST(SearchExpression, OperatorsAreWordsLikeAnyOther) {
    EXPECT_EQ(SearchExpression("rock AND roll"), R"("rock"* "AND"* "roll"*)");
    EXPECT_EQ(SearchExpression("NOT NEAR"), R"("NOT"* "NEAR"*)");
}

TEST(SearchExpression, ColumnFiltersStarsAndBracketsStayInsideTheirWord) {
    EXPECT_EQ(SearchExpression("artist:prince"), R"("artist:prince"*)");
    EXPECT_EQ(SearchExpression("(take^on*"), R"("(take^on*"*)");
}
