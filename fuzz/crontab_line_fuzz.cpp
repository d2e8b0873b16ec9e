// Fuzz target: the crontab line scan and the row format.
//
// 1. The input, up to its first NUL, is scanned as a line and compared with a
//    plain word split: six words, then the option from the next non-blank
//    byte to the first "\n", each cut as cp932_keep_length cuts a text for a
//    256-byte cell (never between the two bytes of a character). Every field
//    is terminated within its 256 bytes, and the scan that answers field
//    lengths gives each field's length before the cut.
// 2. The input split at NUL bytes gives six cells (minute, hour, day, month,
//    command, option). They are formatted as a line, read back through a
//    line reader as the loader reads a file, and scanned again. When the
//    cells hold no blanks (the option none at its start), the scan gives the
//    cells back, as the format promises: empty words as "-", CR and LF as
//    spaces, each cut after 255 bytes, and the weekday "*".
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"
#include "fuzz/fuzz_check.h"
#include "schedule/crontab_line.h"
#include "tests/support/memory_stream.h"

namespace {

constexpr std::size_t CELL_MAX = CELL_TEXT_SIZE - 1;

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool has_blank(std::string_view text)
{
    for (char c : text) {
        if (is_blank(c)) return true;
    }
    return false;
}

std::string_view field_text(const CellText& cell)
{
    const void* end = std::memchr(cell.data(), '\0', cell.size());
    FUZZ_CHECK(end != nullptr);
    return {cell.data(), static_cast<std::size_t>(static_cast<const char*>(end) - cell.data())};
}

std::array<std::string_view, 7> fields_of(const CrontabFields& f)
{
    return {field_text(f.minute),  field_text(f.hour),    field_text(f.day),   field_text(f.month),
            field_text(f.weekday), field_text(f.command), field_text(f.option)};
}

void check_scan(std::string_view line)
{
    std::array<std::string_view, 7> whole;  // each field before the cut
    int words = 0;
    std::size_t p = 0;
    for (; words < 6; ++words) {
        while (p < line.size() && is_blank(line[p])) ++p;
        if (p == line.size()) break;
        const std::size_t start = p;
        while (p < line.size() && !is_blank(line[p])) ++p;
        whole[static_cast<std::size_t>(words)] = line.substr(start, p - start);
    }
    int count = words;
    if (words == 6) {
        while (p < line.size() && is_blank(line[p])) ++p;
        if (p < line.size()) {
            const std::string_view rest = line.substr(p);
            whole[6] = rest.substr(0, rest.find('\n'));
            count = 7;
        }
    }

    const std::string text(line);
    CrontabFields fields, again;
    std::memset(&fields, 0x5A, sizeof fields);  // nothing may pass for a terminator
    std::memset(&again, 0x5A, sizeof again);
    CrontabFieldLengths lengths;
    lengths.fill(-1);
    FUZZ_CHECK(scan_crontab_line(text.c_str(), fields) == count);
    FUZZ_CHECK(scan_crontab_line(text.c_str(), again, lengths) == count);
    const auto got = fields_of(fields);
    const auto got_again = fields_of(again);
    for (std::size_t i = 0; i < got.size(); ++i) {
        FUZZ_CHECK(got[i] == whole[i].substr(0, cp932_keep_length(whole[i], CELL_TEXT_SIZE)));
        FUZZ_CHECK(got_again[i] == got[i]);
        FUZZ_CHECK(lengths[i] == static_cast<int>(whole[i].size()));
    }
}

// The cell as the format writes it.
std::string formatted_cell(std::string_view cell, bool is_word)
{
    std::string out(cell.substr(0, CELL_MAX));
    if (is_word && out.empty()) out = "-";
    for (char& c : out) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return out;
}

void check_round_trip(std::string_view input)
{
    std::array<std::string, 6> cells;  // minute, hour, day, month, command, option
    std::size_t cell = 0;
    for (char c : input) {
        if (c == '\0') {
            if (++cell == cells.size()) break;
        } else {
            cells[cell] += c;
        }
    }
    // The weekday slot is not written: the line always says "*".
    const CronEntry row{"7",
                        cells[3].c_str(),
                        cells[2].c_str(),
                        cells[1].c_str(),
                        cells[0].c_str(),
                        cells[4].c_str(),
                        cells[5].c_str()};

    CrontabLineText line;
    const int length = format_crontab_line(row, line);
    FUZZ_CHECK(length >= 2 && static_cast<std::size_t>(length) < line.size());
    FUZZ_CHECK(std::strlen(line.data()) == static_cast<std::size_t>(length));
    FUZZ_CHECK(line[length - 2] == '\r' && line[length - 1] == '\n');
    const std::string_view body(line.data(), static_cast<std::size_t>(length - 2));
    FUZZ_CHECK(body.find_first_of("\r\n") == std::string_view::npos);

    // Back through a line reader, as a saved file is loaded.
    MemoryStreamState state{{line.data(), static_cast<std::size_t>(length)}};
    Stream* stream = memory_stream_open(state);
    FUZZ_CHECK(stream != nullptr);
    LineReader* reader = reader_open(stream, READER_MODE_READ);
    FUZZ_CHECK(reader != nullptr);
    std::array<char, CRONTAB_LINE_SIZE> read_back;
    FUZZ_CHECK(read_crontab_line(reader, read_back) != nullptr);
    FUZZ_CHECK(std::string_view(read_back.data()) == std::string(body) + "\n");
    FUZZ_CHECK(read_crontab_line(reader, read_back) == nullptr);
    reader_close(reader);

    const std::string expected[7] = {formatted_cell(cells[0], true),
                                     formatted_cell(cells[1], true),
                                     formatted_cell(cells[2], true),
                                     formatted_cell(cells[3], true),
                                     "*",
                                     formatted_cell(cells[4], true),
                                     formatted_cell(cells[5], false)};
    std::string stored = std::string(body) + "\n";
    CrontabFields fields;
    const int count = scan_crontab_line(stored.c_str(), fields);
    check_scan(stored);  // the line is a line like any other
    for (int i = 0; i < 6; ++i) {
        if (has_blank(expected[i])) return;  // a blank splits a word: not a row the format keeps
    }
    if (!expected[6].empty() && is_blank(expected[6][0])) return;  // blanks before the option are dropped

    FUZZ_CHECK(count == (expected[6].empty() ? 6 : 7));
    const auto got = fields_of(fields);
    for (std::size_t i = 0; i < got.size(); ++i) FUZZ_CHECK(got[i] == expected[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check_scan(input.substr(0, input.find('\0')));
    check_round_trip(input);
    return 0;
}
