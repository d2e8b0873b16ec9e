// Loads a 10,000-line crontab into a real table window, saves it, and runs the
// due pass over it at a minute when few rows are due; prints the times. The
// load and the save are the program's own (load_crontab, save_crontab_file);
// the reading and scanning of the lines alone, with no table, is timed too.
// Usage: crontab_bench.exe
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "schedule/crontab_line.h"
#include "schedule/line_reader.h"
#include "schedule/win32/crontab_file.h"
#include "schedule/win32/file_stream.h"
#include "schedule/win32/crontab_save.h"
#include "schedule/win32/due_pass.h"
#include "table/table_messages.h"
#include "table/win32/table_window.h"

#include "bench_clock.h"

namespace {

constexpr int LINES = 10000;

HWND create_table()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CrontabBenchParent";
    RegisterClassA(&wc);
    register_table_class();
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    HWND table = CreateWindowExA(0, WC_TAVETABLE, "", WS_CHILD | WS_VISIBLE, 0, 0, 580, 380, parent,
                                 reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
    for (int c = 0; c < COLUMN_COUNT; ++c) {
        char title[] = "column";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 80;
        column.pszText = title;
        SendMessageA(table, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
    }
    return table;
}

// Rows spread over minutes, hours, days and months, so that at one clock time
// only a handful are due; every command is NoAction.
std::string crontab_text()
{
    std::string text;
    char line[256];
    for (int i = 0; i < LINES; ++i) {
        wsprintfA(line, "%d %d %d,%d %d * NoAction option text of row %d\r\n", i % 60, (i / 60) % 24, i % 28 + 1,
                  (i + 7) % 28 + 1, (i / 7) % 12 + 1, i);
        text += line;
    }
    return text;
}

bool write_file(const char* path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

// This thread's processor time in milliseconds: less moved than the clock by
// other programs on a busy machine.
double thread_cpu_ms()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ms = [](FILETIME t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// The program's load: the file read whole, then the rows replaced with redraw off.
double timed_load(HWND table, const char* path, int* loaded, double* cpu_ms)
{
    const double start = now_ms();
    const double cpu_start = thread_cpu_ms();
    *loaded = load_crontab(table, path);
    *cpu_ms = thread_cpu_ms() - cpu_start;
    return now_ms() - start;
}

// The reader and the scanner alone: every line read and cut into fields.
double timed_read(const char* path, int* entries)
{
    const double start = now_ms();
    *entries = 0;
    OwnedFileStream stream(stream_open_file(path, 0, 0));
    if (!stream) return 0;
    OwnedLineReader reader(&stream.release()->head, READER_MODE_READ);
    if (!reader) return 0;
    std::array<char, CRONTAB_LINE_SIZE> line;
    CrontabFields fields;
    while (const char* text = read_crontab_line(reader.get(), line)) {
        if (scan_crontab_line(text, fields) >= 6) ++*entries;
    }
    reader.close();
    return now_ms() - start;
}

}  // namespace

int main()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string in_path = std::string(folder) + "crontab_bench_in.tab";
    const std::string out_path = std::string(folder) + "crontab_bench_out.tab";
    const std::string text = crontab_text();
    if (!write_file(in_path.c_str(), text)) {
        std::printf("cannot write %s\n", in_path.c_str());
        return 1;
    }
    HWND table = create_table();
    if (table == nullptr) {
        std::printf("cannot create the table\n");
        return 1;
    }

    int read_entries = 0, loaded = 0;
    const double read_ms = timed_read(in_path.c_str(), &read_entries);
    // The program's load, LOADS times: the median of each figure.
    constexpr int LOADS = 5;
    std::array<double, LOADS> load_times{}, load_cpu_times{};
    for (int i = 0; i < LOADS; ++i) {
        load_times[i] = timed_load(table, in_path.c_str(), &loaded, &load_cpu_times[i]);
    }
    std::sort(load_times.begin(), load_times.end());
    std::sort(load_cpu_times.begin(), load_cpu_times.end());
    const double load_ms = load_times[LOADS / 2], load_cpu_ms = load_cpu_times[LOADS / 2];

    double start = now_ms();
    const int saved = save_crontab_file(table, out_path.c_str()) != 0 ? loaded : 0;
    const double save_ms = now_ms() - start;

    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 5;
    time.wDay = 17;
    time.wHour = 3;
    time.wMinute = 20;
    constexpr int PASSES = 10;
    double best_ms = 1e9, total_ms = 0;
    for (int i = 0; i < PASSES; ++i) {
        start = now_ms();
        run_due_entries(table, time);
        const double ms = now_ms() - start;
        total_ms += ms;
        if (ms < best_ms) best_ms = ms;
    }

    std::printf("[%s] rows loaded: %d, rows saved: %d, file %u bytes\n", BENCH_BUILD, loaded, saved,
                static_cast<unsigned>(text.size()));
    std::printf("[%s] load, %d lines into a real table, as the program loads: median %.1f ms "
                "(range %.1f-%.1f, %.0f ms processor) of %d loads\n",
                BENCH_BUILD, LINES, load_ms, load_times[0], load_times[LOADS - 1], load_cpu_ms, LOADS);
    std::printf("[%s] reading and scanning %d lines alone, no table: %.1f ms (%d entries)\n", BENCH_BUILD, LINES,
                read_ms, read_entries);
    std::printf("[%s] save_crontab_file, %d rows: %.1f ms\n", BENCH_BUILD, saved, save_ms);
    std::printf("[%s] run_due_entries over %d rows: best %.2f ms, mean %.2f ms of %d passes\n", BENCH_BUILD, loaded,
                best_ms, total_ms / PASSES, PASSES);
    DeleteFileA(in_path.c_str());
    DeleteFileA(out_path.c_str());
    return 0;
}
