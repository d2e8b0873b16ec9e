// Fuzz target: how much of a code page 932 text fits a buffer.
//
// Input: two bytes of buffer size (0 to 1023), then the text, in a heap block
// of exactly its size. The kept length must fit the buffer with its
// terminator, keep a text that fits whole, and otherwise end on a character
// boundary of code page 932 (read from the start) as late as the room allows.
// The kept bytes are then copied, terminated, into a heap buffer of exactly
// the given size, as a caller does.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "base/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const std::size_t buffer_size = (data[0] | data[1] << 8) % 1024;
    const std::size_t length = size - 2;
    std::unique_ptr<char[]> bytes(new char[length]);
    if (length > 0) std::memcpy(bytes.get(), data + 2, length);
    const std::string_view text(bytes.get(), length);

    const std::size_t kept = cp932_keep_length(text, buffer_size);
    if (buffer_size == 0) {
        FUZZ_CHECK(kept == 0);
        return 0;
    }
    const std::size_t room = buffer_size - 1;
    if (text.size() <= room) {
        FUZZ_CHECK(kept == text.size());
    } else {
        // The character boundary at or before the room, found from the start.
        std::size_t boundary = 0;
        for (;;) {
            const auto byte = static_cast<unsigned char>(text[boundary]);
            const std::size_t width = cp932_is_lead(byte) ? 2 : 1;
            if (boundary + width > room) break;
            boundary += width;
        }
        FUZZ_CHECK(kept == boundary);
    }

    std::unique_ptr<char[]> cell(new char[buffer_size]);
    if (kept > 0) std::memcpy(cell.get(), text.data(), kept);
    cell[kept] = '\0';
    return 0;
}
