#pragma once
// A fresh folder under the temporary folder for Wine tests of the directory
// search, removed with everything in it by the destructor.
#include <windows.h>

#include <string>

struct TempTree {
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Creates the empty file root + relative and the folders above it (code
    // page 932 names allowed). Returns its full path.
    std::string make(const std::string& relative) const;
    // `text` with every "<>" replaced by the quoted root, so that a blank in
    // the temporary folder's path does not split a word.
    std::string rooted(std::string text) const;

    std::string root;  // full path ending with a backslash; empty when not created
};
