#pragma once
// Cells the table gives back otherwise than written, one of each kind, and cells it keeps: the checker is run over a
// file of them natively with the model of code page 932 and under Wine with the system's conversion, and both must
// tell the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/check/crontab_check.h"
#include "tests/support/memory_stream.h"

struct TableTextCase {
    const char* option;  // of a System entry
    const char* held;    // what the table gives back; null when the same
    const char* codes;   // the characters that change, by their codes
    bool words_change;   // a blank is taken with them
};

inline const TableTextCase table_text_cases[] = {
    {"caf\xE9 menu.txt", "caf\x81\x45menu.txt", "E9 20 -> 81 45", true},  // Latin-1, then a blank
    {"a.txt \x81", "a.txt \x81\x45", "81 -> 81 45", false},               // a lone lead byte at the end
    {"x\x88\x7F.txt", "x\x81\x45.txt", "88 7F -> 81 45", false},          // a lead byte, no trail byte
    {"\xE8\xB5\xB7\xE5\x8B\x95.bat /q",
     "\xE8\xB5\xB7\xE5\x8B\x81\x45"
     "bat /q",
     "95 2E -> 81 45", false},  // UTF-8 起動
    {"\xE3\x81\x82\tb",
     "\xE3\x81\x81\x45"
     "b",
     "82 09 -> 81 45", true},  // UTF-8 あ, then a tab
    {"\x85\x40 \xEA\xA5 \xFC\x4C", "\x81\x45 \x81\x45 \x81\x45", "85 40 -> 81 45, EA A5 -> 81 45, FC 4C -> 81 45",
     false},                                                                            // unassigned codes
    {"\x87\x90\x87\x9B", "\x81\xE0\x81\xBF", "87 90 -> 81 E0, 87 9B -> 81 BF", false},  // NEC row 13 = JIS row 2
    {"\xED\x40\xEE\xEC\xEE\xEF\xEE\xF9\xEE\xFC", "\xFA\x5C\xFC\x4B\xFA\x40\x81\xCA\xFA\x57",
     "ED 40 -> FA 5C, EE EC -> FC 4B, EE EF -> FA 40, ...", false},  // NEC-selected IBM extensions
    {"\xFA\x4A\xFA\x54\xFA\x58\xFA\x5B", "\x87\x54\x81\xCA\x87\x8A\x81\xE6",
     "FA 4A -> 87 54, FA 54 -> 81 CA, FA 58 -> 87 8A, ...", false},  // IBM extensions kept by NEC or JIS
    // Kept: Roman numerals, IBM kanji, half-width katakana, user-defined, single bytes, kana.
    {"\x87\x54\xFA\x5C\xFC\x4B\xCA\xB2\xF0\x40\x80\xA0\xFD\x82\xA0.txt", nullptr, "", false},
};

// The report of a file holding one System entry per case, checked with `table_text`.
inline void expect_table_text_cases(Cp932TableText table_text)
{
    std::string file;
    for (const TableTextCase& c : table_text_cases) file += std::string("0 8 * * * System ") + c.option + "\n";
    MemoryStreamState state(file);
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    std::vector<LineCheck> checks;
    auto sink = [](const LineCheck& c, void* context) { static_cast<std::vector<LineCheck>*>(context)->push_back(c); };
    ClockTime from{};
    ASSERT_TRUE(make_clock_time(2024, 1, 1, 0, 0, from));
    const CheckTotals totals = check_crontab(reader, from, 0, sink, &checks, Language::ENGLISH, table_text);
    reader_close(reader);
    ASSERT_EQ(checks.size(), std::size(table_text_cases));
    int changed = 0;
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const TableTextCase& c = table_text_cases[i];
        SCOPED_TRACE(c.option);
        const LineCheck& check = checks[i];
        if (c.held == nullptr) {
            EXPECT_TRUE(check.warnings.empty()) << check.warnings[0].text;
            EXPECT_EQ(check.save, SaveEffect::SAME);
            continue;
        }
        ++changed;
        ASSERT_EQ(check.warnings.size(), 1u);
        EXPECT_EQ(check.warnings[0].field, CheckField::OPTION);
        const std::string& text = check.warnings[0].text;
        const std::string held = say(Language::ENGLISH, Message::CELL_HELD,
                                     {'"' + std::string(c.option) + '"', '"' + std::string(c.held) + '"', c.codes});
        EXPECT_EQ(text.substr(0, held.size()), held);
        // A blank taken with the bytes: the words after are the held cell, whole and quoted.
        const std::string words = text.substr(held.size());
        EXPECT_EQ(words.find('"' + std::string(c.held) + '"') != std::string::npos, c.words_change) << text;
        EXPECT_EQ(check.save, SaveEffect::CHANGED);
    }
    EXPECT_EQ(totals.save_changed, changed);
}
