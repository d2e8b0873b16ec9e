#include "commands/wallpaper.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "commands/option_scanner.h"

namespace {

struct LayoutCase {
    std::vector<std::string> args;  // after argv0 "SetWP"
    int tile;
    int first_candidate;
    const char* stderr_text;
};

TEST(WallpaperLayout, the_last_layout_option_wins_and_options_end_at_the_first_candidate)
{
    const LayoutCase cases[] = {
        {{}, 1, 1, ""},
        {{"-c"}, 0, 2, ""},
        {{"-c", "-t", "a.bmp"}, 1, 3, ""},
        {{"-t", "-c", "a.bmp"}, 0, 3, ""},
        {{"-tc", "a.bmp"}, 1, 2, ""},
        {{"-c", "a.bmp", "-t"}, 0, 2, ""},
        {{"-x", "-c", "a.bmp"}, 0, 3, "SetWP: illigal option -- x\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> storage{"SetWP"};
        storage.insert(storage.end(), c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (auto& s : storage) {
            argv.push_back(s.data());
        }
        testing::internal::CaptureStderr();
        int tile = scan_layout_options(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.stderr_text);
        EXPECT_EQ(tile, c.tile) << storage.size();
        EXPECT_EQ(tavecron::optind, c.first_candidate) << storage.size();
    }
}

// Hands out a fixed sequence of draws and counts them.
struct ScriptedDraws {
    std::vector<int> values;
    std::size_t next = 0;

    static int draw(void* context)
    {
        auto self = static_cast<ScriptedDraws*>(context);
        return self->values.at(self->next++ % self->values.size());
    }
};

TEST(WallpaperPick, no_candidates_draw_nothing_and_one_candidate_is_always_chosen)
{
    ScriptedDraws draws{{32767, 5, 0, 12345}};
    EXPECT_EQ(choose_candidate(0, ScriptedDraws::draw, &draws), -1);
    EXPECT_EQ(draws.next, 0u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(choose_candidate(1, ScriptedDraws::draw, &draws), 0);
    }
}

TEST(WallpaperPick, every_candidate_is_reachable_beyond_8192)
{
    const int n = 10000;
    std::set<int> reached;
    for (int low = 0; low <= 32767; ++low) {
        ScriptedDraws draws{{0, low}};
        int index = choose_candidate(n, ScriptedDraws::draw, &draws);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, n);
        reached.insert(index);
    }
    EXPECT_EQ(reached.size(), static_cast<std::size_t>(n));

    // Beyond one draw's range, the high draw reaches the rest.
    ScriptedDraws far{{3, 1695}};
    EXPECT_EQ(choose_candidate(100000, ScriptedDraws::draw, &far), 99999);
}

TEST(WallpaperPick, draws_wider_than_15_bits_still_pick_inside_the_range)
{
    for (int n : {1, 7, 8193, 40000}) {
        ScriptedDraws draws{{0x7FFFFFFF, 0x7FFFFFFF}};
        int index = choose_candidate(n, ScriptedDraws::draw, &draws);
        EXPECT_GE(index, 0);
        EXPECT_LT(index, n);
    }
}

}  // namespace
