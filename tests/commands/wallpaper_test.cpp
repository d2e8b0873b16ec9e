#include "commands/wallpaper.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "commands/option_scanner.h"

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

TEST(WallpaperRules, the_layout_is_tiled_unless_the_last_layout_option_is_c)
{
    // Arguments, tile (1) or centre (0), and the index of the first candidate; only a word's first letter counts.
    const std::tuple<std::vector<const char*>, int, int> cases[] = {
        {{"SetWP", "a.bmp"}, 1, 1},
        {{"SetWP"}, 1, 1},
        {{"SetWP", "-c", "a.bmp"}, 0, 2},
        {{"SetWP", "-c", "-t", "a.bmp"}, 1, 3},
        {{"SetWP", "-ct", "a.bmp", "-t"}, 0, 2},
    };
    for (const auto& [args, tile, first] : cases) {
        const int got = scan_layout_options(static_cast<int>(args.size()), const_cast<char* const*>(args.data()));
        EXPECT_EQ(std::pair(got, tavecron::optind), std::pair(tile, first)) << args.size() << " " << args.back();
    }
}

}  // namespace
