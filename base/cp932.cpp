#include "base/cp932.h"

std::size_t cp932_keep_length(std::string_view text, std::size_t buffer_size)
{
    if (buffer_size == 0) return 0;
    const std::size_t room = buffer_size - 1;
    if (text.size() <= room) return text.size();
    std::size_t kept = 0;
    while (kept < room) {
        const std::size_t width = cp932_is_lead(static_cast<unsigned char>(text[kept])) ? 2 : 1;
        if (kept + width > room) break;
        kept += width;
    }
    return kept;
}
