#pragma once
// Every text the checker writes, in English and in Japanese, in one table, so
// that no message can exist in one language only. A text's placeholders
// {1} to {9} stand for numbers, times and cells of the file, whose bytes are
// put in unchanged; each language orders them as its sentences need.
//
// The Japanese texts are code page 932 in the Windows build, as the console
// shows them, and UTF-8 natively (this table's source is compiled with the
// one execution character set or the other).
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

enum class Language { ENGLISH, JAPANESE };

// Japanese when a locale name (LC_ALL, LC_MESSAGES or LANG) starts with "ja";
// English otherwise, a null name included.
Language language_of_locale(const char* name);

enum class Message {
    // Words for the parts of an entry, named as the program's column captions.
    FIELD_MINUTE,
    FIELD_HOUR,
    FIELD_DAY,
    FIELD_MONTH,
    FIELD_WEEKDAY,
    FIELD_COMMAND,
    FIELD_OPTION,
    FIELD_LINE,
    FIELD_MINUTES,
    FIELD_HOURS,
    FIELD_DAYS,
    FIELD_MONTHS,
    // One line's report.
    SKIPPED_BLANK,
    SKIPPED_ONE_WORD,
    SKIPPED_WORDS,
    SKIPPED_HASH,
    ENTRY,
    WARNING,
    NOTE,
    NEXT,
    NEXT_RUNS_NOTHING,
    NEXT_NEVER,
    NEXT_THEN_NONE,
    HORIZON_YEARS,
    HORIZON_10000,
    // Warnings about a line.
    LONG_LINE,
    LONG_FIELD,
    SKIPPED_BEFORE,
    BACKWARD_ONE,
    BACKWARD_MANY,
    IGNORED_AFTER_STAR,
    IGNORED_NUMBER,
    IGNORED_AFTER_ITEM,
    NEVER_OCCURS,
    MATCHES_NO,
    SO_NEVER_RUNS,
    FIELD_MATCHES_NONE,
    FIELD_MATCHES_EVERY,
    FIELD_MATCHES,
    WEEKDAY_IGNORED,
    COMMAND_CASE,
    COMMAND_UNKNOWN,
    COMMAND_USER_FIELD,
    NEVER_MEET,
    NO_RUN_YET,
    HASH_LINE,
    HASH_NEVER_RUNS,
    HASH_NOT_YET,
    HASH_RUNS,
    HASH_RUNS_NOTHING,
    AT_WORD,
    AT_WORD_WRITE,
    AT_WEEKLY,
    AT_REBOOT,
    NAME_VALUE,
    ADDS_NO_ROW,
    ROW_NEVER_RUNS,
    MONTH_ZERO,
    // The file as a whole.
    FILE_WARNING,
    BOM_UTF8,
    BOM_UTF16,
    UTF8_TEXT,
    NUL_ONE_LINE,
    NUL_LINES,
    FILE_EMPTY,
    NO_ENTRY,
    COUNT_LINE,
    COUNT_LINES,
    COUNT_ENTRY,
    COUNT_ENTRIES,
    COUNT_WARNING,
    COUNT_WARNINGS,
    SUMMARY,
    SUMMARY_NO_ROWS,
    SAVE_EFFECT,
    // The agenda.
    AGENDA_RUNS_NOTHING,
    AGENDA_NONE,
    AGENDA_MORE_ONE,
    AGENDA_MORE,
    // The tool's usage and troubles.
    USAGE,
    NEEDS_NUMBER,
    NEXT_RANGE,
    MAX_RANGE,
    NEEDS_TIME,
    FROM_BAD,
    UNTIL_BAD,
    UNTIL_ORDER,
    NEEDS_LANGUAGE,
    LANGUAGE_BAD,
    UNKNOWN_OPTION,
    TWO_FILES,
    OPTION_WITHOUT_AGENDA,
    CLOCK_UNREADABLE,
    IS_FOLDER,
    CANNOT_OPEN,
    CANNOT_READ,
    OUT_OF_MEMORY,
    CANNOT_WRITE,
    // Verdicts that follow the runs, full-width text, and the tool's own words
    // for times without a date and a file it cannot open.
    ROW_NOT_YET,
    AT_RUNS,
    AT_RUNS_NOTHING,
    SCHEDULE_EVERY,
    SCHEDULE_AND,
    FULL_WIDTH,
    NO_SUCH_FILE,
    NO_PERMISSION,
    // The disk: the programs and pictures of System and SetWP entries.
    DISK_NOT_SEEN,
    NEEDS_FOLDER,
    FOLDER_BAD,
    DISK_QUOTE_CUT,
    DISK_BLANK_CUT,
    DISK_PATH_MISSING,
    DISK_NAME_MISSING,
    DISK_NO_ASSOCIATION,
    DISK_NO_PICTURE,
    DISK_NO_PICTURE_FILE,
    DISK_SOME_NOT_FILES,
    // What the table holds of a cell, and the file's warnings named in the summary.
    CELL_HELD,
    CELL_WORDS,
    FILE_NAMES,
    NAME_BOM,
    NAME_UTF8,
    NAME_NUL,
    NAME_NO_ENTRY,
    COUNT_  // how many there are
};

struct MessageForms {
    Message id;
    const char* english;
    const char* japanese;
};

// In the order of Message; a test walks it.
extern const std::array<MessageForms, static_cast<std::size_t>(Message::COUNT_)> check_messages;

// The text of `message` in `language`, each {n} replaced by args[n - 1]
// (the empty text when there is no such argument).
std::string say(Language language, Message message, std::initializer_list<std::string_view> args = {});
