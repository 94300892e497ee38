#include <gtest/gtest.h>

#include <algorithm>

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

}  // namespace
}  // namespace tandrel
