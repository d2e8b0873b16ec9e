#include "table/win32/list_view_store.h"

namespace {

LRESULT send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(window, message, wparam, lparam);
}

}  // namespace

bool ListViewRows::has_row(int row)
{
    return row >= 0 && row < row_count();
}

int ListViewRows::row_count()
{
    return static_cast<int>(send(list_view_, LVM_GETITEMCOUNT));
}

int ListViewRows::insert_row(int index, const char* text)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(text ? text : "");
    return static_cast<int>(send(list_view_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int ListViewItemInserter::insert_row(int index, const char*)
{
    LVITEMA item = *item_;
    item.iItem = index;
    return static_cast<int>(send(list_view_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int ListViewRows::set_cell_text(int row, int column, const char* text)
{
    if (!has_row(row) || column < 0) return 0;
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text ? text : "");
    return static_cast<int>(
        send(list_view_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
}

int ListViewRows::get_cell_text(int row, int column, char* buffer, int size)
{
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    if (!has_row(row) || column < 0) return 0;
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = size;
    send(list_view_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    buffer[size - 1] = '\0';
    return 1;
}

int ListViewRows::get_param(int row, unsigned* param)
{
    if (!param || !has_row(row)) return 0;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!send(list_view_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    *param = static_cast<unsigned>(item.lParam);
    return 1;
}

int ListViewRows::set_param(int row, unsigned param)
{
    if (!has_row(row)) return 0;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = static_cast<LPARAM>(param);
    return static_cast<int>(send(list_view_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int ListViewRows::delete_row(int row)
{
    if (!has_row(row)) return 0;
    return static_cast<int>(send(list_view_, LVM_DELETEITEM, static_cast<WPARAM>(row)));
}

int ListViewRows::delete_all_rows()
{
    return static_cast<int>(send(list_view_, LVM_DELETEALLITEMS));
}

int ListViewRows::first_visible_row()
{
    return static_cast<int>(send(list_view_, LVM_GETTOPINDEX));
}

bool ListViewRows::row_position(int row, TablePoint* out)
{
    POINT p{};
    if (!has_row(row) ||
        !send(list_view_, LVM_GETITEMPOSITION, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&p))) {
        return false;
    }
    *out = TablePoint{p.x, p.y};
    return true;
}

bool ListViewRows::row_label_rect(int row, TableRect* out)
{
    RECT r{};
    r.left = LVIR_LABEL;
    if (!has_row(row) || !send(list_view_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r))) {
        return false;
    }
    *out = TableRect{r.left, r.top, r.right, r.bottom};
    return true;
}

int ListViewRows::column_width(int column)
{
    return static_cast<int>(send(list_view_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

void ListViewRows::set_column_width(int column, int width)
{
    send(list_view_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

int ListViewRows::client_width()
{
    RECT r{};
    GetClientRect(list_view_, &r);
    return r.right;
}

void ListViewRows::ensure_visible(int row)
{
    send(list_view_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), TRUE);
}

void ListViewRows::invalidate(const TableRect& rect)
{
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    InvalidateRect(list_view_, &r, FALSE);
}

void ListViewRows::update_now()
{
    UpdateWindow(list_view_);
}

void ListViewRows::show_rows(bool shown)
{
    ShowWindow(list_view_, shown ? SW_SHOW : SW_HIDE);
}
