#pragma once
// A fresh directory tree under the temporary folder for Wine tests of the
// directory search, removed with everything in it by the destructor.
#include <windows.h>

#include <string>
#include <vector>

class TempTree {
public:
    TempTree();  // check root() is not empty
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The root's full path, ending with a backslash; empty when it could not
    // be created.
    const std::string& root() const { return root_; }
    // Creates root + relative (a folder, or a file when `is_file`), with the
    // folders above it; files hold a small valid bitmap. Returns the full path.
    std::string make(const std::string& relative, bool is_file = true);

private:
    std::string root_;
};

// The names a search for `pattern` delivers, in its order, "." and ".."
// left out; `directories_only` keeps only folders.
std::vector<std::string> searched_names(const std::string& pattern, bool directories_only = false);
