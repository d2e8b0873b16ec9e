// Loads a 10,000-line crontab into a real table window, saves it, and runs the
// due pass over it at a minute when few rows are due; prints the three times.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "schedule/win32/crontab_file.h"
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

    double start = now_ms();
    const int loaded = load_crontab(table, in_path.c_str());
    const double load_ms = now_ms() - start;

    HANDLE out =
        CreateFileA(out_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    start = now_ms();
    const int saved = save_crontab(table, out);
    const double save_ms = now_ms() - start;
    CloseHandle(out);

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
    std::printf("[%s] load_crontab, %d lines into a real table: %.1f ms\n", BENCH_BUILD, LINES, load_ms);
    std::printf("[%s] save_crontab, %d rows: %.1f ms\n", BENCH_BUILD, saved, save_ms);
    std::printf("[%s] run_due_entries over %d rows: best %.2f ms, mean %.2f ms of %d passes\n", BENCH_BUILD, loaded,
                best_ms, total_ms / PASSES, PASSES);
    DeleteFileA(in_path.c_str());
    DeleteFileA(out_path.c_str());
    return 0;
}
