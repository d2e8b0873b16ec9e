#pragma once
// A fresh folder under the temporary folder for Wine tests, removed with
// everything in it by the destructor.
#include <windows.h>

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return root + name; }
    // Writes the file root + name and makes the folders above it (code page 932
    // names allowed). Returns its full path.
    std::string write(const std::string& name, const std::string& bytes = "") const;
    std::string read(const std::string& name) const;  // empty when missing
    // `text` with every "<>" replaced by the quoted root, so that a blank in
    // the temporary folder's path does not split a word.
    std::string rooted(std::string text) const;

    std::string root;  // full path ending with a backslash; empty when not created
};
