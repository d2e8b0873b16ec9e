#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/minute_rule.h"

namespace {

TEST(MinuteRule, runs_one_pass_per_change_of_minute_and_none_on_the_first_tick)
{
    const std::tuple<const char*, std::vector<int>, std::vector<int>> cases[] = {
        {"first tick at minute 0", {0, 0}, {}},
        {"new minutes", {10, 10, 11, 11, 12, 14, 14}, {11, 12, 14}},
        {"through minute 0 of the next hour", {58, 59, 0, 1}, {59, 0, 1}},
        {"clock set back an hour, same minute value", {29, 30, 30, 30, 31}, {30, 31}},
        {"clock set to another minute", {5, 42, 42}, {42}},
    };
    for (const auto& [what, tick_minutes, pass_minutes] : cases) {
        std::vector<int> passes;
        int last_minute = -1;
        for (int minute : tick_minutes) {
            const MinuteStep step = next_minute_step(last_minute, minute);
            // The minute to note is the tick's own, whether a pass runs or not.
            EXPECT_EQ(step.last_minute, minute) << what;
            last_minute = step.last_minute;
            if (step.run_pass) passes.push_back(minute);
        }
        EXPECT_EQ(passes, pass_minutes) << what;
    }
}

}  // namespace
