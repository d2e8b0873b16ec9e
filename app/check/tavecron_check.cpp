// tavecron-check: explains each line of a crontab file as TaveCron reads it,
// with warnings and the next run times of every entry, or lists every run of
// a span of time.
//
//   tavecron-check [--next N] [--from T] [--lang ja|en] [--folder DIR] [crontab-file]
//   tavecron-check --agenda [--from T] [--until T] [--max N] [--lang ja|en] [--folder DIR] [crontab-file]
//
// T is "YYYY-MM-DD HH:MM" or a time alone, "HH:MM": today at that time for
// --from, the first such time after --from for --until (so "--from 18:00
// --until 06:00" is tonight).
//
// The file (default "cron.tab" in the current directory, where TaveCron
// itself takes the one beside the program) is read with the program's own
// reader and line scan. Runs are shown from the --from minute on, that minute
// included; without --from, from the minute after the current local time (the
// program never runs an entry in the minute it sees first). Output: the lines
// described in schedule/check/crontab_check.h after the file's warnings, then the
// summary; with --agenda, the file's warnings, the runs described in
// schedule/check/check_agenda.h, the lines' warnings and the summary. What the
// table gives back of each cell is what the system's code page 932
// conversion gives on Windows, and its model (base/cp932.h) elsewhere. Texts are Japanese or English (--lang, else
// the user's language); numbers, times and the file's cells are the same in
// both. The Windows build also looks on the disk for the programs and
// pictures of System and SetWP entries, from --folder DIR or its own folder,
// as the program finds them from its folder; a native build says once that it
// cannot. Exit status: 0 without warnings, 1 with warnings, 2 when the
// arguments are wrong, the file cannot be read or the report cannot be written.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include <sys/stat.h>

#include "app/check/disk_view.h"
#include "app/check/table_text.h"
#include "app/check/user_language.h"
#include "schedule/check/check_agenda.h"
#include "schedule/check/crontab_check.h"
#include "schedule/check/stdio_stream.h"

namespace {

constexpr int EXIT_CLEAN = 0;
constexpr int EXIT_WARNINGS = 1;
constexpr int EXIT_TROUBLE = 2;
constexpr int MAX_RUNS = 1000;

struct Arguments {
    Language language = Language::ENGLISH;
    int run_count = 3;
    bool agenda = false;
    int most = AGENDA_DEFAULT_RUNS;
    bool most_given = false;
    const char* from = nullptr;
    const char* until = nullptr;
    const char* path = "cron.tab";
    const char* folder = nullptr;  // where the program's relative paths start
};

std::string usage(Language language)
{
    return say(language, Message::USAGE,
               {std::to_string(MAX_RUNS), std::to_string(AGENDA_MOST_RUNS), std::to_string(AGENDA_DEFAULT_RUNS)});
}

int trouble(Language language, Message message, std::initializer_list<std::string_view> args = {})
{
    std::fprintf(stderr, "tavecron-check: %s\n%s", say(language, message, args).c_str(), usage(language).c_str());
    return EXIT_TROUBLE;
}

// A trouble with the file or the report: no usage after it.
int failure(Language language, Message message, std::initializer_list<std::string_view> args = {})
{
    std::fprintf(stderr, "tavecron-check: %s\n", say(language, message, args).c_str());
    return EXIT_TROUBLE;
}

// A whole decimal number from `low` to `high` (at most 100000), nothing else.
bool parse_count(const char* text, int low, int high, int& count)
{
    if (*text == '\0' || std::strlen(text) > 6) return false;
    int value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
    }
    if (value < low || value > high) return false;
    count = value;
    return true;
}

bool local_now(ClockTime& out)
{
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::localtime(&now);
    return t != nullptr && make_clock_time(t->tm_year + 1900, t->tm_mon + 1, t->tm_mday, t->tm_hour, t->tm_min, out);
}

// The language first, so that every other trouble is told in it: the last
// --lang given, else the user's. Answers -1 when every --lang names one, else
// the exit status, after a message that names the text given (or says that
// none was), in the language chosen so far.
int choose_language(int argc, char** argv, Arguments& args)
{
    args.language = user_language();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (std::strcmp(argv[i], "--lang") != 0) continue;
        if (i + 1 == argc) return trouble(args.language, Message::NEEDS_LANGUAGE);
        const char* name = argv[++i];
        if (std::strcmp(name, "ja") == 0) {
            args.language = Language::JAPANESE;
        } else if (std::strcmp(name, "en") == 0) {
            args.language = Language::ENGLISH;
        } else {
            return trouble(args.language, Message::LANGUAGE_BAD, {name});
        }
    }
    return -1;
}

// Answers -1 when the arguments are fine, else the exit status.
int parse_arguments(int argc, char** argv, Arguments& args)
{
    const Language language = args.language;
    bool path_given = false;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!options_end && arg[0] == '-' && arg[1] != '\0') {
            const bool has_value = i + 1 < argc;
            if (std::strcmp(arg, "--") == 0) {
                options_end = true;
            } else if (std::strcmp(arg, "--version") == 0) {
                std::puts("tavecron-check " TAVECRON_VERSION);
                return EXIT_CLEAN;
            } else if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
                std::fputs(usage(language).c_str(), stdout);
                return EXIT_CLEAN;
            } else if (std::strcmp(arg, "--lang") == 0) {
                ++i;  // read by choose_language
            } else if (std::strcmp(arg, "--agenda") == 0) {
                args.agenda = true;
            } else if (std::strcmp(arg, "--next") == 0 || std::strcmp(arg, "--max") == 0) {
                const bool next = arg[2] == 'n';
                if (!has_value) return trouble(language, Message::NEEDS_NUMBER, {arg});
                ++i;
                if (next && !parse_count(argv[i], 0, MAX_RUNS, args.run_count)) {
                    return trouble(language, Message::NEXT_RANGE, {std::to_string(MAX_RUNS), argv[i]});
                }
                if (!next && !parse_count(argv[i], 1, AGENDA_MOST_RUNS, args.most)) {
                    return trouble(language, Message::MAX_RANGE, {std::to_string(AGENDA_MOST_RUNS), argv[i]});
                }
                args.most_given = args.most_given || !next;
            } else if (std::strcmp(arg, "--folder") == 0) {
                if (!has_value) return trouble(language, Message::NEEDS_FOLDER, {arg});
                args.folder = argv[++i];
            } else if (std::strcmp(arg, "--from") == 0 || std::strcmp(arg, "--until") == 0) {
                if (!has_value) return trouble(language, Message::NEEDS_TIME, {arg});
                (arg[2] == 'f' ? args.from : args.until) = argv[++i];
            } else {
                return trouble(language, Message::UNKNOWN_OPTION, {arg});
            }
        } else if (path_given) {
            return trouble(language, Message::TWO_FILES, {arg});
        } else {
            args.path = arg;
            path_given = true;
        }
    }
    return -1;
}

// What the disk adds to the lines' warnings (schedule/check/check_disk.h).
struct DiskSink {
    DiskProbe* probe;
    int warnings = 0;

    LineCheck amended(const LineCheck& check, Language language)
    {
        LineCheck out = check;
        warnings += check_on_disk(out, probe, language);
        return out;
    }
};

// Collects the lines' reports, which follow the file's warnings.
struct ReportSink {
    Language language;
    DiskSink disk;
    std::string lines;
};

void collect_check(const LineCheck& check, void* context)
{
    ReportSink& sink = *static_cast<ReportSink*>(context);
    sink.lines += format_line_check(sink.disk.amended(check, sink.language), sink.language);
}

// Collects the entries for the agenda and the warnings to show after it.
struct AgendaSink {
    Language language;
    DiskSink disk;
    std::vector<AgendaEntry> entries;
    std::string warnings;
};

void collect_entry(const LineCheck& check, void* context)
{
    AgendaSink& sink = *static_cast<AgendaSink*>(context);
    if (is_entry(check)) sink.entries.push_back(AgendaEntry{check.number, check.fields, check.runs_nothing});
    sink.warnings += format_line_warnings(sink.disk.amended(check, sink.language), sink.language);
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments args;
    const int language_status = choose_language(argc, argv, args);
    if (language_status >= 0) return language_status;
    const Language language = args.language;
    const int status = parse_arguments(argc, argv, args);
    if (status >= 0) return status;

    // The clock is needed unless --from gives a date.
    ClockTime now{};
    if (!local_now(now) && (args.from == nullptr || std::strlen(args.from) != 16)) {
        return trouble(language, Message::CLOCK_UNREADABLE);
    }
    ClockTime from = next_minute(now);
    if (args.from != nullptr && !read_check_time(args.from, now, false, from)) {
        return trouble(language, Message::FROM_BAD, {args.from});
    }
    ClockTime until{};
    if (!args.agenda && (args.until != nullptr || args.most_given)) {
        return trouble(language, Message::OPTION_WITHOUT_AGENDA, {args.until != nullptr ? "--until" : "--max"});
    }
    if (args.agenda) {
        bool cut = false;
        const ClockTime horizon = horizon_of(from, cut);
        if (args.until == nullptr) {
            // A day on, or up to where the search stops when that comes first
            // (the end of the year 9999).
            until = from;
            for (int i = 0; i < 24 * 60 && minute_order(until) < minute_order(horizon); ++i) until = next_minute(until);
        } else if (!read_check_time(args.until, from, true, until)) {
            return trouble(language, Message::UNTIL_BAD, {args.until});
        } else if (minute_order(until) <= minute_order(from) || minute_order(until) > minute_order(horizon)) {
            // The span the next-run search looks at, so that counting what the
            // --max cut leaves out stays quick.
            return trouble(language, Message::UNTIL_ORDER, {format_check_time(horizon), args.until});
        }
    }

    // A folder opens as a file in some C libraries and refuses reads, or fails
    // to open with a reason that names no folder; say what it is.
    struct stat info {};
    if (stat(args.path, &info) == 0 && S_ISDIR(info.st_mode)) return failure(language, Message::IS_FOLDER, {args.path});
    Stream* stream = stdio_stream_open(args.path);
    if (stream == nullptr) {
        // The checker's own words, in the report's language, for the usual
        // reasons; the system's text would be English inside Japanese.
        const int error = errno;
        if (error == ENOENT) return failure(language, Message::NO_SUCH_FILE, {args.path});
        if (error == EACCES || error == EPERM) return failure(language, Message::NO_PERMISSION, {args.path});
        return failure(language, Message::CANNOT_OPEN, {args.path, std::to_string(error)});
    }
    OwnedLineReader reader(stream, READER_MODE_READ);
    if (!reader) return failure(language, Message::OUT_OF_MEMORY);
    // Entered only now: the crontab file's name is taken from where the user is.
    bool folder_bad = false;
    const std::unique_ptr<DiskProbe> probe = open_disk_probe(args.folder, folder_bad);
    if (folder_bad) return trouble(language, Message::FOLDER_BAD, {args.folder != nullptr ? args.folder : ""});
    AgendaSink agenda{language, {probe.get()}, {}, {}};
    ReportSink lines{language, {probe.get()}, {}};
    CheckTotals totals =
        args.agenda ? check_crontab(reader.get(), from, 0, collect_entry, &agenda, language, table_text())
                    : check_crontab(reader.get(), from, args.run_count, collect_check, &lines, language, table_text());
    totals.warnings += agenda.disk.warnings + lines.disk.warnings;
    const int read_error = errno;
    const bool failed = stdio_stream_failed(stream) != 0;
    reader.close();
    if (failed) return failure(language, Message::CANNOT_READ, {args.path, std::to_string(read_error)});
    // The file's warnings first, where they are seen: a file of the wrong
    // encoding garbles many lines after them.
    std::string report = format_file_warnings(args.path, totals, language);
    if (probe == nullptr) report += std::string(args.path) + ": " + say(language, Message::DISK_NOT_SEEN) + "\n";
    if (args.agenda) {
        std::vector<AgendaRun> runs;
        const std::int64_t total = list_agenda(agenda.entries, from, until, args.most, runs);
        report += format_agenda(agenda.entries, runs, total, from, until, language) + agenda.warnings;
    } else {
        report += lines.lines;
    }
    report += format_file_check(args.path, totals, language);
    std::fwrite(report.data(), 1, report.size(), stdout);
    // A report that did not reach its file (a full disk, a closed pipe) must
    // not pass for a clean check.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return failure(language, Message::CANNOT_WRITE);
    return totals.warnings > 0 ? EXIT_WARNINGS : EXIT_CLEAN;
}
