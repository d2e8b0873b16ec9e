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

bool looks_like_utf8_text(std::string_view text)
{
    bool multibyte = false;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int length = c < 0x80                 ? 1
                     : c >= 0xC2 && c <= 0xDF ? 2
                     : c >= 0xE0 && c <= 0xEF ? 3
                     : c >= 0xF0 && c <= 0xF4 ? 4
                                              : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return false;
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
        }
        multibyte = multibyte || length > 1;
        i += static_cast<std::size_t>(length);
    }
    if (!multibyte) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) continue;
        if (!cp932_is_lead(c) || i + 1 == text.size() || !cp932_is_trail(static_cast<unsigned char>(text[i + 1]))) {
            return true;  // a byte no Shift-JIS character starts or ends with, or a half-width katakana
        }
        ++i;
    }
    return false;
}
