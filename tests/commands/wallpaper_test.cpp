#include "commands/wallpaper.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Picks among n candidates with the draws high and low, checking that exactly
// those two are drawn (none when there is nothing to pick).
int pick(int n, int high, int low)
{
    int draws[3] = {high, low, 0};  // the third counts the draws
    int index = choose_candidate(
        n, [](void* d) { return static_cast<int*>(d)[static_cast<int*>(d)[2]++ % 2]; }, draws);
    EXPECT_EQ(draws[2], n > 0 ? 2 : 0) << n;
    return index;
}

TEST(WallpaperRules, every_candidate_is_reachable_also_beyond_8192)
{
    EXPECT_EQ(pick(0, 1, 1), -1);
    std::set<int> reached;
    for (int low = 0; low <= 32767; ++low) reached.insert(pick(10000, 0, low));
    EXPECT_EQ(reached.size(), 10000u);
    EXPECT_EQ(*reached.begin(), 0);
    EXPECT_EQ(*reached.rbegin(), 9999);
    EXPECT_EQ(pick(100000, 3, 1695), 99999);
    // A library generator wider than 15 bits: only the low 15 of each draw count.
    EXPECT_EQ(pick(40000, 0x7FFFFFFF, 0x7FFFFFFF), ((1 << 30) - 1) % 40000);
}

}  // namespace
