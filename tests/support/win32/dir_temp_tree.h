#pragma once
// A fresh folder under the temporary folder for Wine tests of the directory
// search, removed with everything in it by the destructor.
#include <windows.h>

#include <string>

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Full path ending with a backslash; empty when it could not be created.
    const std::string& root() const { return root_; }
    // Creates the file root + relative, holding a 2 x 2 bitmap, and the folders
    // above it (code page 932 names allowed). Returns its full path.
    std::string make(const std::string& relative);
    // `text` with every "<>" replaced by the quoted root, so that a blank in
    // the temporary folder's path does not split a word.
    std::string rooted(std::string text) const;

private:
    std::string root_;
};
