#include <gtest/gtest.h>

#include "import/SimilarNames.h"

namespace scorewell {
namespace {

TEST(SimilarNamesTest, SlipsOfTypingLookAlikeAndOtherDriversDoNot) {
    EXPECT_EQ(NameSkeleton("Zo\u00eb \u00d8deg\u00e5rd-Smith, Jr."), "zoeodegardsmithjr");
    for (auto [a, b] : {std::pair{"Zo\u00eb \u00d8deg\u00e5rd", "zoe odegard"},
                        {"Dale Earnhart", "Dale Earnhardt"},    // one letter left out
                        {"Soren Halverson", "Soren Halvorsen"}, // two letters swapped
                        {"J.D. McDuffie", "JD McDuffie"},       // punctuation
                        {"Rick Wilson", "Richard Wilson"}}) {   // surname and initial
        EXPECT_TRUE(NamesLookAlike(a, b)) << a << " / " << b;
    }
    for (auto [a, b] : {std::pair{"Dale Earnhardt", "DALE EARNHARDT"}, // the same name
                        {"Dale Earnhardt", "Dale Earnhardt Jr."},      // father and son
                        {"Ed Negre", "Ed Negri"},                      // short: 7 letters
                        {"Terry Labonte", "Bobby Labonte"}}) {
        EXPECT_FALSE(NamesLookAlike(a, b)) << a << " / " << b;
    }
}

TEST(SimilarNamesTest, NewNamesAreComparedWithKnownOnesAndEachOther) {
    const auto similar = FindSimilarNames({"Dale Earnhart", "Rusty Wallace", "Rusty Walace"},
                                          {"Dale Earnhardt", "Kenny Wallace"});
    ASSERT_EQ(similar.size(), 2u);
    EXPECT_EQ(similar[0].newName + "|" + similar[0].existingName, "Dale Earnhart|Dale Earnhardt");
    EXPECT_EQ(similar[1].newName + "|" + similar[1].existingName, "Rusty Walace|Rusty Wallace");
}

} // namespace
} // namespace scorewell
