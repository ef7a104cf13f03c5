// What is typed into the library's search box, as the search index's MATCH expression: each
// word a prefix, the search syntax in it plain text.

#include "library/SearchExpression.h"

#include <gtest/gtest.h>

using namespace velmor;

// Spaces around and between words count once; a word without a letter or a digit is left out;
// a quote typed is doubled; operators, column filters, stars and brackets are words like any
// other, inside their quotes.
TEST(SearchExpression, EachWordIsAQuotedPrefix) {
    const std::pair<const char*, const char*> cases[] = {
        {"beat mich", R"("beat"* "mich"*)"},
        {"  daft \t punk  ", R"("daft"* "punk"*)"},
        {"", ""},
        {"   ", ""},
        {"simon & garfunkel - live", R"("simon"* "garfunkel"* "live"*)"},
        {"* - ( )", ""},
        {R"(12" mix)", R"("12"""* "mix"*)"},
        {R"("love)", R"("""love"*)"},
        {"rock AND roll", R"("rock"* "AND"* "roll"*)"},
        {"NOT NEAR", R"("NOT"* "NEAR"*)"},
        {"artist:prince", R"("artist:prince"*)"},
        {"(take^on*", R"("(take^on*"*)"},
    };
    for (const auto& [typed, expression] : cases)
        EXPECT_EQ(SearchExpression(typed), expression) << typed;
}
