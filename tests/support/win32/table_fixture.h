#pragma once
// A real table control for Wine tests: a hidden top-level parent window with a
// WC_TAVETABLE child that has the six schedule columns, and a recorder of the
// table messages it receives.
#include <windows.h>

#include <string>
#include <vector>

// One table message as received: the row and column of an item record, -1
// where the message carries none.
struct TableCall {
    UINT message;
    int row;
    int column;
    bool operator==(const TableCall&) const = default;
};

class TableFixture {
public:
    TableFixture();  // check table() != null
    ~TableFixture();
    TableFixture(const TableFixture&) = delete;
    TableFixture& operator=(const TableFixture&) = delete;

    HWND parent() const { return parent_; }
    HWND table() const { return table_; }

    int row_count() const;
    // The texts of columns 0 to 5 of `row` (month, day, hour, minute, command, option).
    std::vector<std::string> row(int row) const;
    // Appends a row with the six cells given (missing ones empty).
    void append(const std::vector<std::string>& cells);

    // From now on every TBLM_GETITEMCOUNT, TBLM_GETITEM, TBLM_SETITEM and
    // TBLM_INSERTITEM the table receives is recorded, in order.
    void start_recording();
    const std::vector<TableCall>& calls() const { return calls_; }

private:
    static LRESULT CALLBACK recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND parent_ = nullptr;
    HWND table_ = nullptr;
    WNDPROC previous_proc_ = nullptr;
    std::vector<TableCall> calls_;
};

// A file path in a fresh temporary directory of this process, removed with
// its files by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return folder_ + "\\" + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;  // empty when missing
    bool exists(const std::string& name) const;

private:
    std::string folder_;
};
