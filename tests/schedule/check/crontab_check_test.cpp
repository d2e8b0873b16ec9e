#include "schedule/check/crontab_check.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <fstream>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "schedule/check/check_agenda.h"
#include "schedule/check/check_disk.h"
#include "tests/support/memory_stream.h"

namespace {

ClockTime at(int year, int month, int day, int hour, int minute)
{
    ClockTime t{};
    EXPECT_TRUE(make_clock_time(year, month, day, hour, minute, t));
    return t;
}

std::string text_of(const ClockTime& t)
{
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
    return s;
}

// One line each: the line, its notes and warnings with those of the disk check without a disk ("note field: ..."
// first, then "field: key parts of the text", the parts apart by " ~ " and found in that order), its next three runs
// from the start, and the start.
struct LineCase {
    std::string line;
    std::vector<std::string> warnings, runs;
    ClockTime from = at(2024, 1, 31, 12, 0);
};

void expect_line_reports(const std::vector<LineCase>& cases)
{
    for (const auto& [line, warnings, runs, from] : cases) {
        SCOPED_TRACE(line);
        LineCheck check;
        check_crontab_line(line.c_str(), static_cast<int>(line.size()), 7, 0, from, 3, check);
        const int before = static_cast<int>(check.warnings.size());
        const int added = check_on_disk(check, nullptr, Language::ENGLISH);
        EXPECT_EQ(before + added, static_cast<int>(check.warnings.size()));
        std::vector<std::pair<std::string, std::string>> said;
        for (const CheckWarning& n : check.notes) {
            said.emplace_back(std::string("note ") + check_field_name(n.field), n.text);
        }
        for (const CheckWarning& w : check.warnings) said.emplace_back(check_field_name(w.field), w.text);
        ASSERT_EQ(said.size(), warnings.size());
        for (std::size_t i = 0; i < said.size(); ++i) {
            const std::string field = warnings[i].substr(0, warnings[i].find(':'));
            EXPECT_EQ(said[i].first, field) << i;
            std::size_t at = 0;
            for (std::size_t part = field.size() + 2, end = 0; end != std::string::npos; part = end + 3) {
                end = warnings[i].find(" ~ ", part);
                at = said[i].second.find(warnings[i].substr(part, end - part), at);
                ASSERT_NE(at, std::string::npos) << said[i].second << " lacks " << warnings[i].substr(part, end - part);
            }
        }
        std::vector<std::string> found;
        for (const ClockTime& t : check.runs) found.push_back(text_of(t));
        EXPECT_EQ(found, runs);
    }
}

TEST(CrontabCheckLine, each_surprise_gets_its_warnings_and_next_runs)
{
    const std::vector<std::string> noon = {"2024-01-31 12:00", "2024-02-01 12:00", "2024-02-02 12:00"},
                                   midnight = {"2024-02-01 00:00", "2024-02-02 00:00", "2024-02-03 00:00"},
                                   half_past_seven = {"2024-02-01 07:30", "2024-02-02 07:30", "2024-02-03 07:30"};
    expect_line_reports({
        {"0 0 29 2 * SetWP x.bmp", {}, {"2024-02-29 00:00", "2028-02-29 00:00"}},
        // 2100 is no leap year, so the next 29 February, in 2104, lies past the horizon.
        {"0 0 29 2 * NoAction", {"day: no run within 5 years: the next date"}, {}, at(2097, 3, 1, 0, 0)},
        {"* * * * * NoAction", {}, {"9999-12-31 23:58", "9999-12-31 23:59"}, at(9999, 12, 31, 23, 58)},
        {"*/15 * * * * NoAction",
         {"minute: \"/15\" after \"*\" ~ no steps ~ every minute"},
         {"2024-01-31 12:00", "2024-01-31 12:01", "2024-01-31 12:02"}},
        {"0-64 * * * * NoAction", {"minute: \"0-64\" is ignored"}, {}},
        {"5x,10 1-3/2 * * * NoAction",
         {"minute: \"x,10\" after \"5\" ~ ends the list ~ minute 5", "hour: \"/2\" after \"1-3\" is ignored"},
         {"2024-02-01 01:05", "2024-02-01 02:05", "2024-02-01 03:05"}},
        {"x5 -5 10-5,7 * * NoAction",
         {"minute: \"x\" before \"5\" is skipped ~ minute 5", "hour: \"-\" before \"5\" is skipped",
          "day: \"10-5\" runs backward ~ day 7"},
         {"2024-02-07 05:05", "2024-03-07 05:05", "2024-04-07 05:05"}},
        {"0 12 * * * system a", {"command: did you mean \"System\""}, noon},
        {"0 0 30 2 * NoAction", {"day: day \"30\" and month \"2\" never meet (no such date)"}, {}},
        {"60 24 0,32-33 0,13 * Foo",
         {"minute: 60 can never", "hour: 24 can never ~ 0-23", "day: 0,32,33 can never", "month: 0,13 can never",
          "command: \"Foo\" is not a command"},
         {}},
        // A month of exactly 0 switches an entry off, as the guide says; other never-matching values stay warnings.
        {"0-63 * * 0 * NoAction", {"note month: switched off (month 0)"}, {}},
        {"0 0 * 00 * NoAction", {"month: 0 can never occur ~ 1-12"}, {}},
        // A "#" line gets one warning that says whether it runs, whatever its fields say (no note either).
        {"#0 12 * 0 * NoAction", {"line: \"#\" does not comment out ~ never runs"}, {}},
        {"#30 7 * * 1 System alarm.wav", {"line: entry that runs, next at 2024-02-01 07:30 Thu"}, half_past_seven},
        {"#30 7 * * * alarm.wav", {"line: is due next at 2024-02-01 07:30 Thu but runs nothing"}, half_past_seven},
        // Ranges past a field's top match up to the top only.
        {"58-63x 22-25x * * * NoAction",
         {"minute: \"x\" after \"58-63\" ~ minutes 58,59", "minute: 60-63 can never ~ 0-59",
          "hour: \"x\" after \"22-25\" ~ hours 22,23", "hour: 24,25 can never ~ 0-23"},
         {"2024-01-31 22:58", "2024-01-31 22:59", "2024-01-31 23:58"}},
        // A field is kept up to 255 bytes.
        {"0 0 * * * System " + std::string(255, 'x'), {}, midnight},
        {"0 0 * * * System " + std::string(256, 'x'), {"option: 256 bytes ~ first 255"}, midnight},
        // Lines written for another cron: an "@" word no cron knows, variables, a user name.
        {"@every5m NoAction", {"line: \"@every5m\" is not a schedule TaveCron knows: the line adds no row"}, {}},
        {"MAILTO=root", {"line: \"MAILTO=root\" sets a variable ~ no variables"}, {}},
        {"PATH = /usr/bin:/bin", {"line: \"PATH = /usr/bin:/bin\" sets a variable"}, {}},
        {"0 0 1 2 * root System a",
         {"command: \"root\" is not a command ~ the sixth word"},
         {"2024-02-01 00:00", "2025-02-01 00:00", "2026-02-01 00:00"}},
        {"1=2 8 * * *", {}, {}},
        // Full-width digits, signs and blanks (code page 932, as an input method's full-width mode types them)
        // get the half-width text to type; a two-byte character whose second byte is 0x82 is none of them.
        {"\x82\x4f \x82\x55 * * * System x",
         {"minute: \"\x82\x4f\" ~ full-width ~ type \"0\"", "hour: type \"6\"", "minute: matches no minute",
          "hour: matches no hour"},
         {}},
        {"0\x81\x40"
         "23 * * * \x82\x4f\x81\x7c\x82\x58\x81\x43\x81\x96 System x",
         {"minute: type \"0 23\"", "weekday: type \"0-9,*\"",
          "minute: \"\x81\x40"
          "23\" after \"0\" is ignored",
          "weekday: is ignored"},
         {"2024-01-31 12:00", "2024-01-31 13:00", "2024-01-31 14:00"}},
        {"\x82\x4f\x81\x40\x82\x55\x81\x40\x81\x96 System x", {"line: type \"0 6 *\""}, {}},
        {"0 12 * * \x83\x82\x4f System x", {"weekday: is ignored"}, noon},
        // Without a disk (the native checker) only the quote mark that the split at the first blank cuts is told,
        // with the form that works; a quoted first word that holds no blank and other commands are not.
        {"0 0 * * * System \"C:\\Program Files\\App\\app.exe\" -x",
         {"option: asks the shell for \"C:\\Program, quote mark included, which starts nothing; write cmd.exe /c start "
          "\"\" \"C:\\Program Files\\App\\app.exe\" -x"},
         midnight},
        {"0 0 * * * System \"C:\\Tools\\app.exe",
         {"option: asks the shell for \"C:\\Tools\\app.exe, quote mark"},
         midnight},
        {"0 0 * * * System \" x", {"option: asks the shell for \","}, midnight},
        {"0 0 * * * System \"notepad.exe\" memo.txt", {}, midnight},
        {"0 0 * * * SetWP \"C:\\my pictures\\x.bmp\"", {}, midnight},
        {"0 0 * * * NoAction \"C:\\a b\"", {}, midnight},
    });
}

// "@" before a number is skipped like any other leading byte.
TEST(CrontabCheckVerdicts, a_row_said_not_to_run_lists_no_run_and_a_row_that_runs_says_when)
{
    expect_line_reports({
        {"@5 * * * * System notepad.exe",
         {"line: \"@5\" is not a schedule TaveCron knows, but its row runs: \"@\" is skipped, so it runs at minute 5, "
          "every hour; next at 2024-01-31 12:05 Wed"},
         {"2024-01-31 12:05", "2024-01-31 13:05", "2024-01-31 14:05"}},
        {"@every5m 1-3 * * * notepad.exe",
         {"line: \"@every\" is skipped, so its row is due at minute 5, hours 1-3, every day, next at 2024-02-01 01:05 "
          "Thu, but runs nothing (\"notepad.exe\" is not a command)"},
         {"2024-02-01 01:05", "2024-02-01 02:05", "2024-02-01 03:05"}},
        {"@*/10 * 1 * * NoAction",
         {"line: so it runs at every minute, every hour, day 1, every month"},
         {"2024-02-01 00:00", "2024-02-01 00:01", "2024-02-01 00:02"}},
        {"@5 0 29 2 * NoAction",
         {"line: \"@5\" is not a schedule TaveCron knows: its row does not run within 5 years"},
         {},
         at(2097, 3, 1, 0, 0)},
        {"@5 0 30 2 * NoAction", {"line: \"@5\" is not a schedule TaveCron knows: its row never runs"}, {}},
    });
}

// The line adds no row, or its row never runs (six words or more); the entry to write is the word's five fields, then
// the rest of the line as written (inner blanks kept, a program alone started by System, nothing by NoAction).
TEST(CrontabCheckVerdicts, each_at_word_proposes_the_whole_entry_that_does_the_same_and_it_checks_clean)
{
    const std::tuple<const char*, const char*, Message> words[] = {
        {"@yearly", "0 0 1 1 *", Message::AT_WORD_WRITE},  {"@annually", "0 0 1 1 *", Message::AT_WORD_WRITE},
        {"@monthly", "0 0 1 * *", Message::AT_WORD_WRITE}, {"@weekly", "", Message::AT_WEEKLY},
        {"@daily", "0 0 * * *", Message::AT_WORD_WRITE},   {"@midnight", "0 0 * * *", Message::AT_WORD_WRITE},
        {"@hourly", "0 * * * *", Message::AT_WORD_WRITE},  {"@reboot", "", Message::AT_REBOOT},
    };
    const std::pair<const char*, const char*> rests[] = {{"", "NoAction"},
                                                         {" calc.exe /p a.txt", "System calc.exe /p a.txt"},
                                                         {" SetWP C:\\a.bmp", "SetWP C:\\a.bmp"},
                                                         {"\tSystem a  b c d \r", "System a  b c d"}};
    for (const auto& [word, fields, message] : words) {
        for (const auto& [rest, written] : rests) {
            const std::string line = std::string(" ").append(word).append(rest),
                              entry = std::string(fields) + " " + written;
            LineCheck check;
            check_crontab_line(line.c_str(), static_cast<int>(line.size()), 1, 0, at(2024, 1, 31, 12, 0), 1, check);
            const Message fate = rest[0] == '\t' ? Message::ROW_NEVER_RUNS : Message::ADDS_NO_ROW;
            ASSERT_EQ(check.warnings.size(), 1u) << line;
            EXPECT_EQ(check.warnings[0].field, CheckField::LINE);
            EXPECT_EQ(check.warnings[0].text,
                      say(Language::ENGLISH, message, {check_quoted(word), say(Language::ENGLISH, fate), entry}));
            if (message != Message::AT_WORD_WRITE) continue;
            LineCheck again;
            check_crontab_line(entry.c_str(), static_cast<int>(entry.size()), 1, 0, at(2024, 1, 31, 12, 0), 1, again);
            EXPECT_TRUE(is_entry(again) && again.warnings.empty() && again.runs.size() == 1) << line << " -> " << entry;
        }
    }
}

TEST(CrontabCheckRuns, the_skipping_walk_finds_what_a_check_of_every_minute_finds)
{
    const char* patterns[][4] = {
        {"*", "*", "*", "*"},      {"30", "23", "28-31", "2"}, {"0,59", "0,23", "31", "*"},
        {"5", "9-17", "1", "1-3"}, {"7", "3", "29", "2"},
    };
    for (const ClockTime& start : {at(2023, 12, 31, 22, 58), at(2024, 2, 28, 23, 59)}) {
        for (const auto& p : patterns) {
            const CronEntry entry{"*", p[3], p[2], p[1], p[0], "NoAction", ""};
            std::vector<std::string> expected;
            ClockTime t = start;
            for (int minute = 0; minute < 2 * 366 * 1440 && expected.size() < 4; ++minute, t = next_minute(t)) {
                if (entry_is_due(t, entry)) expected.push_back(text_of(t));
            }
            ClockTime runs[4];
            const int found = next_runs(entry, start, runs, 4);
            std::vector<std::string> got;
            for (int i = 0; i < found && i < static_cast<int>(expected.size()); ++i) got.push_back(text_of(runs[i]));
            EXPECT_EQ(got, expected) << text_of(start) << " " << p[0] << " " << p[1] << " " << p[2] << " " << p[3];
        }
    }
}

// A file's check, from 2024-02-28 12:01 with two runs: its totals, each
// line's check, and the report of its lines and of the file.
struct FileCheck {
    CheckTotals totals;
    std::vector<LineCheck> lines;
    std::string report;
};

FileCheck check_file(const std::string& data, Language language = Language::ENGLISH)
{
    MemoryStreamState state(data);
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    FileCheck out;
    auto sink = [](const LineCheck& c, void* context) { static_cast<std::vector<LineCheck>*>(context)->push_back(c); };
    out.totals = check_crontab(reader, at(2024, 2, 28, 12, 1), 2, sink, &out.lines, language);
    reader_close(reader);
    for (const LineCheck& c : out.lines) out.report += format_line_check(c, language);
    out.report += format_file_check("f", out.totals, language);
    return out;
}

TEST(CrontabCheckFile, check_crontab_reads_lines_as_the_loader_does_and_reports_the_documented_format)
{
    // A NUL byte in the dropped tail still counts as a character of the line.
    // Its option, 1450 two-byte characters, keeps 127 of them: 254 bytes, as the program loads it.
    std::string kana;
    for (int i = 0; i < 1450; ++i) kana += "\x82\xa0";
    const std::string long_line = "0 12 * * * System " + kana + '\0' + std::string(99, 'x');
    const std::string out = check_file("\r\n# a comment\r\n0 12 * * 1 System \x82\xa0.txt\r\n" + long_line + "\n" +
                                       std::string(2047, 'y') + "\n0\t12  * * * Foo \n")
                                .report;

    EXPECT_EQ(out, "1: skipped: blank line\n"
                   "2: skipped: 3 words, fewer than the six of an entry (\"#\" starts no comment: only the word count "
                   "skips it)\n"
                   "3: entry: minute=0 hour=12 day=* month=* command=System option=\"\x82\xa0.txt\"\n"
                   "3: warning: weekday: \"1\" is ignored: the program matches every weekday and saves \"*\"\n"
                   "3: next: 2024-02-29 12:00 Thu, 2024-03-01 12:00 Fri\n"
                   "4: entry: minute=0 hour=12 day=* month=* command=System option=\"" +
                       kana.substr(0, 254) +
                       "\"\n"
                       "4: warning: line: the line is 3018 characters long: the program reads its first 2047 and drops "
                       "the rest\n"
                       "4: warning: option: the field is 2029 bytes long: the program keeps its first 254\n"
                       "4: next: 2024-02-29 12:00 Thu, 2024-03-01 12:00 Fri\n"
                       "5: skipped: 1 word, fewer than the six of an entry\n"
                       "6: entry: minute=0 hour=12 day=* month=* command=Foo option=\"\"\n"
                       "6: warning: command: \"Foo\" is not a command (NoAction, System, SetWP): the entry runs "
                       "nothing\n"
                       "6: next (runs nothing): 2024-02-29 12:00 Thu, 2024-03-01 12:00 Fri\n"
                       "f: 6 lines, 3 entries, 3 skipped, 4 warnings\n"
                       "f: a Save from TaveCron would drop 3 lines and change 3 lines (line ends and trailing blanks "
                       "aside)\n");
}

// A six-word line's trailing blank is no change for a Save; a BOM kept in the minute and UTF-8 bytes that are no
// Shift-JIS are, as the table gives them back otherwise.
TEST(CrontabCheckFile, the_file_as_a_whole_gets_its_warnings_and_the_lines_a_save_would_lose)
{
    using namespace std::string_literals;
    const std::tuple<std::string, std::vector<std::string>, int, int> files[] = {
        {"", {"the file is empty: TaveCron would load 0 rows"}, 0, 0},
        {"# 0 8 * *\r\n\r\n", {"no line is an entry: TaveCron would load 0 rows"}, 2, 0},
        {"\xFF\xFE"
         "0\0 \0"
         "8\0\r\0\n\0"s,
         {"UTF-16 byte-order mark", "3 lines hold NUL bytes (the first: line 1)", "no line is an entry"},
         3,
         0},
        {"\xEF\xBB\xBF"
         "0 8 * * * NoAction\r\n0 8 * * *\tNoAction\n",
         {"UTF-8 byte-order mark"},
         0,
         2},
        {"0 8 * * * NoAction\n0 8 * * * System a\0b\n"s, {"1 line holds NUL bytes (the first: line 2)"}, 0, 1},
        // Saved as UTF-8 without a byte-order mark, the first line of such text is named; Shift-JIS (this
        // file's literals, the guide's examples among them) passes, even where its bytes are valid UTF-8
        // too ("縺Ａ" reads as UTF-8 "あ`").
        {"0 8 * * * NoAction\n0 9 * * * System C:\\"s +
             reinterpret_cast<const char*>(u8"写真\\起動.bat\n0 9 * * * System メモ.txt\n"),
         {"line 2 is UTF-8 text (saved without a byte-order mark)"},
         0,
         1},
        {"0 9 * * * System C:\\写真\\起動.bat\n0 9 * * * System メモ.txt\n0 9 * * * System cmd.exe /c start \"\" "
         "\"C:\\Program Files\\App\\app.exe\" パラメータ\n0 9 * * * System 縺Ａ.txt\n",
         {},
         0,
         0},
        // The whole file is one encoding: a UTF-8 line among Shift-JIS ones is none.
        {"0 9 * * * System 起動.bat\n0 9 * * * System C:\\\xE5\x86\x99\xE7\x9C\x9F\\a.txt\n", {}, 0, 0},
    };
    for (const auto& [data, warnings, dropped, changed] : files) {
        SCOPED_TRACE(data);
        const CheckTotals totals = check_file(data).totals;
        ASSERT_EQ(totals.file_warnings.size(), warnings.size());
        for (std::size_t i = 0; i < warnings.size(); ++i) {
            EXPECT_NE(totals.file_warnings[i].find(warnings[i]), std::string::npos) << totals.file_warnings[i];
        }
        EXPECT_EQ(totals.save_dropped, dropped);
        EXPECT_EQ(totals.save_changed, changed);
    }
    // The summary names the file's warnings again.
    const std::string report = check_file("\xFF\xFE"
                                          "0\0\n\0"s)
                                   .report;
    EXPECT_NE(report.find("f: 2 lines, 0 entries, 2 skipped, 3 warnings (byte-order mark, NUL bytes, no entry: see the "
                          "file's warnings above): TaveCron would load 0 rows\n"),
              std::string::npos)
        << report;
}

std::string to_cp932(const std::string& utf8)
{
    iconv_t to = iconv_open("CP932", "UTF-8");
    std::string in = utf8, out(utf8.size() * 2, '\0');
    char* from = in.data();
    char* into = out.data();
    std::size_t left = in.size(), room = out.size();
    const std::size_t done = iconv(to, &from, &left, &into, &room);
    iconv_close(to);
    EXPECT_NE(done, static_cast<std::size_t>(-1)) << utf8;
    out.resize(out.size() - room);
    return out;
}

// Each word of the corpus (UTF-8, a word a line) as a wallpaper folder and as
// a program: the UTF-8 file is named, on its first line; the Shift-JIS one passes.
TEST(CheckEncoding, every_utf8_word_of_the_corpus_is_named_and_no_shift_jis_one_is)
{
    std::ifstream in(TAVECRON_TEST_DATA "/japanese_words.txt");
    std::vector<std::string> words;
    for (std::string word; std::getline(in, word);) {
        if (!word.empty() && word[0] != '#') words.push_back(word);
    }
    ASSERT_GE(words.size(), 100u);
    const std::string utf8_warning = say(Language::ENGLISH, Message::UTF8_TEXT, {"1"});
    for (const std::string& word : words) {
        for (const std::string& line :
             {"0 * * * * SetWP C:\\" + word + "\\*.jpg\n", "0 9 * * * System " + word + ".txt\n"}) {
            SCOPED_TRACE(line);
            EXPECT_EQ(check_file(line).totals.file_warnings, std::vector<std::string>{utf8_warning});
            EXPECT_EQ(check_file(to_cp932(line)).totals.file_warnings, std::vector<std::string>{});
        }
    }
}

// One System option of each kind the table gives back otherwise, and one it keeps: the option, what the table gives
// back (null when the same), the characters that change by their codes, and whether a blank is taken with them.
TEST(CheckRoundTrip, the_model_of_the_table_tells_each_kind_of_changed_cell)
{
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
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
         false},  // unassigned codes
        {"\xFA\x4A\xFA\x54\xFA\x58\xFA\x5B", "\x87\x54\x81\xCA\x87\x8A\x81\xE6",
         "FA 4A -> 87 54, FA 54 -> 81 CA, FA 58 -> 87 8A, ...", false},  // IBM extensions kept by NEC or JIS
        // Kept: Roman numerals, IBM kanji, half-width katakana, user-defined, single bytes, kana.
        {"\x87\x54\xFA\x5C\xFC\x4B\xCA\xB2\xF0\x40\x80\xA0\xFD\x82\xA0.txt", nullptr, "", false},
    };
    std::string file;
    for (const auto& c : cases) file += std::string("0 8 * * * System ") + std::get<0>(c) + "\n";
    const std::vector<LineCheck> checks = check_file(file).lines;
    ASSERT_EQ(checks.size(), std::size(cases));
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const auto& [option, held, codes, words_change] = cases[i];
        SCOPED_TRACE(option);
        EXPECT_EQ(checks[i].save, held == nullptr ? SaveEffect::SAME : SaveEffect::CHANGED);
        ASSERT_EQ(checks[i].warnings.size(), held == nullptr ? 0u : 1u);
        if (held == nullptr) continue;
        EXPECT_EQ(checks[i].warnings[0].field, CheckField::OPTION);
        const std::string& text = checks[i].warnings[0].text;
        const std::string said =
            say(Language::ENGLISH, Message::CELL_HELD, {check_quoted(option), check_quoted(held), codes});
        EXPECT_EQ(text.substr(0, said.size()), said);
        // A blank taken with the bytes: the words after are the held cell, whole and quoted.
        EXPECT_EQ(text.find(check_quoted(held), said.size()) != std::string::npos, words_change) << text;
    }
}

TEST(CheckMessages, every_message_has_both_forms_with_the_same_placeholders)
{
    const std::regex placeholder("\\{[1-9]\\}");
    auto placeholders = [&placeholder](const std::string& text) {
        std::vector<std::string> found(std::sregex_token_iterator(text.begin(), text.end(), placeholder), {});
        std::sort(found.begin(), found.end());
        return found;
    };
    for (std::size_t i = 0; i < check_messages.size(); ++i) {
        const MessageForms& m = check_messages[i];
        SCOPED_TRACE(m.english);
        EXPECT_EQ(static_cast<std::size_t>(m.id), i);
        ASSERT_TRUE(m.english != nullptr && m.japanese != nullptr && *m.english != '\0' && *m.japanese != '\0');
        EXPECT_EQ(placeholders(m.english), placeholders(m.japanese));
    }
}

TEST(CheckMessages, a_japanese_report_keeps_the_numbers_times_and_cells_of_the_english_one)
{
    const std::string file = "@daily x\n0 12 * 0 * System \x82\xa0.txt\n0-64 1 * * * system a\n#\n30 7 * * 1 x\n";
    const FileCheck en = check_file(file), ja = check_file(file, Language::JAPANESE);
    // The same heads ("3: "), line ends, times and quoted cells, in the same order.
    const std::regex kept(R"(^\d+: |\n|\d{4}-\d\d-\d\d \d\d:\d\d \w{3}|"[^"]*")", std::regex::multiline);
    auto parts = [&kept](const std::string& r) {
        return std::vector<std::string>(std::sregex_token_iterator(r.begin(), r.end(), kept), {});
    };
    EXPECT_EQ(parts(en.report), parts(ja.report));
    EXPECT_NE(en.report, ja.report);
    EXPECT_NE(ja.report.find(say(Language::JAPANESE, Message::MONTH_ZERO, {"0"})), std::string::npos) << ja.report;
}

// Over a month's turn and a leap day; the cut leaves out one run, and every minute of two whole days and half an hour
// with the hours between.
TEST(CheckAgenda, lists_every_run_in_time_and_row_order_and_counts_what_the_cut_leaves_out)
{
    const std::string months = "0 0 1 * * System monthly.bat\n59 23 * * * NoAction\n0 0 * * * Foo x\n"
                               "30 23 31 1 * SetWP -c a.bmp\n";
    const std::string leap = "# header\n0 12 29 2 * NoAction\n0 12 28-29 2 * System a\n";
    const std::string dense = "* * * * * NoAction\n0 * * * * System b\n";
    const std::tuple<std::string, ClockTime, ClockTime, int, std::string> cases[] = {
        {months, at(2024, 1, 31, 23, 30), at(2024, 2, 1, 0, 1), 1000,
         "2024-01-31 23:30 Wed  4: SetWP -c a.bmp\n2024-01-31 23:59 Wed  2: NoAction\n"
         "2024-02-01 00:00 Thu  1: System monthly.bat\n2024-02-01 00:00 Thu  3: Foo x (runs nothing)\n"},
        {leap, at(2024, 2, 28, 12, 0), at(2024, 3, 1, 12, 1), 2,
         "2024-02-28 12:00 Wed  3: System a\n2024-02-29 12:00 Thu  2: NoAction\n"
         "... and 1 more run before 2024-03-01 12:01 Fri\n"},
        {leap, at(2023, 2, 28, 12, 1), at(2023, 3, 1, 12, 1), 1000,
         "no run from 2023-02-28 12:01 Tue up to 2023-03-01 12:01 Wed\n"},
        {dense, at(2024, 2, 29, 23, 58), at(2024, 3, 1, 1, 0), 3,
         "2024-02-29 23:58 Thu  1: NoAction\n2024-02-29 23:59 Thu  1: NoAction\n2024-03-01 00:00 Fri  1: NoAction\n"
         "... and 60 more runs before 2024-03-01 01:00 Fri\n"},
        {dense, at(2024, 2, 29, 23, 58), at(2024, 3, 3, 0, 30), 2,
         "2024-02-29 23:58 Thu  1: NoAction\n2024-02-29 23:59 Thu  1: NoAction\n... and " +
             std::to_string(2 * (1440 + 24) + 30 + 1) + " more runs before 2024-03-03 00:30 Sun\n"},
    };
    for (const auto& [data, from, until, most, expected] : cases) {
        SCOPED_TRACE(text_of(from));
        std::vector<AgendaEntry> entries;
        for (const LineCheck& c : check_file(data).lines) {
            if (is_entry(c)) entries.push_back(AgendaEntry{c.number, c.fields, c.runs_nothing});
        }
        std::vector<AgendaRun> runs;
        const std::int64_t total = list_agenda(entries, from, until, most, runs);
        EXPECT_EQ(format_agenda(entries, runs, total, from, until, Language::ENGLISH), expected);
    }
}

}  // namespace

// With `after` (for --until), --from 18:00 --until 06:00 ends the next morning.
TEST(CheckArguments, a_time_without_a_date_is_taken_on_the_base_day_or_the_first_time_after_it)
{
    const ClockTime evening = at(2024, 2, 28, 18, 0);
    const std::tuple<const char*, ClockTime, bool, std::string> cases[] = {
        {"2023-02-28 23:59", evening, true, "2023-02-28 23:59"},
        {"6:05", evening, false, "2024-02-28 06:05"},
        {"06:00", evening, true, "2024-02-29 06:00"},
        {"18:00", evening, true, "2024-02-29 18:00"},
        {"18:01", evening, true, "2024-02-28 18:01"},
        {"23:59", at(2024, 12, 31, 23, 59), true, "2025-01-01 23:59"},
        {"06:00", at(9999, 12, 31, 18, 0), true, ""},
    };
    for (const auto& [text, base, after, expected] : cases) {
        ClockTime out{};
        const bool read = read_check_time(text, base, after, out);
        EXPECT_EQ(read ? text_of(out) : "", expected) << text;
        if (read) {
            EXPECT_EQ(out.wDayOfWeek, at(out.wYear, out.wMonth, out.wDay, 0, 0).wDayOfWeek) << text;
        }
    }
    for (const char* text : {"24:00", "12:60", "9:5", "123:45", "12.30", "2024-02-30 12:00", "2024-02-28T12:00", ""}) {
        ClockTime out{};
        EXPECT_FALSE(read_check_time(text, evening, false, out) || read_check_time(text, evening, true, out)) << text;
    }
}
