#include "base/cp932.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(Cp932, a_long_text_is_cut_to_the_buffer_between_characters)
{
    const std::string x254(254, 'x'), a = "\x82\xa0";
    std::string pairs;  // trail bytes that look like lead bytes
    for (int i = 0; i < 150; ++i) pairs += "\x81\x81";
    const struct {
        std::string text;
        std::size_t size, kept;
    } cases[] = {
        {x254 + a + "y", 256, 254},
        {"x" + x254 + a, 257, 255},
        {x254.substr(1) + a + "y", 256, 255},
        {x254 + "\xb1y", 256, 255},
        {x254 + "\x82", 256, 255},
        {"x" + pairs, 256, 255},
        {pairs, 256, 254},
        {a, 2, 0},
        {"ab", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp932_keep_length(c.text, c.size), c.kept) << c.text.size() << " bytes into " << c.size;
    }
}

}  // namespace
