#pragma once
// A real table control for Wine tests: a hidden parent window with a
// WC_TAVETABLE child that has the six schedule columns.
#include <windows.h>

#include <string>
#include <vector>

class TableFixture {
public:
    TableFixture();  // check table() != null
    ~TableFixture();
    TableFixture(const TableFixture&) = delete;
    TableFixture& operator=(const TableFixture&) = delete;

    HWND table() const { return table_; }
    int row_count() const;
    // The texts of columns 0 to 5 of `row` (month, day, hour, minute, command, option).
    std::vector<std::string> row(int row) const;
    // Appends a row with the six cells given (missing ones empty).
    void append(const std::vector<std::string>& cells);

private:
    HWND parent_ = nullptr;
    HWND table_ = nullptr;
};

// A fresh temporary folder of this process, removed with its files (and empty
// subfolders) by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return folder_ + "\\" + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;  // empty when missing

private:
    std::string folder_;
};
