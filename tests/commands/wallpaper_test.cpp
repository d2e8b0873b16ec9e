#include "commands/wallpaper.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// Hands out the draws of `values` in turn.
int scripted(void* context)
{
    auto values = static_cast<std::vector<int>*>(context);
    int v = values->front();
    values->erase(values->begin());
    return v;
}

TEST(WallpaperRules, every_candidate_is_reachable_also_beyond_8192)
{
    std::vector<int> none;
    EXPECT_EQ(choose_candidate(0, scripted, &none), -1);  // draws nothing
    std::set<int> reached;
    for (int low = 0; low <= 32767; ++low) {
        std::vector<int> draws{0, low};
        int index = choose_candidate(10000, scripted, &draws);
        ASSERT_TRUE(index >= 0 && index < 10000);
        reached.insert(index);
    }
    EXPECT_EQ(reached.size(), 10000u);
    std::vector<int> far{3, 1695};
    EXPECT_EQ(choose_candidate(100000, scripted, &far), 99999);
    std::vector<int> wide{0x7FFFFFFF, 0x7FFFFFFF};  // a library generator wider than 15 bits
    int index = choose_candidate(40000, scripted, &wide);
    EXPECT_TRUE(index >= 0 && index < 40000);
}

}  // namespace
