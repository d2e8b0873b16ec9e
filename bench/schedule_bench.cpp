// Costs of the schedule core on the paths that run every minute (matching
// rows) and at load time (parsing patterns, reading the crontab file).
#include <benchmark/benchmark.h>

#include <string>

#include "schedule/line_reader.h"
#include "schedule/time_pattern.h"
#include "tests/support/memory_stream.h"

namespace {

// 2026-12-06 19:42, a Sunday.
constexpr ClockTime bench_clock = {2026, 12, 0, 6, 19, 42, 0, 0};

void row_missing_at_the_minute(benchmark::State& state)
{
    CronEntry entry{"*", "*", "*", "*", "0,15,30,45", "NoAction", ""};
    for (auto _ : state) {
        benchmark::DoNotOptimize(entry);
        benchmark::DoNotOptimize(entry_is_due(bench_clock, entry));
    }
}
BENCHMARK(row_missing_at_the_minute);

void row_matching_all_five_fields(benchmark::State& state)
{
    CronEntry entry{"0-6", "1-12", "1,6,11-20", "8-20", "0-59", "System", "notepad.exe"};
    if (!entry_is_due(bench_clock, entry)) state.SkipWithError("the row should be due");
    for (auto _ : state) {
        benchmark::DoNotOptimize(entry);
        benchmark::DoNotOptimize(entry_is_due(bench_clock, entry));
    }
}
BENCHMARK(row_matching_all_five_fields);

std::string every_minute_listed()
{
    std::string text;
    for (int n = 0; n < 60; ++n) text += (n ? "," : "") + std::to_string(n);
    return text;
}

void parse_long_list(benchmark::State& state)
{
    const std::string text = every_minute_listed();
    for (auto _ : state) {
        TimeFieldSet set;
        parse_time_field(text.c_str(), set);
        benchmark::DoNotOptimize(set);
    }
}
BENCHMARK(parse_long_list);

void parse_ranges(benchmark::State& state)
{
    const char* text = "0-4,6-10,12-16,18-22,24-28,30-34,36-40,42-46,48-52,54-58";
    for (auto _ : state) {
        TimeFieldSet set;
        parse_time_field(text, set);
        benchmark::DoNotOptimize(set);
    }
}
BENCHMARK(parse_ranges);

// About 16 MiB of crontab lines with a mix of line ends.
std::string crontab_text()
{
    const char* rows[] = {
        "0 * * * * NoAction\r\n",
        "*/5 8-18 * 1-12 * System notepad.exe C:\\work\\notes.txt\r\n",
        "30 12 1,15 * * SetWP -t C:\\pictures\\*.bmp C:\\more\\*.bmp\n",
        "# a comment line that the loader skips, kept long to vary the lengths\n",
    };
    std::string text;
    text.reserve(16u << 20);
    for (int k = 0; text.size() < (16u << 20); ++k) text += rows[k % 4];
    return text;
}

void reader_gets_throughput(benchmark::State& state)
{
    MemoryStreamState memory(crontab_text());
    char line[2048];
    for (auto _ : state) {
        memory.read_calls = 0;
        LineReader* reader = reader_open(memory_stream_open(memory), READER_MODE_READ);
        int lines = 0;
        while (reader_gets(reader, line, sizeof line)) ++lines;
        reader_close(reader);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(memory.data.size()));
}
BENCHMARK(reader_gets_throughput)->Unit(benchmark::kMillisecond);

}  // namespace
