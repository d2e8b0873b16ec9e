// Fuzz target: the cut of an edited cell's text.
//
// Input: a column byte (0 to 5), then the buffer's bytes, copied into a heap
// block of exactly that size, terminated or not. The cut may only turn the
// first space, and the first tab before it, into terminators, looking no
// further than the first terminator or the end of the block; for the option
// column nothing changes.
#include <cstdint>
#include <cstring>
#include <memory>

#include "app/edit_text_cut.h"
#include "fuzz/fuzz_check.h"
#include "schedule/cron_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const int column = data[0] % COLUMN_COUNT;
    const std::size_t length = size - 1;
    const char* const original = reinterpret_cast<const char*>(data) + 1;
    std::unique_ptr<char[]> text(new char[length]);
    if (length > 0) std::memcpy(text.get(), original, length);

    cut_edited_text(column, text.get(), length);

    // The text as written: up to its terminator, or the whole block.
    const void* nul = std::memchr(original, '\0', length);
    const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - original) : length;
    std::size_t cut = end;
    if (column != COL_OPTION) {
        for (std::size_t i = 0; i < end; ++i) {
            if (original[i] == ' ' || original[i] == '\t') {
                cut = i;
                break;
            }
        }
    }
    if (cut < end) FUZZ_CHECK(text[cut] == '\0');
    std::size_t changed = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == original[i]) continue;
        ++changed;
        FUZZ_CHECK(i >= cut && i < end && text[i] == '\0');
        FUZZ_CHECK(original[i] == ' ' || original[i] == '\t');
    }
    FUZZ_CHECK(changed <= 2);
    return 0;
}
