#include "schedule/check/crontab_check.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <utility>

#include "base/cp932.h"
#include "commands/command_names.h"

namespace {

struct TimeFieldInfo {
    CheckField field;
    Message name;    // "minute"
    Message plural;  // "minutes"
    int low, high;   // the values a clock time can have
};

constexpr std::array<TimeFieldInfo, 4> time_fields = {{
    {CheckField::MINUTE, Message::FIELD_MINUTE, Message::FIELD_MINUTES, 0, 59},
    {CheckField::HOUR, Message::FIELD_HOUR, Message::FIELD_HOURS, 0, 23},
    {CheckField::DAY, Message::FIELD_DAY, Message::FIELD_DAYS, 1, 31},
    {CheckField::MONTH, Message::FIELD_MONTH, Message::FIELD_MONTHS, 1, 12},
}};

TimeFieldSet parsed(const char* text)
{
    TimeFieldSet set;
    parse_time_field(text, set);
    return set;
}

// The members of `set` from `low` to `high` (both in 0..63) as "1-3,10"; the
// empty text when there are none.
std::string value_list(const TimeFieldSet& set, int low, int high)
{
    std::string out;
    for (int n = low; n <= high; ++n) {
        if (!time_set_contains(set, n)) continue;
        int last = n;
        while (last < high && time_set_contains(set, last + 1)) ++last;
        if (!out.empty()) out += ',';
        out += std::to_string(n);
        if (last > n) {
            out += last == n + 1 ? ',' : '-';
            out += std::to_string(last);
        }
        n = last;
    }
    return out;
}

bool is_full(const TimeFieldSet& set)
{
    for (unsigned char byte : set.bits) {
        if (byte != 0xFF) return false;
    }
    return true;
}

// Builds one line's warnings in one language.
struct Checker {
    LineCheck& out;
    Language language;

    std::string say(Message message, std::initializer_list<std::string_view> args = {}) const
    {
        return ::say(language, message, args);
    }
    void warn(CheckField field, std::string text) { out.warnings.push_back(CheckWarning{field, std::move(text)}); }

    // What a field admits among the values a clock can have, in words.
    std::string what_it_matches(const TimeFieldSet& set, const TimeFieldInfo& f) const
    {
        const std::string values = value_list(set, f.low, f.high);
        if (values.empty()) return say(Message::FIELD_MATCHES_NONE, {say(f.name)});
        bool every = true;
        for (int n = f.low; n <= f.high && every; ++n) every = time_set_contains(set, n) != 0;
        if (every) return say(Message::FIELD_MATCHES_EVERY, {say(f.name), values});
        const bool one = values.find_first_of(",-") == std::string::npos;
        return say(Message::FIELD_MATCHES, {say(one ? f.name : f.plural), values});
    }

    std::string schedule_words(const CronEntry& entry) const;
    void warn_full_width(int converted);
    bool check_time_field(const char* text, const TimeFieldInfo& f);
    void warn_slips(const char* text, const TimeFieldInfo& f, const std::string& matches);
    void warn_values_outside(const TimeFieldSet& set, const TimeFieldInfo& f);
    bool check_command(const char* command, const char* option);
};

// When an entry runs, in words: each time field from the minute up to the
// largest one that does not admit every value, then that one's next larger
// ("minute 5, every hour"; "minute 0, hour 7, every day").
std::string Checker::schedule_words(const CronEntry& entry) const
{
    const std::array<const char*, 4> texts = {entry.minute, entry.hour, entry.day, entry.month};
    std::array<TimeFieldSet, 4> sets;
    std::array<bool, 4> every{};
    std::size_t restricted = 0;  // one past the largest such field
    for (std::size_t i = 0; i < sets.size(); ++i) {
        sets[i] = parsed(texts[i]);
        every[i] = true;
        for (int n = time_fields[i].low; n <= time_fields[i].high; ++n) {
            every[i] = every[i] && time_set_contains(sets[i], n) != 0;
        }
        if (!every[i]) restricted = i + 1;
    }
    if (restricted == 0) return say(Message::SCHEDULE_EVERY, {say(Message::FIELD_MINUTE)});
    std::string words;
    for (std::size_t i = 0; i <= restricted && i < sets.size(); ++i) {
        const TimeFieldInfo& f = time_fields[i];
        const std::string part = every[i] ? say(Message::SCHEDULE_EVERY, {say(f.name)}) : what_it_matches(sets[i], f);
        words = i == 0 ? part : say(Message::SCHEDULE_AND, {words, part});
    }
    return words;
}

// The half-width text of `word` when it holds full-width forms of what a time
// field is written with (digits, "*", ",", "-" and the blank, as a Japanese
// input method types them in its full-width mode); empty when it holds none.
// Those are two-byte characters of code page 932, which the pattern skips as
// no digit and the line scan reads as no blank.
std::string half_width(std::string_view word)
{
    struct FullWidth {
        unsigned char lead, trail;
        char plain;
    };
    constexpr std::array<FullWidth, 4> signs = {
        {{0x81, 0x40, ' '}, {0x81, 0x43, ','}, {0x81, 0x7C, '-'}, {0x81, 0x96, '*'}}};
    std::string out;
    bool any = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto lead = static_cast<unsigned char>(word[i]);
        if (!cp932_is_lead(lead) || i + 1 == word.size()) {
            out += word[i];
            continue;
        }
        const auto trail = static_cast<unsigned char>(word[++i]);
        char plain = lead == 0x82 && trail >= 0x4F && trail <= 0x58 ? static_cast<char>('0' + (trail - 0x4F)) : '\0';
        for (const FullWidth& sign : signs) {
            if (sign.lead == lead && sign.trail == trail) plain = sign.plain;
        }
        if (plain != '\0') {
            out += plain;
            any = true;
        } else {
            out += word.substr(i - 1, 2);
        }
    }
    return any ? out : std::string();
}

// Warns about each of the first five words (the time fields and the weekday)
// that holds full-width forms, giving the text to type; on a line that is no
// entry, as a warning about the line.
void Checker::warn_full_width(int converted)
{
    const std::array<const CellText*, 5> words = {&out.fields.minute, &out.fields.hour, &out.fields.day,
                                                  &out.fields.month, &out.fields.weekday};
    for (std::size_t i = 0; i < words.size() && static_cast<int>(i) < converted; ++i) {
        const std::string typed = half_width(words[i]->data());
        if (typed.empty()) continue;
        const CheckField field = is_entry(out) ? static_cast<CheckField>(i) : CheckField::LINE;
        warn(field, say(Message::FULL_WIDTH, {check_quoted(words[i]->data()), check_quoted(typed)}));
    }
}

// Warnings of one time field; answers whether the field admits any value a
// clock can have.
bool Checker::check_time_field(const char* text, const TimeFieldInfo& f)
{
    const TimeFieldSet set = parsed(text);
    bool possible = false;
    for (int n = f.low; n <= f.high && !possible; ++n) possible = time_set_contains(set, n) != 0;
    // A month of exactly 0 is how the guide and Add item switch an entry off.
    if (f.field == CheckField::MONTH && std::strcmp(text, "0") == 0) {
        out.notes.push_back(CheckWarning{f.field, say(Message::MONTH_ZERO, {"0"})});
        return false;
    }
    const std::size_t first = out.warnings.size();
    warn_slips(text, f, what_it_matches(set, f));
    warn_values_outside(set, f);
    if (!possible) {
        if (out.warnings.size() == first) warn(f.field, say(Message::MATCHES_NO, {check_quoted(text), say(f.name)}));
        out.warnings.back().text += say(Message::SO_NEVER_RUNS);
    }
    return possible;
}

// Where the pattern reads text other than it looks: bytes passed over before
// the first item, a range written backward, text after the last item read.
void Checker::warn_slips(const char* text, const TimeFieldInfo& f, const std::string& matches)
{
    const TimeFieldReport report = report_time_field(text);
    const int used = report.used;
    auto part = [text](int at, int length) {
        return check_quoted(std::string_view(text + at, static_cast<std::size_t>(length)));
    };
    // "#30" and "x5" look like no number, yet the pattern passes over the
    // leading bytes and counts the number after them.
    if (report.first_item > 0 && report.first_item < used) {
        warn(f.field, say(Message::SKIPPED_BEFORE,
                          {part(0, report.first_item), part(report.first_item, used - report.first_item), matches}));
    }
    if (report.backward_count == 1) {
        warn(f.field, say(Message::BACKWARD_ONE, {part(report.backward_at, report.backward_length), matches}));
    }
    if (report.backward_count > 1) {
        warn(f.field, say(Message::BACKWARD_MANY, {part(report.backward_at, report.backward_length),
                                                   std::to_string(report.backward_count - 1), matches}));
    }

    const char* ignored = text + used;
    if (*ignored == '\0') return;
    if (used > 0 && text[used - 1] == '*') {
        warn(f.field, say(Message::IGNORED_AFTER_STAR, {check_quoted(ignored), matches}));
    } else if (*ignored >= '0' && *ignored <= '9') {
        warn(f.field, say(Message::IGNORED_NUMBER, {check_quoted(ignored), matches}));
    } else {
        warn(f.field, say(Message::IGNORED_AFTER_ITEM, {check_quoted(ignored), part(0, used), matches}));
    }
}

// Values a clock never has; a set of all of 0..63 is a star or as good as one.
void Checker::warn_values_outside(const TimeFieldSet& set, const TimeFieldInfo& f)
{
    TimeFieldSet outside = set;
    for (int n = f.low; n <= f.high; ++n) {
        outside.bits[static_cast<std::size_t>(n >> 3)] &= static_cast<unsigned char>(~(0x80u >> (n & 7)));
    }
    const std::string impossible = is_full(set) ? "" : value_list(outside, 0, TIME_VALUE_LIMIT - 1);
    if (!impossible.empty()) {
        warn(f.field,
             say(Message::NEVER_OCCURS, {impossible, say(f.plural), std::to_string(f.low), std::to_string(f.high)}));
    }
}

// Whether a Save from TaveCron writes the entry of `line` (its first `length`
// bytes) as it stands; see SaveEffect.
SaveEffect save_effect(const CronEntry& entry, const char* line, int length, int dropped)
{
    CrontabLineText saved;
    const int saved_length = format_crontab_line(entry, saved) - 2;  // CR LF
    auto trimmed = [](const char* text, int n) {
        while (n > 0 && crontab_is_blank(text[n - 1])) --n;
        return n;
    };
    const int n = trimmed(saved.data(), saved_length);
    const bool same = dropped == 0 && n == trimmed(line, length) && std::memcmp(saved.data(), line, n) == 0;
    return same ? SaveEffect::SAME : SaveEffect::CHANGED;
}

// A word a system crontab could hold as its user field: lower-case letters,
// digits, "_" and "-", starting with a letter or "_".
bool looks_like_user_name(const char* word)
{
    if (!((*word >= 'a' && *word <= 'z') || *word == '_')) return false;
    for (const char* p = word; *p != '\0'; ++p) {
        if (!((*p >= 'a' && *p <= 'z') || (*p >= '0' && *p <= '9') || *p == '_' || *p == '-')) return false;
    }
    return true;
}

// Warns about a command name that no command bears; answers whether one does.
bool Checker::check_command(const char* command, const char* option)
{
    for (const char* name : command_names) {
        if (std::strcmp(name, command) == 0) return true;
    }
    std::string known;
    for (const char* name : command_names) known += (known.empty() ? "" : ", ") + std::string(name);
    for (const char* name : command_names) {
        std::size_t i = 0;
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        while (name[i] != '\0' && lower(name[i]) == lower(command[i])) ++i;
        if (name[i] == '\0' && command[i] == '\0') {
            warn(CheckField::COMMAND, say(Message::COMMAND_CASE, {check_quoted(command), check_quoted(name)}));
            return false;
        }
    }
    const bool user_field = looks_like_user_name(command) && option[0] != '\0';
    warn(CheckField::COMMAND,
         say(user_field ? Message::COMMAND_USER_FIELD : Message::COMMAND_UNKNOWN, {check_quoted(command), known}));
    return false;
}

// The schedules other crons write as one "@" word, and the entry that does the
// same here ("" when none can).
struct AtWord {
    const char* word;
    const char* fields;  // the first five fields of the entry to write
    Message message;
};
constexpr std::array<AtWord, 8> at_words = {{
    {"@yearly", "0 0 1 1 *", Message::AT_WORD_WRITE},
    {"@annually", "0 0 1 1 *", Message::AT_WORD_WRITE},
    {"@monthly", "0 0 1 * *", Message::AT_WORD_WRITE},
    {"@weekly", "", Message::AT_WEEKLY},  // the program ignores the weekday
    {"@daily", "0 0 * * *", Message::AT_WORD_WRITE},
    {"@midnight", "0 0 * * *", Message::AT_WORD_WRITE},
    {"@hourly", "0 * * * *", Message::AT_WORD_WRITE},
    {"@reboot", "", Message::AT_REBOOT},
}};

// A line's first word and what follows it, blanks around both left out; the
// rest ends at a NUL, as the row's cell would.
struct LineHead {
    std::string_view word;
    std::string_view rest;
    std::size_t at;       // where the word starts
    std::size_t rest_at;  // where the rest starts
};

LineHead split_line_head(std::string_view line)
{
    LineHead head{};
    while (head.at < line.size() && crontab_is_blank(line[head.at])) ++head.at;
    std::size_t end = head.at;
    while (end < line.size() && !crontab_is_blank(line[end]) && line[end] != '\0') ++end;
    head.word = line.substr(head.at, end - head.at);
    head.rest_at = end;
    while (head.rest_at < line.size() && crontab_is_blank(line[head.rest_at])) ++head.rest_at;
    head.rest = line.substr(head.rest_at);
    head.rest = head.rest.substr(0, std::min(head.rest.find('\0'), head.rest.size()));
    while (!head.rest.empty() && crontab_is_blank(head.rest.back())) head.rest.remove_suffix(1);
    return head;
}

// A name of letters, digits and "_" not starting with a digit, then "=".
bool is_variable_setting(const LineHead& head)
{
    const std::string_view word = head.word;
    std::size_t name_end = 0;
    while (name_end < word.size() &&
           (std::isalnum(static_cast<unsigned char>(word[name_end])) != 0 || word[name_end] == '_')) {
        ++name_end;
    }
    const bool name = name_end > 0 && !(word[0] >= '0' && word[0] <= '9');
    return name && (name_end < word.size() ? word[name_end] == '=' : head.rest.starts_with("="));
}

bool is_command_name(std::string_view word)
{
    for (const char* name : command_names) {
        if (word == name) return true;
    }
    return false;
}

// The whole line to write for the schedule `fields` of an "@" word and the
// text after the word: that text when it starts with a command, else the
// program it names, started by System; NoAction when nothing follows.
std::string at_word_entry(const char* fields, std::string_view rest)
{
    const std::string_view first = rest.substr(0, std::min(rest.find_first_of(" \t\v\f\r"), rest.size()));
    if (rest.empty()) return std::string(fields) + " NoAction";
    return std::string(fields) + (is_command_name(first) ? " " : " System ") + std::string(rest);
}

// A line another cron reads differently: an "@" schedule or a variable
// setting "NAME=value" (or "NAME = value"), whose fate is told in the words
// of `fate`. Answers whether it warned.
bool check_foreign_line(std::string_view line, Checker& checker, const std::string& fate)
{
    const LineHead head = split_line_head(line);
    if (head.word.starts_with("@")) {
        AtWord known{"", "", Message::AT_WORD};
        for (const AtWord& a : at_words) {
            if (head.word == a.word) known = a;
        }
        const std::string entry = at_word_entry(known.fields, head.rest);
        checker.warn(CheckField::LINE, checker.say(known.message, {check_quoted(head.word), fate, entry}));
        return true;
    }
    if (is_variable_setting(head)) {
        const std::string setting = std::string(line.substr(head.at, head.rest_at - head.at)) + std::string(head.rest);
        checker.warn(CheckField::LINE, checker.say(Message::NAME_VALUE, {check_quoted(setting), fate}));
        return true;
    }
    return false;
}

// The words of a cell as the program splits them (at blanks), each quoted.
std::string quoted_words(std::string_view text, int& count)
{
    std::string out;
    count = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (crontab_is_blank(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !crontab_is_blank(text[end])) ++end;
        if (count++ > 0) out += ' ';
        out += check_quoted(text.substr(i, end - i));
        i = end;
    }
    return out;
}

// The characters of `text` the table gives back otherwise, by their codes:
// "E9 20 -> 81 45, 87 90 -> 81 E0" (the first three, then "...").
std::string changed_codes(std::string_view text, Cp932TableText table_text)
{
    auto hex = [](std::string_view bytes) {
        static constexpr char digits[] = "0123456789ABCDEF";
        std::string out;
        for (const char c : bytes) {
            const unsigned char b = static_cast<unsigned char>(c);
            if (!out.empty()) out += ' ';
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        return out;
    };
    std::string out;
    int listed = 0;
    for (std::size_t i = 0; i < text.size();) {
        // The conversion takes a lead byte with the byte after it, whatever that is.
        const std::size_t width = cp932_is_lead(static_cast<unsigned char>(text[i])) ? 2 : 1;
        const std::string_view character = text.substr(i, width);
        const std::string held = table_text(character);
        i += width;
        if (held == character) continue;
        if (listed++ == 3) return out + ", ...";
        out += (out.empty() ? "" : ", ") + hex(character) + " -> " + hex(held);
    }
    return out;
}

// Warns about each cell the table gives back other than written (the weekday
// is not held: a Save writes "*"); answers whether any is.
bool check_table_texts(const CronEntry& entry, Cp932TableText table_text, Checker& checker)
{
    const std::array<std::pair<CheckField, const char*>, 6> cells = {{{CheckField::MINUTE, entry.minute},
                                                                      {CheckField::HOUR, entry.hour},
                                                                      {CheckField::DAY, entry.day},
                                                                      {CheckField::MONTH, entry.month},
                                                                      {CheckField::COMMAND, entry.command},
                                                                      {CheckField::OPTION, entry.option}}};
    bool changed = false;
    for (const auto& [field, text] : cells) {
        const std::string held = table_text(text);
        if (held == text) continue;
        changed = true;
        std::string warning =
            checker.say(Message::CELL_HELD, {check_quoted(text), check_quoted(held), changed_codes(text, table_text)});
        int written = 0, kept = 0;
        const std::string before = quoted_words(text, written), after = quoted_words(held, kept);
        if (written != kept) warning += checker.say(Message::CELL_WORDS, {before, after});
        checker.warn(field, std::move(warning));
    }
    return changed;
}

}  // namespace

void check_crontab_line(const char* line, int length, int number, int dropped, const ClockTime& from, int run_count,
                        LineCheck& out, Language language, Cp932TableText table_text)
{
    Checker checker{out, language};
    out.number = number;
    out.warnings.clear();
    out.notes.clear();
    out.runs.clear();
    out.runs_asked = 0;
    out.runs_nothing = false;
    horizon_of(from, out.horizon_cut);
    out.has_nul = std::memchr(line, '\0', static_cast<std::size_t>(length)) != nullptr;
    out.save = SaveEffect::DROPPED;
    CrontabFieldLengths lengths;
    out.converted = scan_crontab_line(line, out.fields, lengths);

    if (dropped > 0) {
        checker.warn(CheckField::LINE, checker.say(Message::LONG_LINE, {std::to_string(CRONTAB_LINE_SIZE - 1 + dropped),
                                                                        std::to_string(CRONTAB_LINE_SIZE - 1)}));
    }
    checker.warn_full_width(out.converted);
    if (!is_entry(out)) {
        check_foreign_line(std::string_view(line, static_cast<std::size_t>(length)), checker,
                           checker.say(Message::ADDS_NO_ROW));
        return;
    }

    const CronEntry entry = entry_from_fields(out.fields);
    out.save = save_effect(entry, line, length, dropped);
    const std::array<const char*, 7> texts = {entry.minute,  entry.hour,    entry.day,   entry.month,
                                              entry.weekday, entry.command, entry.option};
    constexpr std::array<CheckField, 7> in_line_order = {CheckField::MINUTE, CheckField::HOUR,    CheckField::DAY,
                                                         CheckField::MONTH,  CheckField::WEEKDAY, CheckField::COMMAND,
                                                         CheckField::OPTION};
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (lengths[i] < CELL_TEXT_SIZE) continue;
        checker.warn(in_line_order[i], checker.say(Message::LONG_FIELD, {std::to_string(lengths[i]),
                                                                         std::to_string(std::strlen(texts[i]))}));
    }
    if (check_table_texts(entry, table_text, checker)) out.save = SaveEffect::CHANGED;

    const std::size_t first_pattern_warning = out.warnings.size();
    bool every_field_possible = true;
    for (std::size_t i = 0; i < time_fields.size(); ++i) {
        every_field_possible = checker.check_time_field(texts[i], time_fields[i]) && every_field_possible;
    }
    if (std::strcmp(entry.weekday, "*") != 0) {
        checker.warn(CheckField::WEEKDAY, checker.say(Message::WEEKDAY_IGNORED, {check_quoted(entry.weekday)}));
    }
    const bool known = checker.check_command(entry.command, entry.option);
    out.runs_nothing = !known;

    // Even with no runs asked for, one is looked for to tell an entry that never runs.
    const int wanted = run_count > 0 ? run_count : 1;
    out.runs_asked = run_count;
    out.runs.resize(static_cast<std::size_t>(wanted));
    const int found = next_runs(entry, from, out.runs.data(), wanted);
    const ClockTime first_run = out.runs[0];
    out.runs.resize(run_count > 0 ? static_cast<std::size_t>(found) : 0);
    const bool meet = day_and_month_meet(entry.day, entry.month);
    const std::string horizon = horizon_text(out.horizon_cut, language);
    if (found == 0 && every_field_possible && !meet) {
        checker.warn(CheckField::DAY,
                     checker.say(Message::NEVER_MEET, {check_quoted(entry.day), check_quoted(entry.month)}));
    } else if (found == 0 && every_field_possible) {
        checker.warn(CheckField::DAY,
                     checker.say(Message::NO_RUN_YET, {horizon, check_quoted(entry.day), check_quoted(entry.month)}));
    }

    // "#" or "@" in front reads as a comment or a schedule to a person, so the
    // line gets one warning that says what the program makes of it, not one
    // per field: whether it runs follows from the runs found, so the verdict
    // and the runs listed never disagree.
    if (entry.minute[0] == '@') {
        out.warnings.resize(first_pattern_warning);
        out.notes.clear();
        const int skipped = report_time_field(entry.minute).first_item;
        const std::string word = check_quoted(entry.minute);
        const std::string before =
            check_quoted(std::string_view(entry.minute, static_cast<std::size_t>(skipped > 0 ? skipped : 0)));
        if (found > 0 && known) {
            checker.warn(CheckField::LINE, checker.say(Message::AT_RUNS, {word, before, checker.schedule_words(entry),
                                                                          format_check_time(first_run)}));
        } else if (found > 0) {
            checker.warn(CheckField::LINE, checker.say(Message::AT_RUNS_NOTHING,
                                                       {word, before, checker.schedule_words(entry),
                                                        format_check_time(first_run), check_quoted(entry.command)}));
        } else {
            const bool later = every_field_possible && meet;
            check_foreign_line(std::string_view(line, static_cast<std::size_t>(length)), checker,
                               later ? checker.say(Message::ROW_NOT_YET, {horizon})
                                     : checker.say(Message::ROW_NEVER_RUNS));
        }
    } else if (entry.minute[0] == '#') {
        std::string fate = checker.say(Message::HASH_NEVER_RUNS);
        if (every_field_possible && meet && found == 0) fate = checker.say(Message::HASH_NOT_YET, {horizon});
        if (found > 0 && known) fate = checker.say(Message::HASH_RUNS, {format_check_time(first_run)});
        if (found > 0 && !known) {
            fate = checker.say(Message::HASH_RUNS_NOTHING, {format_check_time(first_run), check_quoted(entry.command)});
        }
        out.warnings.resize(first_pattern_warning);
        out.notes.clear();
        checker.warn(CheckField::LINE, checker.say(Message::HASH_LINE, {fate}));
    }
}

CheckTotals check_crontab(LineReader* reader, const ClockTime& from, int run_count, LineCheckSink sink, void* context,
                          Language language, Cp932TableText table_text)
{
    CheckTotals totals;
    std::array<char, CRONTAB_LINE_SIZE> line;
    int dropped = 0;
    int kept = 0;
    std::string mark;
    int nul_lines = 0;
    int first_nul_line = 0;
    int first_utf8_line = 0;
    EncodingScore file_score;
    LineCheck check;
    while (read_crontab_line(reader, line, dropped, kept) != nullptr) {
        const std::string_view text(line.data(), static_cast<std::size_t>(kept));
        if (totals.lines == 0 && text.starts_with("\xEF\xBB\xBF")) mark = "UTF-8";
        if (totals.lines == 0 && (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))) mark = "UTF-16";
        check_crontab_line(line.data(), kept, ++totals.lines, dropped, from, run_count, check, language, table_text);
        const EncodingScore score = score_encodings(text);
        file_score.utf8 += score.utf8;
        file_score.shift_jis += score.shift_jis;
        if (first_utf8_line == 0 && score.utf8 > score.shift_jis) first_utf8_line = check.number;
        if (is_entry(check)) ++totals.entries;
        if (check.has_nul && nul_lines++ == 0) first_nul_line = check.number;
        if (check.save == SaveEffect::DROPPED) ++totals.save_dropped;
        if (check.save == SaveEffect::CHANGED) ++totals.save_changed;
        totals.warnings += static_cast<int>(check.warnings.size());
        if (sink != nullptr) sink(check, context);
    }

    auto file_warning = [&totals, language](Message name, Message message,
                                            std::initializer_list<std::string_view> args = {}) {
        totals.file_warnings.push_back(say(language, message, args));
        totals.file_warning_names.push_back(say(language, name));
    };
    if (mark == "UTF-8") file_warning(Message::NAME_BOM, Message::BOM_UTF8);
    if (mark == "UTF-16") file_warning(Message::NAME_BOM, Message::BOM_UTF16);
    // The whole file is one encoding: UTF-8 when that reading scores higher.
    if (mark.empty() && file_score.utf8 > file_score.shift_jis && first_utf8_line > 0) {
        file_warning(Message::NAME_UTF8, Message::UTF8_TEXT, {std::to_string(first_utf8_line)});
    }
    if (nul_lines > 0) {
        file_warning(Message::NAME_NUL, nul_lines == 1 ? Message::NUL_ONE_LINE : Message::NUL_LINES,
                     {std::to_string(nul_lines), std::to_string(first_nul_line)});
    }
    if (totals.entries == 0) {
        file_warning(Message::NAME_NO_ENTRY, totals.lines == 0 ? Message::FILE_EMPTY : Message::NO_ENTRY, {"0"});
    }
    const std::vector<std::string>& file = totals.file_warnings;
    totals.warnings += static_cast<int>(file.size());
    return totals;
}
