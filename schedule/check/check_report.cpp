// The checker's reports as text: one line's report and the file's summary.
#include <array>
#include <cstdio>

#include "schedule/check/crontab_check.h"

namespace {

std::string counted(Language language, int n, Message one, Message many)
{
    return say(language, n == 1 ? one : many, {std::to_string(n)});
}

}  // namespace

const char* check_field_name(CheckField field)
{
    constexpr std::array<const char*, 8> names = {"minute",  "hour",    "day",    "month",
                                                  "weekday", "command", "option", "line"};
    return names[static_cast<std::size_t>(field)];
}

std::string check_field_word(CheckField field, Language language)
{
    return say(language, static_cast<Message>(static_cast<int>(Message::FIELD_MINUTE) + static_cast<int>(field)));
}

std::string format_line_warnings(const LineCheck& c, Language language)
{
    const std::string head = std::to_string(c.number) + ": ";
    std::string out;
    for (const CheckWarning& w : c.notes) {
        out += head + say(language, Message::NOTE, {check_field_word(w.field, language), w.text}) + "\n";
    }
    for (const CheckWarning& w : c.warnings) {
        out += head + say(language, Message::WARNING, {check_field_word(w.field, language), w.text}) + "\n";
    }
    return out;
}

std::string format_line_check(const LineCheck& c, Language language)
{
    const std::string head = std::to_string(c.number) + ": ";
    std::string out;
    if (!is_entry(c)) {
        if (c.converted == 0) {
            out += head + say(language, Message::SKIPPED_BLANK) + "\n";
        } else {
            out += head +
                   say(language, c.converted == 1 ? Message::SKIPPED_ONE_WORD : Message::SKIPPED_WORDS,
                       {std::to_string(c.converted)}) +
                   (c.fields.minute[0] == '#' ? say(language, Message::SKIPPED_HASH) : "") + "\n";
        }
    } else {
        const CrontabFields& f = c.fields;
        out += head +
               say(language, Message::ENTRY,
                   {f.minute.data(), f.hour.data(), f.day.data(), f.month.data(), f.command.data(), f.option.data()}) +
               "\n";
    }
    out += format_line_warnings(c, language);
    if (is_entry(c) && c.runs_asked > 0) {
        std::string runs;
        for (std::size_t i = 0; i < c.runs.size(); ++i) runs += (i > 0 ? ", " : "") + format_check_time(c.runs[i]);
        if (static_cast<int>(c.runs.size()) < c.runs_asked) {
            runs += say(language, c.runs.empty() ? Message::NEXT_NEVER : Message::NEXT_THEN_NONE,
                        {horizon_text(c.horizon_cut, language)});
        }
        out += head + say(language, c.runs_nothing ? Message::NEXT_RUNS_NOTHING : Message::NEXT, {runs}) + "\n";
    }
    return out;
}

std::string format_file_warnings(std::string_view path, const CheckTotals& t, Language language)
{
    std::string out;
    for (const std::string& w : t.file_warnings) {
        out += std::string(path) + ": " + say(language, Message::FILE_WARNING, {w}) + "\n";
    }
    return out;
}

std::string format_file_check(std::string_view path, const CheckTotals& t, Language language)
{
    const std::string head = std::string(path) + ": ";
    std::string names;
    for (const std::string& name : t.file_warning_names) names += (names.empty() ? "" : ", ") + name;
    std::string out;
    out += head +
           say(language, Message::SUMMARY,
               {counted(language, t.lines, Message::COUNT_LINE, Message::COUNT_LINES),
                counted(language, t.entries, Message::COUNT_ENTRY, Message::COUNT_ENTRIES),
                std::to_string(t.lines - t.entries),
                counted(language, t.warnings, Message::COUNT_WARNING, Message::COUNT_WARNINGS)}) +
           (names.empty() ? "" : say(language, Message::FILE_NAMES, {names})) +
           (t.entries == 0 ? say(language, Message::SUMMARY_NO_ROWS, {"0"}) : "") + "\n";
    out += head +
           say(language, Message::SAVE_EFFECT,
               {counted(language, t.save_dropped, Message::COUNT_LINE, Message::COUNT_LINES),
                counted(language, t.save_changed, Message::COUNT_LINE, Message::COUNT_LINES)}) +
           "\n";
    return out;
}
