#include "base/cp932.h"

#include <iconv.h>

#include <string>

#include <gtest/gtest.h>

namespace {

// `text` from code page 932 to UTF-16 and back with glibc's converter; empty
// when it names no character.
std::string iconv_round_trip(const std::string& text)
{
    auto convert = [](const char* to, const char* from, std::string in) {
        iconv_t cd = iconv_open(to, from);
        std::string out(in.size() * 4 + 4, '\0');
        char* source = in.data();
        char* target = out.data();
        std::size_t left = in.size(), room = out.size();
        const bool ok = iconv(cd, &source, &left, &target, &room) != static_cast<std::size_t>(-1);
        iconv_close(cd);
        out.resize(ok ? out.size() - room : 0);
        return out;
    };
    const std::string wide = convert("UTF-16LE", "CP932", text);
    return wide.empty() ? "" : convert("CP932", "UTF-16LE", wide);
}

// Every two-byte code: an unassigned one comes back as "・", an assigned one
// as the code glibc's converter chooses for its character (the duplicates).
TEST(Cp932, the_table_gives_back_every_two_byte_code_as_the_code_page_converts_it)
{
    int differences = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!cp932_is_lead(static_cast<unsigned char>(lead)) || trail == 0x7F) continue;
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string converted = iconv_round_trip(code);
            const std::string expected = converted.empty() ? "\x81\x45" : converted;
            if (cp932_table_text(code) != expected && ++differences <= 10) {
                ADD_FAILURE() << std::hex << lead << " " << trail;
            }
        }
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
