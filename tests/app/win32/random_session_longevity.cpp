// Random sessions on the real main window: seeded user actions (keys, typing, the Ctrl keys, the Edit and Command
// items, clicks, the wheel), each posted to the window that would receive it and pumped through the accelerators,
// against a small model of what the rows must then be, written from the table's rules and the menu commands. After
// every step the program is alive and the rows' cells and marks, the current row and the open edit equal the
// model's; at the end File, Save and File, Open give back exactly the rows. TAVECRON_SESSION_SEEDS=FIRST:COUNT and
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
    bool operator==(const Row&) const = default;
};

struct Model {
    std::vector<Row> rows;
    int current = 0, edit_row = -1, edit_column = 0;
    std::string edit_text;

    int count() const { return static_cast<int>(rows.size()); }
    void set_current(int row)
    {
        if (row >= 0 && row < count()) current = row;
    }
    // The editor's text, cut to a cell and, in the time and command cells, at the first blank.
    void end_edit()
    {
        if (edit_row < 0) return;
        std::string text = edit_text.substr(0, CELL_TEXT_SIZE - 1);
        if (edit_column <= COL_COMMAND) text = text.substr(0, text.find_first_of(" \t"));
        if (edit_row < count()) rows[edit_row].cells[edit_column] = text;
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
        if (key == VK_SPACE || key == VK_DOWN) set_current(current + 1);
        if (key == VK_UP) set_current(current - 1);
    }
    void editor_key(WPARAM key)
    {
        int row = edit_row, column = edit_column;
        if (key == VK_RETURN || key == VK_ESCAPE) return end_edit();
        if (key == VK_TAB)
            column == COL_OPTION ? (++row, column = 0) : ++column;
        else if (key == VK_UP || key == VK_DOWN)
            row += key == VK_UP ? -1 : 1;
        else
            return;  // the editor's own keys
        if (row < 0 || row >= count()) return;
        set_current(row), begin_edit(row, column);
    }
    void click(int row, int column)  // row -1: no cell
    {
        if (row < 0) return;
        end_edit();
        if (row == current) begin_edit(row, column);
        set_current(row);
    }
    void command(UINT id)
    {
        if (id == IDM_SELECTALL || id == IDM_INVERT) {
            for (Row& row : rows) row.marked = id == IDM_INVERT ? !row.marked : true;
            return;
        }
        end_edit();
        if (id == IDM_ADDITEM) rows.insert(rows.begin() + current, Row{{"0", "*", "*", "0", "NoAction", ""}});
        if (id == IDM_CMD_NOACTION || id == IDM_CMD_SYSTEM || id == IDM_CMD_SETWP) {
            const char* names[] = {"NoAction", "System", "SetWP"};
            if (count() > 0) rows[current].cells[COL_COMMAND] = names[id - IDM_CMD_NOACTION];
        }
        for (int i = count() - 1; id == IDM_CUT && i >= 0; --i) {
            if (!rows[i].marked) continue;
            if (i < current || i == count() - 1) current = std::max(current - 1, 0);
            rows.erase(rows.begin() + i);
        }
    }
    // The rows as a crontab file gives them back: empty time and command cells written as "-", the option
    // without its leading blanks, no marks, the first row current.
    void save_and_open()
    {
        end_edit();
        for (Row& row : rows) {
            for (int c = 0; c <= COL_COMMAND; ++c)
                if (row.cells[c].empty()) row.cells[c] = "-";
            std::string& option = row.cells[COL_OPTION];
            option.erase(0, option.find_first_not_of(" \t") == std::string::npos ? option.size()
                                                                                 : option.find_first_not_of(" \t"));
            row.marked = false;
        }
        current = 0;
    }
};

enum class Act { KEY, TYPE, CTRL, MENU, CELL, POINT, HEADER, WHEEL };

struct Step {
    Act act;
    unsigned a, b;     // a key, a command, or where (taken modulo what is there when the step runs)
    std::string text;  // typed
};

constexpr WPARAM KEYS[] = {VK_UP,   VK_DOWN,  VK_PRIOR, VK_NEXT,  VK_HOME,   VK_END,
                           VK_LEFT, VK_RIGHT, VK_TAB,   VK_SPACE, VK_RETURN, VK_ESCAPE};
constexpr UINT MENU_ITEMS[] = {IDM_INVERT, IDM_CMD_NOACTION, IDM_CMD_SYSTEM, IDM_CMD_SETWP, IDM_TEST};

std::vector<Step> generate(unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::vector<Step> steps;
    while (count-- > 0) {
        const unsigned kind = random() % 100, a = random() % 1000, b = random() % 1000;
        std::string text(1 + a % 6, ' ');
        for (char& c : text) c = "ab1*,- "[random() % 7];
        steps.push_back(kind < 40   ? Step{Act::KEY, a, b, ""}
                        : kind < 52 ? Step{Act::TYPE, a, b, text}
                        : kind < 62 ? Step{Act::CTRL, a, b, ""}
                        : kind < 72 ? Step{Act::MENU, a, b, ""}
                        : kind < 86 ? Step{Act::CELL, a, b, ""}
                        : kind < 92 ? Step{Act::POINT, a, b, ""}
                        : kind < 95 ? Step{Act::HEADER, a, b, ""}
                                    : Step{Act::WHEEL, a, b, ""});
    }
    return steps;
}

std::string describe(const Step& s)
{
    const char* keys[] = {"Up",   "Down",  "PageUp", "PageDown", "Home",   "End",
                          "Left", "Right", "Tab",    "Space",    "Return", "Escape"};
    const char* menu[] = {"Invert", "Command NoAction", "Command System", "Command SetWP", "test"};
    switch (s.act) {
    case Act::KEY:
        return std::string("key ") + keys[s.a % std::size(KEYS)];
    case Act::TYPE:
        return "type \"" + s.text + "\"";
    case Act::CTRL:
        return std::string("Ctrl+") + "NXA"[s.a % 3];
    case Act::MENU:
        return menu[s.a % std::size(MENU_ITEMS)];
    case Act::CELL:
        return "click visible row " + std::to_string(s.a) + " column " + std::to_string(s.b % 6);
    case Act::POINT:
        return "click at " + std::to_string(s.a / 10) + "%, " + std::to_string(s.b / 10) + "% of the rows' area";
    case Act::HEADER:
        return "click header " + std::to_string(s.a % 6);
    case Act::WHEEL:
        return s.a % 2 ? "wheel up" : "wheel down";
    }
    return "";
}

// One session on a fresh main window, shown at 640 x 300 (some rows below the visible page) with eight rows,
// rows 2 and 5 marked.
class Session {
public:
    Session()
    {
        window = create_main_window(GetModuleHandleA(nullptr), "", SW_HIDE);
        state = main_window_state(window);
        KillTimer(window, IDT_MINUTE);  // the model knows no clock
        table = state->table, list_view = GetDlgItem(table, IDC_TABLE_LIST), editor = GetDlgItem(table, IDC_TABLE_EDIT);
        header = reinterpret_cast<HWND>(send(list_view, LVM_GETHEADER));
        SetWindowPos(window, nullptr, 0, 0, 640, 300, SWP_NOZORDER | SWP_SHOWWINDOW);
        SetForegroundWindow(window), SetFocus(list_view);
        for (int r = 0; r < 8; ++r) {
            const std::string n = std::to_string(r), option = "o" + n + " x";
            Row row{{n, "1" + n, "2" + n, "3" + n, "NoAction", option}, r == 2 || r == 5};
            insert_entry(table, r,
                         {"*", n.c_str(), row.cells[1].c_str(), row.cells[2].c_str(), row.cells[3].c_str(), "NoAction",
                          option.c_str()});
            send(table, TBLM_SETMARK, r, row.marked);
            model.rows.push_back(row);
        }
        pump();
    }
    ~Session()
    {
        DestroyWindow(window);
        for (MSG quit; PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) continue;
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Runs the step on the program and on the model; an Enter or test that could start a command is left out.
    void perform(const Step& s)
    {
        const bool editing = model.edit_row >= 0;
        HWND keys_to = editing ? editor : list_view;
        const std::string& command = model.count() ? model.rows[model.current].cells[COL_COMMAND] : "";
        switch (s.act) {
        case Act::KEY: {
            const WPARAM key = KEYS[s.a % std::size(KEYS)];
            if (key == VK_RETURN && !editing && command != "NoAction") return;
            post(keys_to, WM_KEYDOWN, key, 1);
            editing ? model.editor_key(key) : model.list_key(key);
            return;
        }
        case Act::TYPE:  // at the end of the editor's text; in the list view it is the list view's own search
            if (editing) post(editor, WM_KEYDOWN, VK_END, 1);
            for (char c : s.text) post(keys_to, WM_CHAR, static_cast<unsigned char>(c), 1);
            if (editing) model.edit_text += s.text;
            return;
        case Act::CTRL: {
            const char key = "NXA"[s.a % 3];
            BYTE pressed[256];
            GetKeyboardState(pressed);
            pressed[VK_CONTROL] = 0x80, SetKeyboardState(pressed);
            post(keys_to, WM_KEYDOWN, key, 1);
            pressed[VK_CONTROL] = 0, SetKeyboardState(pressed);
            model.command(key == 'N' ? IDM_ADDITEM : key == 'X' ? IDM_CUT : IDM_SELECTALL);
            return;
        }
        case Act::MENU: {
            const UINT id = MENU_ITEMS[s.a % std::size(MENU_ITEMS)];
            const bool starts = std::any_of(model.rows.begin(), model.rows.end(), [](const Row& row) {
                return row.cells[COL_COMMAND] == "System" || row.cells[COL_COMMAND] == "SetWP";
            });
            if (id == IDM_TEST && starts) return;
            post(window, WM_COMMAND, id, 0);
            return model.command(id);
        }
        case Act::CELL:
        case Act::POINT:
            return click(s);
        case Act::HEADER: {
            const int column = s.a % 6;
            RECT box{};
            send(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&box));
            const LPARAM at = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
            post(header, WM_LBUTTONDOWN, MK_LBUTTON, at), post(header, WM_LBUTTONUP, 0, at);
            return;
        }
        case Act::WHEEL: {
            RECT box{};
            GetWindowRect(list_view, &box);
            const int turn = s.a % 2 ? WHEEL_DELTA : -WHEEL_DELTA;
            post(keys_to, WM_MOUSEWHEEL, MAKEWPARAM(0, turn), MAKELPARAM(box.left + 50, box.top + 50));
            return model.end_edit();
        }
        }
    }

    // Empty when the program is alive and its rows, current row and edit equal the model's.
    std::string differences()
    {
        if (!IsWindow(window) || !IsWindow(table)) return "the main window is gone";
        const int rows = table_row_count(table), current = table_current_row(table);
        std::string out;
        if (current < 0 || current >= std::max(rows, 1))
            out += "current row " + std::to_string(current) + " outside " + std::to_string(rows) + " rows; ";
        if (current != model.current)
            out += "current row " + std::to_string(current) + ", model " + std::to_string(model.current) + "; ";
        const TableState* table_state = table_state_of(table);
        if (table_state->edit_row != model.edit_row ||
            (model.edit_row >= 0 && table_state->edit_column != model.edit_column))
            out += "edit at " + std::to_string(table_state->edit_row) + "," + std::to_string(table_state->edit_column) +
                   ", model " + std::to_string(model.edit_row) + "," + std::to_string(model.edit_column) + "; ";
        if (rows != model.count()) return out + std::to_string(rows) + " rows, model " + std::to_string(model.count());
        for (int r = 0; r < rows; ++r) {
            Row row{{}, send(table, TBLM_GETMARK, r) != 0};
            for (int c = 0; c < 6; ++c) row.cells[c] = cell_text(table, r, c);
            if (!(row == model.rows[r])) out += "row " + std::to_string(r) + " differs; ";
        }
        for (const std::string& box : ModalWatch::boxes) out += "a box: " + box + "; ";
        return out;
    }

    // File, Save to a new file, then File, Open of it.
    void save_and_open(const TempFolder& folder)
    {
        const std::string path = folder.path("session.tab");
        ModalWatch::on_file_dialog = [&](HWND dialog) {
            SetDlgItemTextA(dialog, ModalWatch::FILE_NAME_BOX, path.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        };
        send(window, WM_COMMAND, IDM_SAVE), send(window, WM_COMMAND, IDM_OPEN);
        ModalWatch::on_file_dialog = nullptr;
        if (model.count() == 0 &&
            ModalWatch::boxes == std::vector<std::string>{"エラー|ﾌｧｲﾙのオープンに失敗しました。"})
            ModalWatch::boxes.clear();  // a file without rows is a failed Open
        model.save_and_open();
    }

private:
    void pump()
    {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
            if (!TranslateAcceleratorA(window, accelerators, &msg)) DispatchMessageA(&msg);
    }
    void post(HWND to, UINT message, WPARAM wparam, LPARAM lparam)
    {
        PostMessageA(to, message, wparam, lparam), pump();
    }

    // A click in the list view: at the middle of a cell of a visible row, or at a point of the rows' area (which
    // may hit a cell or nothing). Which cell it hits is worked out from the list view's geometry.
    void click(const Step& s)
    {
        const int top = static_cast<int>(send(list_view, LVM_GETTOPINDEX));
        const int visible = std::min(static_cast<int>(send(list_view, LVM_GETCOUNTPERPAGE)), model.count() - top);
        POINT origin{};
        RECT label{LVIR_LABEL, 0, 0, 0}, client{};
        send(list_view, LVM_GETITEMPOSITION, top, reinterpret_cast<LPARAM>(&origin));
        send(list_view, LVM_GETITEMRECT, top, reinterpret_cast<LPARAM>(&label));
        GetClientRect(list_view, &client);
        const int height = std::max(1, static_cast<int>(label.bottom - label.top));
        if (model.count() == 0) origin.y = client.top + 30;
        POINT at{};
        if (s.act == Act::CELL && visible > 0) {
            const int row = top + s.a % visible, column = s.b % 6;
            at = {origin.x + column_left(column) + column_width(column) / 2,
                  origin.y + (row - top) * height + height / 2};
        } else {
            at = {static_cast<LONG>(client.right * (s.a % 1000) / 1000),
                  static_cast<LONG>(origin.y + (client.bottom - origin.y) * (s.b % 1000) / 1000)};
        }
        int row = top + (at.y - origin.y) / height, column = 0;
        while (column < 6 && origin.x + column_left(column + 1) < at.x) ++column;
        if (model.count() == 0 || row >= model.count() || column == 6) row = -1;
        post(list_view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        post(list_view, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        model.click(row, column);
    }
    int column_width(int column) { return static_cast<int>(send(list_view, LVM_GETCOLUMNWIDTH, column)); }
    int column_left(int column)
    {
        int x = 0;
        for (int c = 0; c < column; ++c) x += column_width(c);
        return x;
    }

    HWND window = nullptr, table = nullptr, list_view = nullptr, editor = nullptr, header = nullptr;
    MainWindowState* state = nullptr;
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL));

public:
    Model model;
};

// The index of the step after which the session first differs from the model (steps.size(): after the final
// Save and Open), with the difference; -1 when it never does.
int first_failure(const std::vector<Step>& steps, std::string* what = nullptr)
{
    ModalWatch watch;
    TempFolder folder;
    Session session;
    for (std::size_t i = 0; i <= steps.size(); ++i) {
        i < steps.size() ? session.perform(steps[i]) : session.save_and_open(folder);
        const std::string differences = session.differences();
        if (differences.empty()) continue;
        if (what) *what = differences;
        return static_cast<int>(i);
    }
    return -1;
}

// Delta debugging: drops ever smaller chunks of the steps while the session still fails, for at most a minute.
std::vector<Step> shortest_failing(std::vector<Step> steps)
{
    const DWORD start = GetTickCount();
    std::size_t chunks = 2;
    while (steps.size() >= 2 && GetTickCount() - start < 60000) {
        const std::size_t size = (steps.size() + chunks - 1) / chunks;
        bool dropped = false;
        for (std::size_t start = 0; start < steps.size() && !dropped; start += size) {
            std::vector<Step> fewer(steps.begin(), steps.begin() + start);
            fewer.insert(fewer.end(), steps.begin() + std::min(start + size, steps.size()), steps.end());
            const int failed = first_failure(fewer);
            if (failed < 0) continue;
            fewer.resize(std::min<std::size_t>(failed + 1, fewer.size()));
            steps = fewer, chunks = std::max<std::size_t>(chunks - 1, 2), dropped = true;
        }
        if (!dropped && chunks >= steps.size()) break;
        if (!dropped) chunks = std::min(chunks * 2, steps.size());
    }
    return steps;
}

int env_number(const char* name, int otherwise)
{
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : otherwise;
}

TEST(RandomSessions, seeded_user_actions_keep_the_rows_equal_to_the_model_and_a_save_and_open_gives_them_back)
{
    unsigned first = 1, count = 3;
    if (const char* seeds = std::getenv("TAVECRON_SESSION_SEEDS")) std::sscanf(seeds, "%u:%u", &first, &count);
    const int length = env_number("TAVECRON_SESSION_STEPS", 1000);
    for (unsigned seed = first; seed < first + count; ++seed) {
        std::vector<Step> steps = generate(seed, length);
        std::string what;
        const int failed = first_failure(steps, &what);
        if (failed < 0) continue;
        steps.resize(std::min<std::size_t>(failed + 1, steps.size()));
        std::string list;
        for (const Step& step : shortest_failing(steps)) list += "  " + describe(step) + "\n";
        ADD_FAILURE() << "seed " << seed << " differs after step " << failed << " (" << what
                      << ")\nshortest failing steps from the eight starting rows, then Save and Open:\n"
                      << list;
    }
}

}  // namespace
