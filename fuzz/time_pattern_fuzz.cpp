// Fuzz target: time patterns and the due test.
//
// Input: ten bytes of clock values (minute, hour, day, month, weekday, each
// any 16-bit number), then five patterns separated by NUL bytes. Each pattern
// is parsed into a set that lies alone in a heap block of its own size, so a
// write for a value over 63 is caught, and compared with a parse that follows
// the pattern grammar step by step, which also tells how many bytes the
// grammar used; entry_is_due must agree with those sets.
#include <bitset>
#include <charconv>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "schedule/time_pattern.h"

namespace {

constexpr unsigned VALUE_COUNT = 64;

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the number at `at`; false when it is 64 or more, however long.
bool read_value(std::string_view text, std::size_t& at, unsigned& value)
{
    std::size_t end = at;
    while (end < text.size() && is_digit(text[end])) ++end;
    const auto [ptr, error] = std::from_chars(text.data() + at, text.data() + end, value);
    at = end;
    return error == std::errc{} && value < VALUE_COUNT;
}

struct Expected {
    std::bitset<VALUE_COUNT> set;
    std::size_t used;  // where the parse stopped: the bytes after it are ignored
};

Expected expected_parse(std::string_view text)
{
    std::bitset<VALUE_COUNT> set;
    std::size_t at = 0;
    auto next_is = [&](char c) { return at < text.size() && text[at] == c; };
    while (at < text.size()) {
        if (text[at] == '*') return {set.set(), at + 1};
        if (!is_digit(text[at])) {
            ++at;
            continue;
        }
        // A number that ends the parse without being added is not used.
        const std::size_t item = at;
        unsigned a = 0;
        if (!read_value(text, at, a)) return {set, item};
        if (!next_is('-')) {
            set.set(a);
            if (!next_is(',')) return {set, at};
            ++at;
            continue;
        }
        ++at;
        if (at == text.size() || !is_digit(text[at])) return {set, item};
        unsigned b = 0;
        if (!read_value(text, at, b)) return {set, item};
        for (unsigned v = a; v <= b; ++v) set.set(v);
        if (!next_is(',')) return {set, at};
        ++at;
    }
    return {set, at};
}

std::bitset<VALUE_COUNT> parsed_set(const std::string& text)
{
    auto set = std::make_unique<TimeFieldSet>();
    parse_time_field(text.c_str(), *set);
    std::bitset<VALUE_COUNT> members;
    for (unsigned v = 0; v < VALUE_COUNT; ++v) members[v] = time_set_contains(*set, static_cast<int>(v)) == 1;
    return members;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 10) return 0;
    unsigned short clock_values[5];
    for (int i = 0; i < 5; ++i) clock_values[i] = static_cast<unsigned short>(data[2 * i] | data[2 * i + 1] << 8);
    const std::string_view rest(reinterpret_cast<const char*>(data) + 10, size - 10);

    std::string patterns[5];  // minute, hour, day, month, weekday
    std::size_t field = 0;
    for (char c : rest) {
        if (c == '\0') {
            if (++field == 5) break;
        } else {
            patterns[field] += c;
        }
    }

    bool due = true;
    for (int i = 0; i < 5; ++i) {
        const std::bitset<VALUE_COUNT> set = parsed_set(patterns[i]);
        const Expected expected = expected_parse(patterns[i]);
        FUZZ_CHECK(set == expected.set);
        const int used = time_field_used_length(patterns[i].c_str());
        FUZZ_CHECK(used == static_cast<int>(expected.used));
        // The bytes after the used ones change nothing.
        FUZZ_CHECK(parsed_set(patterns[i].substr(0, expected.used)) == set);
        due = due && clock_values[i] < VALUE_COUNT && set[clock_values[i]];
    }

    ClockTime time{};
    time.wMinute = clock_values[0];
    time.wHour = clock_values[1];
    time.wDay = clock_values[2];
    time.wMonth = clock_values[3];
    time.wDayOfWeek = clock_values[4];
    const CronEntry entry{patterns[4].c_str(),
                          patterns[3].c_str(),
                          patterns[2].c_str(),
                          patterns[1].c_str(),
                          patterns[0].c_str(),
                          "NoAction",
                          ""};
    FUZZ_CHECK(entry_is_due(time, entry) == (due ? 1 : 0));

    // A null pattern reads as empty.
    auto set = std::make_unique<TimeFieldSet>();
    parse_time_field(nullptr, *set);
    for (int v = 0; v < static_cast<int>(VALUE_COUNT); ++v) FUZZ_CHECK(time_set_contains(*set, v) == 0);
    FUZZ_CHECK(time_field_used_length(nullptr) == 0);
    return 0;
}
