#include "table/win32/table_window.h"

#include <initializer_list>
#include <memory>
#include <new>
#include <utility>

#include "table/win32/cell_editor.h"
#include "table/win32/list_view_store.h"
#include "table/win32/table_input.h"
#include "table/win32/table_painting.h"
#include "table/win32/table_state.h"

ATOM table_class_atom = 0;

namespace {

constexpr DWORD LIST_VIEW_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | LVS_REPORT;
constexpr DWORD EDITOR_STYLE = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL;
static_assert(LIST_VIEW_STYLE == 0x54200001);
static_assert(EDITOR_STYLE == 0x44800080);

// Asks the parent with TBLN_MARKCHANGING before each write of a row's parameter.
class MarkNotifier final : public MarkListener {
public:
    explicit MarkNotifier(TableState* state) : state_(state) {}
    int mark_changing(int row, unsigned* param) override
    {
        NMLVDISPINFOA info{};
        info.item.mask = LVIF_PARAM;
        info.item.iItem = row;
        info.item.iSubItem = 0;
        info.item.lParam = static_cast<LPARAM>(*param);
        if (table_notify(state_, TBLN_MARKCHANGING, &info.hdr) != 0) return 1;
        // Only the parameter word the parent leaves is taken; the row written
        // stays the row that was asked about.
        *param = static_cast<unsigned>(info.item.lParam);
        return 0;
    }

private:
    TableState* state_;
};

SubclassLink* link_of(HWND child)
{
    return reinterpret_cast<SubclassLink*>(GetWindowLongPtrA(child, GWLP_USERDATA));
}

// Hands the link to the child: from here on the child's WM_DESTROY releases it.
void subclass(HWND child, std::unique_ptr<SubclassLink> link, TableState* state, WNDPROC proc)
{
    link->state = state;
    link->previous_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(child, GWLP_WNDPROC));
    SetWindowLongPtrA(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(link.release()));
    // The analyser loses the link in the integer of the user data and takes it for a leak.
    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks)
    SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

// A child's WM_DESTROY: the child gets its own procedure back and the link goes.
// The message goes to DefWindowProcA, not to that procedure, on purpose: the
// table's rule. A control frees what it holds on WM_NCDESTROY, which comes
// after and reaches the control's own procedure, back in place by then.
LRESULT on_child_destroy(HWND child, SubclassLink* link, WPARAM wparam, LPARAM lparam)
{
    SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->previous_proc));
    SetWindowLongPtrA(child, GWLP_USERDATA, 0);
    delete link;
    return DefWindowProcA(child, WM_DESTROY, wparam, lparam);
}

// The state and both links are owned here until each has its holder (the
// window's extra bytes, a subclassed child), so a refused creation releases
// whatever is still held.
LRESULT on_create(HWND window, const CREATESTRUCTA* create)
{
    std::unique_ptr<TableState> state = make_window_record<TableState>();
    std::unique_ptr<SubclassLink> list_link(new (std::nothrow) SubclassLink{});
    std::unique_ptr<SubclassLink> edit_link(new (std::nothrow) SubclassLink{});
    if (!state || !list_link || !edit_link) return -1;
    store_window_record(window, state);
    state->window = window;

    InitCommonControls();
    state->list_view = CreateWindowExA(0, "SysListView32", "", LIST_VIEW_STYLE, 0, 0, 1, 1, window,
                                       reinterpret_cast<HMENU>(IDC_TABLE_LIST), create->hInstance, nullptr);
    if (state->list_view) subclass(state->list_view, std::move(list_link), state.get(), list_subclass_proc);

    state->edit_window = CreateWindowExA(0, "EDIT", "", EDITOR_STYLE, 0, 0, 1, 1, window,
                                         reinterpret_cast<HMENU>(IDC_TABLE_EDIT), create->hInstance, nullptr);
    if (state->edit_window) {
        if (state->list_view) {
            LRESULT font = SendMessageA(state->list_view, WM_GETFONT, 0, 0);
            SendMessageA(state->edit_window, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        }
        subclass(state->edit_window, std::move(edit_link), state.get(), edit_subclass_proc);
    }

    state->edit_row = -1;
    state->current_row = 0;
    state->column_count = 0;

    if (!state->list_view) {
        // The editor's own WM_DESTROY releases its link; the table's WM_DESTROY,
        // which follows the refusal, must find no state.
        if (state->edit_window) DestroyWindow(state->edit_window);
        clear_window_record(window);
        return -1;
    }
    SendMessageA(state->list_view, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(state->list_back_color));
    SendMessageA(state->list_view, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(state->plain_text_color));
    SendMessageA(state->list_view, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(state->plain_back_color));
    hand_off_window_record(std::move(state));  // held by the window's extra bytes until on_destroy
    return 0;
}

LRESULT on_destroy(HWND window)
{
    const std::unique_ptr<TableState> state = take_window_record<TableState>(window);
    // The children are destroyed after this; their links must not reach the
    // released state meanwhile.
    for (HWND child : {state->list_view, state->edit_window}) {
        if (child && IsWindow(child)) {
            if (SubclassLink* link = link_of(child)) link->state = nullptr;
        }
    }
    return 0;
}

// The list view takes the keys whenever the table is given the focus (also
// when hiding the focused editor hands the focus to the table).
LRESULT on_set_focus(TableState* state)
{
    SetFocus(state->list_view);
    return 0;
}

LRESULT on_paint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT on_size(TableState* state, int width, int height)
{
    table_end_edit(state);
    MoveWindow(state->list_view, 0, 0, width, height, TRUE);
    ListViewRows view(state->list_view);
    table_fit_last_column(*state, view);
    return 0;
}

LRESULT on_get_mark(TableState* state, int row)
{
    ListViewRows rows(state->list_view);
    return table_get_mark(rows, row);
}

LRESULT on_set_mark(TableState* state, int row, bool on)
{
    ListViewRows rows(state->list_view);
    MarkNotifier listener(state);
    return table_set_mark(rows, listener, row, on);
}

LRESULT on_toggle_mark(TableState* state, int row)
{
    ListViewRows rows(state->list_view);
    MarkNotifier listener(state);
    return table_toggle_mark(rows, listener, row);
}

LRESULT on_set_all_marks(TableState* state, bool on)
{
    ListViewRows rows(state->list_view);
    MarkNotifier listener(state);
    return table_set_all_marks(rows, listener, on);
}

LRESULT on_invert_marks(TableState* state)
{
    ListViewRows rows(state->list_view);
    MarkNotifier listener(state);
    return table_invert_marks(rows, listener);
}

LRESULT on_delete_marked(TableState* state)
{
    table_end_edit(state);
    ListViewRows rows(state->list_view);
    return table_delete_marked(*state, rows, rows);
}

LRESULT on_insert_column(TableState* state, WPARAM index, const LVCOLUMNA* column)
{
    if (!column) return -1;
    table_end_edit(state);
    LRESULT result = SendMessageA(state->list_view, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(column));
    // Counted only when the list view has the column, so the count never
    // names columns that do not exist.
    if (result >= 0) ++state->column_count;
    return result;
}

LRESULT on_insert_item(TableState* state, const LVITEMA* item)
{
    if (!item || item->iItem < 0) return -1;
    table_end_edit(state);
    ListViewItemInserter rows(state->list_view, item);
    return table_insert_row(*state, rows, item->iItem, item->pszText);
}

// A record the list view should see: a row that is not negative and an
// existing column (column 0 always, so that a table without columns still
// reads parameters). The list view reports success for sub-items it does not
// have, so the column is checked here; a row past the end it refuses itself,
// before touching the record. Asking it for the row count here instead cost a
// message per cell, a fifth of a 10,000-row load.
bool addresses_a_cell(TableState* state, const LVITEMA* item)
{
    if (item->iItem < 0) return false;
    return item->iSubItem == 0 || (item->iSubItem > 0 && item->iSubItem < state->column_count);
}

LRESULT on_set_item(TableState* state, LVITEMA* item)
{
    if (!item || !addresses_a_cell(state, item)) return 0;
    return SendMessageA(state->list_view, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item));
}

LRESULT on_get_item(TableState* state, LVITEMA* item)
{
    if (!item || !addresses_a_cell(state, item)) return 0;
    return SendMessageA(state->list_view, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item));
}

LRESULT on_hit_test(TableState* state, int* column, const POINT* point)
{
    if (!point) return -1;
    return cell_at_point(state, *point, column);
}

LRESULT on_delete_item(TableState* state, int row)
{
    table_end_edit(state);
    ListViewRows rows(state->list_view);
    return table_delete_row(*state, rows, row);
}

LRESULT on_get_next_marked(TableState* state, int after)
{
    ListViewRows rows(state->list_view);
    return table_get_next_marked(rows, after);
}

// Handed to the list view rather than to DefWindowProcA, which would clear the
// table's own WS_VISIBLE. With redraw on, each inserted row makes the list view
// redo its layout and scroll bars (most of the time of a 10,000-row load); the
// message's documentation asks the sender to repaint once it is back on, so the
// table does that here, frame (scroll bars) included.
LRESULT on_set_redraw(TableState* state, WPARAM on)
{
    SendMessageA(state->list_view, WM_SETREDRAW, on, 0);
    if (on) RedrawWindow(state->list_view, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return 0;
}

LRESULT on_delete_all_items(TableState* state)
{
    SendMessageA(state->list_view, LVM_DELETEALLITEMS, 0, 0);
    table_end_edit(state);
    state->current_row = 0;
    return 0;
}

// Right presses and typed characters go on to the list view, which selects
// the row under a press on its first column and the row a typed letter
// finds. A selected row is painted in the system's highlight colours over the
// table's own and could pass for the current row, so every change that would
// select a row is refused (TRUE to LVN_ITEMCHANGING); other changes pass.
LRESULT on_notify(TableState* state, const NMHDR* header)
{
    if (header == nullptr || header->hwndFrom != state->list_view || header->code != LVN_ITEMCHANGING) return 0;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    return (change->uChanged & LVIF_STATE) != 0 && (change->uNewState & LVIS_SELECTED) != 0 ? TRUE : FALSE;
}

int row_argument(WPARAM wparam)
{
    return static_cast<int>(wparam);
}

}  // namespace

ATOM register_table_class()
{
    if (table_class_atom != 0) return table_class_atom;
    WNDCLASSA window_class{};
    window_class.style = CS_GLOBALCLASS;
    window_class.lpfnWndProc = table_window_proc;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = WINDOW_RECORD_BYTES;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = nullptr;
    window_class.lpszMenuName = nullptr;
    window_class.lpszClassName = WC_TAVETABLE;
    table_class_atom = RegisterClassA(&window_class);
    return table_class_atom;
}

LRESULT CALLBACK table_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_CREATE) return on_create(window, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    TableState* state = table_state_of(window);
    if (!state) return DefWindowProcA(window, message, wparam, lparam);

    switch (message) {
    case WM_DESTROY:
        return on_destroy(window);
    case WM_SETFOCUS:
        return on_set_focus(state);
    case WM_PAINT:
        return on_paint(window);
    case WM_ERASEBKGND:
        return 0;
    case WM_SIZE:
        return on_size(state, LOWORD(lparam), HIWORD(lparam));
    case WM_SETREDRAW:
        return on_set_redraw(state, wparam);
    case WM_NOTIFY:
        return on_notify(state, reinterpret_cast<const NMHDR*>(lparam));
    case TBLM_SETMARK:
        return on_set_mark(state, row_argument(wparam), lparam != 0);
    case TBLM_GETMARK:
        return on_get_mark(state, row_argument(wparam));
    case TBLM_TOGGLEMARK:
        return on_toggle_mark(state, row_argument(wparam));
    case TBLM_SETALLMARKS:
        return on_set_all_marks(state, lparam != 0);
    case TBLM_INVERTMARKS:
        return on_invert_marks(state);
    case TBLM_DELETEMARKED:
        return on_delete_marked(state);
    case TBLM_INSERTCOLUMN:
        return on_insert_column(state, wparam, reinterpret_cast<const LVCOLUMNA*>(lparam));
    case TBLM_INSERTITEM:
        return on_insert_item(state, reinterpret_cast<const LVITEMA*>(lparam));
    case TBLM_SETITEM:
        return on_set_item(state, reinterpret_cast<LVITEMA*>(lparam));
    case TBLM_GETITEM:
        return on_get_item(state, reinterpret_cast<LVITEMA*>(lparam));
    case TBLM_GETITEMCOUNT:
        return SendMessageA(state->list_view, LVM_GETITEMCOUNT, 0, 0);
    case TBLM_GETCOLUMNCOUNT:
        return state->column_count;
    case TBLM_HITTEST:
        return on_hit_test(state, reinterpret_cast<int*>(wparam), reinterpret_cast<const POINT*>(lparam));
    case TBLM_DELETEITEM:
        return on_delete_item(state, row_argument(wparam));
    case TBLM_GETNEXTMARKED:
        return on_get_next_marked(state, row_argument(wparam));
    case TBLM_DELETEALLITEMS:
        return on_delete_all_items(state);
    case TBLM_GETCURSEL:
        return state->current_row;
    case TBLM_SETCURSEL:
        return move_current_row(state, row_argument(wparam)) ? 1 : 0;
    case TBLM_ENDEDIT:
        return table_end_edit(state);
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

// The list view's keys, left button, scroll bars and painting are the
// table's own; everything else goes to the list view's own procedure. Once the
// table is gone (state null) the list view is left to itself.
LRESULT CALLBACK list_subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    SubclassLink* link = link_of(window);
    if (!link) return DefWindowProcA(window, message, wparam, lparam);
    if (message == WM_DESTROY) return on_child_destroy(window, link, wparam, lparam);
    TableState* state = link->state;
    if (!state) return CallWindowProcA(link->previous_proc, window, message, wparam, lparam);
    switch (message) {
    case WM_KEYDOWN:
        return on_list_key_down(state, static_cast<UINT>(wparam));
    case WM_LBUTTONDOWN:
        return on_list_left_button(state, lparam);
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
        return on_list_scroll(state, link->previous_proc, message, wparam, lparam);
    case WM_PAINT:
        return on_list_paint(state, link->previous_proc, wparam, lparam);
    default:
        return CallWindowProcA(link->previous_proc, window, message, wparam, lparam);
    }
}

// The editor's navigation keys, its loss of focus and the wheel end or move
// the edit; everything else goes to the edit control's own procedure.
LRESULT CALLBACK edit_subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    SubclassLink* link = link_of(window);
    if (!link) return DefWindowProcA(window, message, wparam, lparam);
    if (message == WM_DESTROY) return on_child_destroy(window, link, wparam, lparam);
    TableState* state = link->state;
    if (!state) return CallWindowProcA(link->previous_proc, window, message, wparam, lparam);
    switch (message) {
    case WM_KEYDOWN:
        return on_editor_key_down(state, link->previous_proc, wparam, lparam);
    case WM_KILLFOCUS:
        return on_editor_kill_focus(state);
    case WM_MOUSEWHEEL:
        return on_editor_wheel(state, wparam, lparam);
    default:
        return CallWindowProcA(link->previous_proc, window, message, wparam, lparam);
    }
}
