// tavecron-check: explains each line of a crontab file as TaveCron reads it,
// with warnings and the next run times of every entry.
//
//   tavecron-check [--next N] [--from "YYYY-MM-DD HH:MM"] [crontab-file]
//
// The file (default "cron.tab" in the current directory, where TaveCron
// itself takes the one beside the program) is read with the program's own
// reader and line scan. Runs are shown from the --from minute on, that minute
// included; without --from, from the minute after the current local time (the
// program never runs an entry in the minute it sees first). Output: the lines
// described in schedule/crontab_check.h, then the file's warnings and the
// summary. Exit status: 0 without warnings, 1 with warnings, 2 when the
// arguments are wrong, the file cannot be read or the report cannot be written.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include <sys/stat.h>

#include "schedule/crontab_check.h"
#include "schedule/stdio_stream.h"

namespace {

constexpr int EXIT_CLEAN = 0;
constexpr int EXIT_WARNINGS = 1;
constexpr int EXIT_TROUBLE = 2;
constexpr int MAX_RUNS = 1000;

constexpr const char* USAGE =
    "usage: tavecron-check [--next N] [--from \"YYYY-MM-DD HH:MM\"] [crontab-file]\n"
    "  Explains each line of the crontab file as TaveCron reads it. The default file is\n"
    "  cron.tab in the current folder (TaveCron itself loads the one beside tavecron.exe).\n"
    "  --next N   show the next N run times of each entry (0 to 1000, default 3)\n"
    "  --from T   look for runs from local time T on (default: the next minute)\n"
    "  --version  print the version\n"
    "  Exit status: 0 no warning, 1 warnings, 2 bad arguments, unreadable file or lost report.\n";

struct Arguments {
    int run_count = 3;
    const char* from = nullptr;
    const char* path = "cron.tab";
};

int trouble(const char* what, const char* detail)
{
    std::fprintf(stderr, "tavecron-check: %s%s\n%s", what, detail, USAGE);
    return EXIT_TROUBLE;
}

// A whole decimal number from 0 to MAX_RUNS, nothing else.
bool parse_count(const char* text, int& count)
{
    if (*text == '\0' || std::strlen(text) > 4) return false;
    int value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
    }
    if (value > MAX_RUNS) return false;
    count = value;
    return true;
}

// Exactly "YYYY-MM-DD HH:MM" naming a real date and time.
bool parse_from(const char* text, ClockTime& out)
{
    if (std::strlen(text) != 16) return false;
    for (int i = 0; i < 16; ++i) {
        const char expected = i == 4 || i == 7 ? '-' : i == 10 ? ' ' : i == 13 ? ':' : '0';
        if (expected == '0' ? (text[i] < '0' || text[i] > '9') : text[i] != expected) return false;
    }
    auto number = [text](int at, int digits) {
        int value = 0;
        for (int i = 0; i < digits; ++i) value = value * 10 + (text[at + i] - '0');
        return value;
    };
    return make_clock_time(number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), out);
}

bool local_now(ClockTime& out)
{
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::localtime(&now);
    return t != nullptr && make_clock_time(t->tm_year + 1900, t->tm_mon + 1, t->tm_mday, t->tm_hour, t->tm_min, out);
}

// Answers -1 when the arguments are fine, else the exit status.
int parse_arguments(int argc, char** argv, Arguments& args)
{
    bool path_given = false;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!options_end && arg[0] == '-' && arg[1] != '\0') {
            if (std::strcmp(arg, "--") == 0) {
                options_end = true;
            } else if (std::strcmp(arg, "--version") == 0) {
                std::puts("tavecron-check " TAVECRON_VERSION);
                return EXIT_CLEAN;
            } else if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
                std::fputs(USAGE, stdout);
                return EXIT_CLEAN;
            } else if (std::strcmp(arg, "--next") == 0) {
                if (++i == argc) return trouble("--next needs a number", "");
                if (!parse_count(argv[i], args.run_count))
                    return trouble("--next needs a number from 0 to 1000, not ", argv[i]);
            } else if (std::strcmp(arg, "--from") == 0) {
                if (++i == argc) return trouble("--from needs a time", "");
                args.from = argv[i];
            } else {
                return trouble("unknown option ", arg);
            }
        } else if (path_given) {
            return trouble("more than one crontab file: ", arg);
        } else {
            args.path = arg;
            path_given = true;
        }
    }
    return -1;
}

void print_check(const LineCheck& check, void*)
{
    const std::string text = format_line_check(check);
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments args;
    const int status = parse_arguments(argc, argv, args);
    if (status >= 0) return status;

    ClockTime from{};
    if (args.from != nullptr) {
        if (!parse_from(args.from, from))
            return trouble("--from needs a real local time as \"YYYY-MM-DD HH:MM\" (years 1601-9999), not ", args.from);
    } else {
        if (!local_now(from)) return trouble("the local time cannot be read", "");
        from = next_minute(from);
    }

    // A folder opens as a file in some C libraries and refuses reads, or fails
    // to open with a reason that names no folder; say what it is.
    struct stat info {};
    if (stat(args.path, &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "tavecron-check: cannot read %s: it is a folder, not a file\n", args.path);
        return EXIT_TROUBLE;
    }
    Stream* stream = stdio_stream_open(args.path);
    if (stream == nullptr) {
        std::fprintf(stderr, "tavecron-check: cannot open %s: %s\n", args.path, std::strerror(errno));
        return EXIT_TROUBLE;
    }
    LineReader* reader = reader_open(stream, READER_MODE_READ);
    if (reader == nullptr) {
        stream->ops->close(stream);
        std::fprintf(stderr, "tavecron-check: out of memory\n");
        return EXIT_TROUBLE;
    }
    const CheckTotals totals = check_crontab(reader, from, args.run_count, print_check, nullptr);
    const int read_error = errno;
    const bool failed = stdio_stream_failed(stream) != 0;
    reader_close(reader);
    if (failed) {
        std::fprintf(stderr, "tavecron-check: cannot read %s: %s\n", args.path, std::strerror(read_error));
        return EXIT_TROUBLE;
    }
    const std::string summary = format_file_check(args.path, totals);
    std::fwrite(summary.data(), 1, summary.size(), stdout);
    // A report that did not reach its file (a full disk, a closed pipe) must
    // not pass for a clean check.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "tavecron-check: cannot write the report\n");
        return EXIT_TROUBLE;
    }
    return totals.warnings > 0 ? EXIT_WARNINGS : EXIT_CLEAN;
}
