// Random sessions on the real main window: seeded user actions, each posted to the window that would receive it and
// pumped through the accelerators, against a small model of the rows written from the table's rules and the menu
// commands; at the end File, Save and File, Open give back exactly the rows. TAVECRON_SESSION_SEEDS=FIRST:COUNT and
// TAVECRON_SESSION_STEPS widen the run (scripts/random-sessions.sh). A failing seed prints the shortest list of
// steps found that still fails.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "main_window_fixture.h"
#include "tests/support/win32/temp_folder.h"

namespace {

using namespace table_test;

struct Row {
    std::array<std::string, 6> cells;  // COL_MONTH .. COL_OPTION
    bool marked = false;
};

struct Model {
    std::vector<Row> rows;
    int current = 0, edit_row = -1, edit_column = 0;
    std::string edit_text;

    int count() const { return static_cast<int>(rows.size()); }
    void set_current(int row) { current = row >= 0 && row < count() ? row : current; }
    // The editor's text, cut to a cell and, in the time and command cells, at the first blank.
    void end_edit()
    {
        std::string text = edit_text.substr(0, CELL_TEXT_SIZE - 1);
        if (edit_column <= COL_COMMAND) text.resize(std::min(text.size(), text.find_first_of(" \t")));
        if (edit_row >= 0 && edit_row < count()) rows[edit_row].cells[edit_column] = text;
        edit_row = -1;
    }
    void begin_edit(int row, int column)
    {
        end_edit();
        if (row >= 0 && row < count()) edit_row = row, edit_column = column, edit_text = rows[row].cells[column];
    }
    void list_key(WPARAM key)
    {
        if (key == VK_TAB) begin_edit(current, 0);
        if (key == VK_SPACE && count() > 0) rows[current].marked = !rows[current].marked;
        if (key == VK_SPACE || key == VK_DOWN || key == VK_UP) set_current(current + (key == VK_UP ? -1 : 1));
    }
    void editor_key(WPARAM key)
    {
        int row = edit_row + (key == VK_DOWN) - (key == VK_UP), column = edit_column;
        if (key == VK_TAB) column == COL_OPTION ? (++row, column = 0) : ++column;
        if (key == VK_RETURN || key == VK_ESCAPE) end_edit();
        if (key != VK_TAB && key != VK_UP && key != VK_DOWN) return;  // the editor's own keys
        if (row >= 0 && row < count()) set_current(row), begin_edit(row, column);
    }
    void click(int row, int column)  // row -1: no cell
    {
        if (row < 0) return;
        row == current ? begin_edit(row, column) : end_edit();
        set_current(row);
    }
    void command(UINT id)
    {
        for (Row& row : rows) row.marked = id == IDM_INVERT ? !row.marked : id == IDM_SELECTALL || row.marked;
        if (id == IDM_SELECTALL || id == IDM_INVERT) return;
        end_edit();
        if (id == IDM_ADDITEM) rows.insert(rows.begin() + current, Row{{"0", "*", "*", "0", "NoAction", ""}});
        if (id >= IDM_CMD_NOACTION && id <= IDM_CMD_SETWP && count() > 0) {
            rows[current].cells[COL_COMMAND] = std::array{"NoAction", "System", "SetWP"}[id - IDM_CMD_NOACTION];
        }
        for (int i = count() - 1; id == IDM_CUT && i >= 0; --i) {
            if (rows[i].marked && (i < current || i == count() - 1)) current = std::max(current - 1, 0);
            if (rows[i].marked) rows.erase(rows.begin() + i);
        }
    }
    // The rows as a crontab file gives them back: empty time and command cells written as "-", the option
    // without its leading blanks, no marks, the first row current.
    void save_and_open()
    {
        end_edit();
        for (Row& row : rows) {
            for (int c = 0; c <= COL_COMMAND; ++c) row.cells[c] += row.cells[c].empty() ? "-" : "";
            std::string& option = row.cells[COL_OPTION];
            option.erase(0, std::min(option.size(), option.find_first_not_of(" \t")));
            row.marked = false;
        }
        current = 0;
    }
    std::string text() const
    {
        std::string out = "current row " + std::to_string(current) + ", edit row " + std::to_string(edit_row);
        if (edit_row >= 0) out += " column " + std::to_string(edit_column);
        for (const Row& row : rows) {
            out += row.marked ? "\n  * " : "\n    ";
            for (const std::string& cell : row.cells) out += cell + "|";
        }
        return out;
    }
};

enum Act { KEY, TYPE, CTRL, MENU, CELL, SPOT, HEADER, WHEEL };
struct Input {
    const char* name;
    Act act;
    unsigned code;  // the key, the command, or the wheel's turn
};
// Each as likely as the others.
// clang-format off
constexpr Input INPUTS[] = {
    {"Up", KEY, VK_UP}, {"Down", KEY, VK_DOWN}, {"PageUp", KEY, VK_PRIOR}, {"PageDown", KEY, VK_NEXT},
    {"Home", KEY, VK_HOME}, {"End", KEY, VK_END}, {"Left", KEY, VK_LEFT}, {"Right", KEY, VK_RIGHT},
    {"Tab", KEY, VK_TAB}, {"Tab", KEY, VK_TAB}, {"Space", KEY, VK_SPACE}, {"Return", KEY, VK_RETURN},
    {"Return", KEY, VK_RETURN}, {"Escape", KEY, VK_ESCAPE}, {"type", TYPE, 0}, {"type", TYPE, 0}, {"type", TYPE, 0},
    {"Ctrl+N", CTRL, IDM_ADDITEM}, {"Ctrl+X", CTRL, IDM_CUT}, {"Ctrl+A", CTRL, IDM_SELECTALL},
    {"Invert", MENU, IDM_INVERT}, {"Command NoAction", MENU, IDM_CMD_NOACTION},
    {"Command System", MENU, IDM_CMD_SYSTEM}, {"Command SetWP", MENU, IDM_CMD_SETWP}, {"test", MENU, IDM_TEST},
    {"click cell", CELL, 0}, {"click cell", CELL, 0}, {"click cell", CELL, 0}, {"click anywhere", SPOT, 0},
    {"click header", HEADER, 0}, {"wheel up", WHEEL, WHEEL_DELTA}, {"wheel down", WHEEL, 0x10000 - WHEEL_DELTA},
};
// clang-format on

struct Step {
    unsigned input, a, b;  // a, b: where, taken modulo what is there when the step runs
    std::string text;      // typed
};

std::vector<Step> generate(unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::vector<Step> steps(count);
    for (Step& step : steps) {
        step = {static_cast<unsigned>(random() % std::size(INPUTS)), static_cast<unsigned>(random() % 1000),
                static_cast<unsigned>(random() % 1000), std::string(1 + random() % 6, ' ')};
        for (char& c : step.text) c = "ab1*,- "[random() % 7];
    }
    return steps;
}

std::string describe(const Step& s)
{
    const Act act = INPUTS[s.input].act;
    return INPUTS[s.input].name + (act == TYPE                  ? " \"" + s.text + "\""
                                   : act == CELL || act == SPOT ? " " + std::to_string(s.a) + "," + std::to_string(s.b)
                                   : act == HEADER              ? " " + std::to_string(s.a % 6)
                                                                : "");
}

// One session on a fresh main window, shown at 640 x 300 (some rows below the visible page) with eight rows,
// rows 2 and 5 marked, and a watch that ends the modal windows it opens.
class Session {
public:
    Session()
    {
        KillTimer(window, IDT_MINUTE);  // the model knows no clock
        SetWindowPos(window, nullptr, 0, 0, 640, 300, SWP_NOZORDER | SWP_SHOWWINDOW);
        SetForegroundWindow(window), SetFocus(list_view);
        for (int r = 0; r < 8; ++r) {
            const std::string n = std::to_string(r), day = "1" + n, hour = "2" + n, minute = "3" + n;
            insert_entry(table, r, {"*", n.c_str(), day.c_str(), hour.c_str(), minute.c_str(), "NoAction", "o x"});
            send(table, TBLM_SETMARK, r, r == 2 || r == 5);
            model.rows.push_back({{n, day, hour, minute, "NoAction", "o x"}, r == 2 || r == 5});
        }
        pump();
    }
    ~Session() { destroy_main_window(window); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Runs the step on the program and on the model. An Enter or test that could start a command is left out.
    void perform(const Step& s)
    {
        const Input& in = INPUTS[s.input];
        const bool editing = model.edit_row >= 0;
        auto starts = [](const Row& row) {
            return row.cells[COL_COMMAND] == "System" || row.cells[COL_COMMAND] == "SetWP";
        };
        HWND keys_to = editing ? editor : list_view;
        if (in.act == KEY && in.code == VK_RETURN && !editing &&
            (model.count() == 0 || model.rows[model.current].cells[COL_COMMAND] != "NoAction")) {
            return;
        }
        if (in.code == IDM_TEST && std::any_of(model.rows.begin(), model.rows.end(), starts)) return;
        if (in.act == KEY) {
            post(keys_to, WM_KEYDOWN, in.code), editing ? model.editor_key(in.code) : model.list_key(in.code);
        }
        if (in.act == TYPE) {  // at the end of the editor's text; in the list view, the list view's own search
            if (editing) post(editor, WM_KEYDOWN, VK_END), model.edit_text += s.text;
            for (char c : s.text) post(keys_to, WM_CHAR, static_cast<unsigned char>(c));
        }
        if (in.act == CTRL) {
            BYTE keys[256];
            GetKeyboardState(keys);
            keys[VK_CONTROL] = 0x80, SetKeyboardState(keys);
            post(keys_to, WM_KEYDOWN, in.name[5]);
            keys[VK_CONTROL] = 0, SetKeyboardState(keys);
        }
        if (in.act == MENU) post(window, WM_COMMAND, in.code);
        if (in.act == CTRL || in.act == MENU) model.command(in.code);
        if (in.act == CELL || in.act == SPOT) click(s);
        if (in.act == HEADER) {
            RECT box{};
            send(header, HDM_GETITEMRECT, s.a % 6, reinterpret_cast<LPARAM>(&box));
            const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
            post(header, WM_LBUTTONDOWN, MK_LBUTTON, at), post(header, WM_LBUTTONUP, 0, at);
        }
        if (in.act == WHEEL) {
            RECT box{};
            GetWindowRect(list_view, &box);
            post(keys_to, WM_MOUSEWHEEL, MAKEWPARAM(0, in.code), MAKELPARAM(box.left + 50, box.top + 50));
            model.end_edit();
        }
    }

    // Empty when the program is alive and its rows, current row and edit are the model's; else both.
    std::string differences()
    {
        if (!IsWindow(window) || !IsWindow(table)) return "the main window is gone";
        Model seen{
            {}, table_current_row(table), table_state_of(table)->edit_row, table_state_of(table)->edit_column, ""};
        for (int r = 0; r < table_row_count(table); ++r) {
            seen.rows.push_back({{}, send(table, TBLM_GETMARK, r) != 0});
            for (int c = 0; c < 6; ++c) seen.rows.back().cells[c] = cell_text(table, r, c);
        }
        std::string boxes;
        for (const std::string& box : ModalWatch::boxes) boxes += "\na box: " + box;
        // The model's current row is always one of its rows (0 when it has none): seen outside them, it differs.
        if (seen.text() == model.text() && boxes.empty()) return "";
        return seen.text() + boxes + "\nmodel: " + model.text();
    }

    // File, Save to a new file, then File, Open of it.
    void save_and_open()
    {
        const std::string path = folder.path("session.tab");
        ModalWatch::on_file_dialog = [&](HWND dialog) {
            SetDlgItemTextA(dialog, ModalWatch::FILE_NAME_BOX, path.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        };
        send(window, WM_COMMAND, IDM_SAVE), send(window, WM_COMMAND, IDM_OPEN);
        ModalWatch::on_file_dialog = nullptr;
        if (model.count() == 0 &&
            ModalWatch::boxes == std::vector<std::string>{"エラー|ﾌｧｲﾙのオープンに失敗しました。"}) {
            ModalWatch::boxes.clear();  // a file without rows is a failed Open
        }
        model.save_and_open();
    }

    Model model;

private:
    void pump()
    {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
            if (!TranslateAcceleratorA(window, accelerators, &msg)) DispatchMessageA(&msg);
        }
    }
    void post(HWND to, UINT message, WPARAM wparam, LPARAM lparam = 1)
    {
        PostMessageA(to, message, wparam, lparam), pump();
    }
    int column_left(int column)
    {
        int x = 0;
        for (int c = 0; c < column; ++c) x += static_cast<int>(send(list_view, LVM_GETCOLUMNWIDTH, c));
        return x;
    }

    // A click in the list view, at the middle of a cell of a visible row or at any point below the header. The
    // cell it hits, or none, is worked out from the list view's geometry.
    void click(const Step& s)
    {
        const int top = static_cast<int>(send(list_view, LVM_GETTOPINDEX));
        const int visible = std::min(static_cast<int>(send(list_view, LVM_GETCOUNTPERPAGE)), model.count() - top);
        POINT origin{0, 30};
        RECT label{LVIR_LABEL, 0, 0, 0}, client{};
        send(list_view, LVM_GETITEMPOSITION, top, reinterpret_cast<LPARAM>(&origin));
        send(list_view, LVM_GETITEMRECT, top, reinterpret_cast<LPARAM>(&label));
        GetClientRect(list_view, &client);
        const int height = std::max(1, static_cast<int>(label.bottom - label.top));
        POINT at = {static_cast<LONG>(client.right * s.a / 1000),
                    static_cast<LONG>(origin.y + (client.bottom - origin.y) * static_cast<LONG>(s.b) / 1000)};
        if (INPUTS[s.input].act == CELL && visible > 0) {
            const int row = top + s.a % visible, column = s.b % 6;
            at = {origin.x + (column_left(column) + column_left(column + 1)) / 2,
                  origin.y + (row - top) * height + height / 2};
        }
        int row = top + (at.y - origin.y) / height, column = 0;
        while (column < 6 && origin.x + column_left(column + 1) < at.x) ++column;
        post(list_view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        post(list_view, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        model.click(row < model.count() && column < 6 ? row : -1, column);
    }

    ModalWatch watch;
    TempFolder folder;
    HWND window = create_main_window(GetModuleHandleA(nullptr), "", SW_HIDE);
    HWND table = main_window_state(window)->table, list_view = GetDlgItem(table, IDC_TABLE_LIST);
    HWND editor = GetDlgItem(table, IDC_TABLE_EDIT), header = reinterpret_cast<HWND>(send(list_view, LVM_GETHEADER));
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL));
};

// The index of the step after which the session first differs from the model (steps.size(): after the final
// Save and Open), with the differences; -1 when it never does.
int first_failure(const std::vector<Step>& steps, std::string* what = nullptr)
{
    Session session;
    for (std::size_t i = 0; i <= steps.size(); ++i) {
        i < steps.size() ? session.perform(steps[i]) : session.save_and_open();
        const std::string differences = session.differences();
        if (differences.empty()) continue;
        if (what) *what = differences;
        return static_cast<int>(i);
    }
    return -1;
}

// Drops runs of steps while the session still fails, the runs halved down to single steps, for at most a minute;
// a session that fails earlier is cut after its new failing step.
std::vector<Step> shortest_failing(std::vector<Step> steps)
{
    const DWORD start = GetTickCount();
    for (std::size_t size = steps.size() / 2; size > 0; size /= 2) {
        for (std::size_t from = 0; from < steps.size() && GetTickCount() - start < 60000;) {
            std::vector<Step> fewer(steps.begin(), steps.begin() + from);
            fewer.insert(fewer.end(), steps.begin() + std::min(from + size, steps.size()), steps.end());
            const int failed = first_failure(fewer);
            if (failed < 0) from += size;
            if (failed >= 0) {
                steps.assign(fewer.begin(), fewer.begin() + std::min<std::size_t>(failed + 1, fewer.size()));
            }
        }
    }
    return steps;
}

TEST(RandomSessions, seeded_user_actions_keep_the_rows_equal_to_the_model_and_a_save_and_open_gives_them_back)
{
    unsigned first = 1, count = 2, length = 1000;
    if (const char* seeds = std::getenv("TAVECRON_SESSION_SEEDS")) std::sscanf(seeds, "%u:%u", &first, &count);
    if (const char* steps = std::getenv("TAVECRON_SESSION_STEPS")) std::sscanf(steps, "%u", &length);
    for (unsigned seed = first; seed < first + count; ++seed) {
        std::vector<Step> steps = generate(seed, length);
        std::string what, list;
        const int failed = first_failure(steps, &what);
        if (failed < 0) continue;
        steps.resize(std::min<std::size_t>(failed + 1, steps.size()));
        for (const Step& step : shortest_failing(steps)) list += "  " + describe(step) + "\n";
        ADD_FAILURE() << "seed " << seed << " differs after step " << failed << ":\n"
                      << what << "\nshortest failing steps from the eight starting rows, then Save and Open:\n"
                      << list;
    }
}

}  // namespace
