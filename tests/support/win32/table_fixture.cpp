#include "support/win32/table_fixture.h"

#include <string>

namespace table_test {

static LRESULT CALLBACK record_notice(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != WM_NOTIFY || !self) return DefWindowProcA(window, message, wparam, lparam);
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(lparam);
    const UINT code = info->hdr.code;
    const bool has_item = code == TBLN_BEGINEDIT || code == TBLN_ENDEDIT || code == TBLN_MARKCHANGING;
    self->notices.push_back({code, has_item ? info->item : LVITEMA{}, code == TBLN_ENDEDIT ? info->item.pszText : "",
                             static_cast<int>(send(info->hdr.hwndFrom, TBLM_GETITEMCOUNT))});
    if (code == TBLN_MARKCHANGING)
        return self->veto_marks.count(info->item.iItem) ? 1 : (info->item.lParam |= self->add_to_param, 0);
    if (code == TBLN_ENDEDIT && self->end_edit_rewrite)
        lstrcpynA(info->item.pszText, self->end_edit_rewrite, info->item.cchTextMax);
    return code == TBLN_BEGINEDIT ? self->begin_edit_answer : code == TBLN_ENDEDIT ? self->end_edit_answer : 0;
}

TestParent::TestParent()
{
    WNDCLASSA wc{0, record_notice, 0, 0, GetModuleHandleA(nullptr), {}, {}, {}, {}, "TableNoticeRecorder"};
    RegisterClassA(&wc);  // already registered by an earlier test: fine
    window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 400, nullptr,
                             nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HWND TestParent::create_table(int id) const
{
    register_table_class();
    return CreateWindowExA(0, WC_TAVETABLE, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 600,
                           300, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                           nullptr);
}

std::vector<UINT> TestParent::codes() const
{
    std::vector<UINT> out;
    for (const Notice& n : notices) out.push_back(n.code);
    return out;
}

LVITEMA text_item(int row, int column, const char* text)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    return item;
}

std::string cell_text(HWND table, int row, int column, LPARAM* param, LRESULT* read)
{
    char text[CELL_TEXT_SIZE] = "kept";
    LVITEMA item = text_item(row, column, text);
    item.mask |= column == 0 ? LVIF_PARAM : 0;
    item.cchTextMax = CELL_TEXT_SIZE;
    const LRESULT result = send(table, TBLM_GETITEM, &item);
    if (param) *param = item.lParam;
    if (read) *read = result;
    return text;
}

}  // namespace table_test

using namespace table_test;

TableFixture::TableFixture() : table(parent.create_table(7))
{
    static constexpr int widths[] = {50, 60, 70, 40, 80, 90};
    for (int c = 0; c < 6; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = widths[c];
        send(table, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
    }
    state = table_state_of(table);
    list_view = GetDlgItem(table, IDC_TABLE_LIST);
    editor = GetDlgItem(table, IDC_TABLE_EDIT);
}

std::vector<std::string> TableFixture::row(int row) const
{
    std::vector<std::string> cells;
    for (int c = 0; c < 6; ++c) cells.push_back(cell_text(table, row, c));
    return cells;
}

std::vector<std::string> TableFixture::column(int column) const
{
    std::vector<std::string> cells;
    for (int r = 0; r < row_count(); ++r) cells.push_back(cell_text(table, r, column));
    return cells;
}

void TableFixture::append(const std::vector<std::string>& cells)
{
    const int index = row_count();
    for (int c = 0; c < 6; ++c) {
        const LVITEMA item = text_item(index, c, c < static_cast<int>(cells.size()) ? cells[c].c_str() : "");
        send(table, c == 0 ? TBLM_INSERTITEM : TBLM_SETITEM, &item);
    }
}

void FilledTable::SetUp()
{
    TableFixture::SetUp();
    for (int r = 0; r < 5; ++r) {
        const std::string name{'r', static_cast<char>('0' + r)};
        append({name, name + " c1", name + " c2", name + " c3", name + " c4", name + " c5"});
    }
    parent.notices.clear();
}
