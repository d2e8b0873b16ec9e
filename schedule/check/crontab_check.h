#pragma once
// The schedule checker: how the program reads each line of a crontab file,
// what in it will not do what it seems to, and when each entry runs next.
// Lines are read and scanned by the loader's own functions, run times are
// decided by entry_is_due, and what a Save would write comes from the writer's
// format_crontab_line, so the checker cannot drift from the program.
// Nothing here prints: results are records, and texts are built as strings.
//
// Output of format_line_check in English, one text line each, every one
// starting with the crontab line's number (lines counted as the loader counts
// them); the Japanese report has the same lines in Japanese words, with the
// same numbers, times and cells:
//
//   N: entry: minute=M hour=H day=D month=MO command=C option="O"
//   N: warning: FIELD: TEXT        (FIELD is minute, hour, day, month,
//                                   weekday, command, option or line)
//   N: note: month: switched off (month 0)
//   N: next: YYYY-MM-DD HH:MM Www, ...     (the next runs, oldest first)
//   N: next (runs nothing): ...            (the same when the command is unknown)
//   N: next: never within 5 years
//   N: skipped: REASON
//
// and of format_file_warnings, before the lines, and format_file_check after them:
//
//   PATH: warning: TEXT            (a byte-order mark, UTF-8 text, NUL bytes,
//                                   no entry)
//   PATH: L lines, E entries, S skipped, W warnings[ (NAMES of the file's warnings)][: TaveCron would load 0 rows]
//   PATH: a Save from TaveCron would drop D lines and write C others differently ...
//
// Field texts are the bytes the program keeps (code page 932 passes through).
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"
#include "schedule/check/check_calendar.h"
#include "schedule/check/check_messages.h"
#include "schedule/crontab_line.h"

// `text` in double quotes, as every report line shows a text of the file.
inline std::string check_quoted(std::string_view text)
{
    std::string out(1, '"');
    out += text;
    out += '"';
    return out;
}

enum class CheckField { MINUTE, HOUR, DAY, MONTH, WEEKDAY, COMMAND, OPTION, LINE };

// "minute", "hour", ... "line".
const char* check_field_name(CheckField field);
// The same in `language`.
std::string check_field_word(CheckField field, Language language);

struct CheckWarning {
    CheckField field;
    std::string text;
};

// What a Save from TaveCron does to a line of the file: a skipped line is
// not written again; an entry is written as format_crontab_line writes its
// row, which differs from the line when the weekday is not "*", fields stand
// apart by other blanks than one space, a field or the line was cut, the
// line holds a NUL byte, or a cell holds bytes the table gives back otherwise
// (see cp932_table_text in base/cp932.h). Line ends and trailing blanks are not compared.
enum class SaveEffect { SAME, CHANGED, DROPPED };

struct LineCheck {
    int number = 0;          // from 1
    int converted = 0;       // fields the loader's scan converted: 6 or 7 make an entry
    CrontabFields fields{};  // as the loader scans them (weekday included)
    std::vector<CheckWarning> warnings;
    std::vector<CheckWarning> notes;  // what is meant as written: a month 0 switches the entry off
    std::vector<ClockTime> runs;      // next runs within the horizon, oldest first
    int runs_asked = 0;               // how many runs were looked for
    bool runs_nothing = false;        // the command is unknown: the runs start nothing
    bool horizon_cut = false;         // the horizon ends at 9999-12-31, before 5 years
    bool has_nul = false;             // the line holds a NUL byte, where the scan stopped
    SaveEffect save = SaveEffect::DROPPED;
};

inline bool is_entry(const LineCheck& check)
{
    return check.converted >= 6;
}

// Checks one line as read_crontab_line handed it out: `line` is the
// NUL-terminated text and `length` the bytes it kept before its line end,
// NUL bytes included (`dropped` characters of an over-long line lost). Looks
// for its next `run_count` runs from `from` when it is an entry.
// Warnings are worded in `language`; `table_text` tells what the table gives
// back of a cell's text.
void check_crontab_line(const char* line, int length, int number, int dropped, const ClockTime& from, int run_count,
                        LineCheck& out, Language language = Language::ENGLISH,
                        Cp932TableText table_text = cp932_table_text);

// The text lines above for one checked line, each ending in "\n".
std::string format_line_check(const LineCheck& check, Language language = Language::ENGLISH);
// Only its warning and note lines.
std::string format_line_warnings(const LineCheck& check, Language language = Language::ENGLISH);

struct CheckTotals {
    int lines = 0;
    int entries = 0;                              // the rows TaveCron would load
    int warnings = 0;                             // of the lines and of the file
    int save_dropped = 0;                         // lines a Save would not write again
    int save_changed = 0;                         // entries a Save would write differently
    std::vector<std::string> file_warnings;       // about the file as a whole
    std::vector<std::string> file_warning_names;  // the same, a few words each, for the summary
};

// The file's warnings for the file named `path`, each text line ending in "\n".
std::string format_file_warnings(std::string_view path, const CheckTotals& totals,
                                 Language language = Language::ENGLISH);
// The summary, which names the file's warnings again.
std::string format_file_check(std::string_view path, const CheckTotals& totals, Language language = Language::ENGLISH);

// Reads every line of `reader` as the loader does, checks it and hands the
// result to `sink` (with `context`) before the next line is read. Then looks
// at the file as a whole: a byte-order mark at its start, text that reads
// better as UTF-8 than as Shift-JIS (score_encodings in base/cp932.h, summed
// over the file; the first line that reads better so is named), lines that
// hold NUL bytes, no entry at all. Answers the totals. The reader stays the
// caller's.
using LineCheckSink = void (*)(const LineCheck& check, void* context);
CheckTotals check_crontab(LineReader* reader, const ClockTime& from, int run_count, LineCheckSink sink, void* context,
                          Language language = Language::ENGLISH, Cp932TableText table_text = cp932_table_text);
