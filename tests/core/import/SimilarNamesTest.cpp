#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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
                        {"Terry Labonte", "Bobby Labonte"},
                        {"Driver Number 12", "Driver Number 13"}}) { // numbers
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

// The index finds exactly the pairs that comparing every pair finds, in the same order, on names
// full of slips, suffixes and numbers.
TEST(SimilarNamesTest, TheIndexFindsWhatComparingEveryPairFinds) {
    const char* firsts[] = {"Dale", "Darrell", "Bobby", "Rusty", "Kenny", "Ricky", "Zoë", "Ned"};
    const char* lasts[] = {"Earnhardt", "Waltrip", "Allison", "Wallace",
                           "Rudd",      "Ødegård", "Jarrett", "Labonte"};
    const char* suffixes[] = {"", "", "", " Jr.", " II"};
    std::mt19937 random(7);
    auto pick = [&](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i) {
        std::string name = std::string(firsts[pick(8)]) + " " + lasts[pick(8)];
        for (int slips = pick(3); slips > 0; --slips) {
            const auto at = static_cast<std::size_t>(pick(static_cast<int>(name.size())));
            if (pick(2) == 0) {
                name.erase(at, 1);
            } else {
                name.insert(at, 1, "aeiorst"[pick(7)]);
            }
        }
        name += suffixes[pick(5)];
        if (pick(6) == 0) {
            name += " " + std::to_string(pick(30));
        }
        names.push_back(name);
    }
    const std::vector<std::string> known(names.begin(), names.begin() + 150);
    const std::vector<std::string> fresh(names.begin() + 150, names.end());
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        for (const auto& k : known) {
            if (NamesLookAlike(fresh[i], k)) {
                expected.push_back(fresh[i] + "|" + k);
            }
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (NamesLookAlike(fresh[i], fresh[j])) {
                expected.push_back(fresh[i] + "|" + fresh[j]);
            }
        }
    }
    std::vector<std::string> found;
    for (const auto& s : FindSimilarNames(fresh, known)) {
        found.push_back(s.newName + "|" + s.existingName);
    }
    EXPECT_GT(expected.size(), 200u);
    EXPECT_EQ(found, expected);

    // A file of twenty thousand numbered drivers: no pair, found without comparing every pair.
    std::vector<std::string> numbered;
    for (int i = 1; i <= 20000; ++i) {
        numbered.push_back("Driver Number " + std::to_string(i));
    }
    EXPECT_TRUE(FindSimilarNames(numbered, {"Driver Number"}).empty());
}

} // namespace
} // namespace scorewell
