#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "text/needleset.h"

namespace tandrel {
namespace {

std::vector<int> Found(const NeedleSet& set, std::string_view text) {
    std::vector<int> ids;
    set.Find(text, ids);
    std::sort(ids.begin(), ids.end());
    return ids;
}

TEST(NeedleSet, ReportsOverlappingAndNestedNeedlesOnceEach) {
    NeedleSet set;
    EXPECT_EQ(set.Add("he"), 0);
    EXPECT_EQ(set.Add("she"), 1);
    EXPECT_EQ(set.Add("hers"), 2);
    EXPECT_EQ(set.Add("he"), 0);  // an equal needle keeps its id
    EXPECT_EQ(set.Add(""), -1);
    EXPECT_EQ(set.Add("\xC0\xFF"), 3);  // every byte value is a character
    set.Build();
    EXPECT_EQ(set.size(), 4u);
    EXPECT_EQ(Found(set, "ushers"), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Found(set, "hehehe"), std::vector<int>{0});
    EXPECT_EQ(Found(set, "h\xC0\xFF"), std::vector<int>{3});
    EXPECT_TRUE(Found(set, "").empty());
    EXPECT_TRUE(Found(set, "hs").empty());
}

TEST(NeedleSet, AgreesWithPlainFindOnRandomTexts) {
    std::mt19937 rng(7);
    auto text = [&rng](std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + rng() % 3);
        return s;
    };
    for (int round = 0; round < 50; ++round) {
        NeedleSet set;
        std::vector<std::string> needles;
        for (int i = 0; i < 12; ++i) {
            std::string needle = text(1 + rng() % 4);
            if (set.Add(needle) == static_cast<int>(needles.size())) needles.push_back(needle);
        }
        set.Build();
        for (int t = 0; t < 20; ++t) {
            const std::string haystack = text(rng() % 12);
            std::vector<int> expected;
            for (std::size_t id = 0; id < needles.size(); ++id)
                if (haystack.find(needles[id]) != std::string::npos) expected.push_back(static_cast<int>(id));
            ASSERT_EQ(Found(set, haystack), expected) << haystack;
        }
    }
}

}  // namespace
}  // namespace tandrel
