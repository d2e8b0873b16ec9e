// The checker under Windows asks the system's code page 932 conversion what
// the table gives back; natively it asks the model. Both must agree.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "base/cp932.h"
#include "base/win32/cp932_system.h"

namespace {

// Every byte alone and every pair starting with a byte above 0x7F, alone and
// before a blank: the model gives back what the system does.
TEST(CheckRoundTrip, the_model_matches_the_system_conversion_for_every_byte_and_pair)
{
    int differences = 0;
    for (int first = 1; first <= 0xFF; ++first) {
        for (int second = first < 0x80 ? 0 : 1; second <= 0xFF; ++second) {
            std::string text(1, static_cast<char>(first));
            if (second > 0) text += static_cast<char>(second);
            for (const std::string& probe : {text, text + " x"}) {
                const std::string system = cp932_system_table_text(probe), model = cp932_table_text(probe);
                if (system != model && ++differences <= 10) {
                    ADD_FAILURE() << std::hex << first << " " << second << ": system " << system.size() << " bytes "
                                  << (system.empty() ? 0 : static_cast<unsigned char>(system[0])) << " "
                                  << (system.size() < 2 ? 0 : static_cast<unsigned char>(system[1]));
                }
            }
        }
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
