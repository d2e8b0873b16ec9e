#pragma once
// The table's row store and view over a report-view SysListView32: rows are
// list-view items, cells their texts, the parameter word the item's lParam.

#include <windows.h>
#include <commctrl.h>

#include "table/table_model.h"

class ListViewRows : public RowStore, public TableView {
public:
    explicit ListViewRows(HWND list_view) : list_view_(list_view) {}
    virtual ~ListViewRows() = default;

    int row_count() override;
    int insert_row(int index, const char* text) override;
    int set_cell_text(int row, int column, const char* text) override;
    int get_cell_text(int row, int column, char* buffer, int size) override;
    int get_param(int row, unsigned* param) override;
    int set_param(int row, unsigned param) override;
    int delete_row(int row) override;
    int delete_all_rows() override;

    int first_visible_row() override;
    bool row_position(int row, TablePoint* out) override;
    bool row_label_rect(int row, TableRect* out) override;
    int column_width(int column) override;
    void set_column_width(int column, int width) override;
    int client_width() override;
    void ensure_visible(int row) override;
    void invalidate(const TableRect& rect) override;
    void update_now() override;
    void show_rows(bool shown) override;

protected:
    bool has_row(int row);
    HWND list_view_;
};

// Inserts the caller's own LVITEMA record (all its fields, not only the text),
// so TBLM_INSERTITEM passes its record to the list view as it came.
class ListViewItemInserter : public ListViewRows {
public:
    ListViewItemInserter(HWND list_view, const LVITEMA* item) : ListViewRows(list_view), item_(item) {}
    int insert_row(int index, const char* text) override;

private:
    const LVITEMA* item_;
};
