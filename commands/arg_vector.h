#pragma once
// Argument vectors: a text split into words in the manner of a command line,
// with double quotes and wildcard expansion through a directory search.
#include <cstddef>
#include <utility>

// count pointers to zero-terminated texts (no null element after the last).
// All texts lie one after another, each with its terminator, in one block
// allocated with malloc; element 0 points at the start of that block and the
// array itself is a second malloc block. Release with free_argv, or hold it
// in an OwnedArgVector.
using ArgVector = char**;

// Longest word kept, in bytes; longer words are cut at a character boundary
// and the rest of the word is dropped.
constexpr std::size_t ARGV_WORD_MAX = 1023;
// Size of the buffers in which search paths and result paths are formed.
// A path that would not fit is not searched or not added.
constexpr std::size_t ARGV_PATH_SIZE = 1024;

// The ordered list of owned text copies used while a vector is built.
// Not copyable; destruction frees every copy.
class StringList {
public:
    struct Node {
        Node* next;
        std::size_t length;  // bytes, without the terminator
        const char* text() const { return reinterpret_cast<const char*>(this + 1); }
    };

    StringList() = default;
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;
    ~StringList();

    // Appends a copy of the first `length` bytes of `text`, terminated.
    // Returns 1, or 0 when there was no memory (the list is unchanged).
    int append(const char* text, std::size_t length);
    int append(const char* text);

    int count() const { return count_; }
    const Node* first() const { return first_; }

private:
    Node* first_ = nullptr;
    Node* last_ = nullptr;
    int count_ = 0;
};

// One entry of a directory search.
struct DirectoryEntry {
    const char* name;  // as the file system stores it, letter case included
    bool is_directory;
};

// Receives the entries of one search, in the order the search delivers them.
// A plain function and context rather than a virtual class, so that a lister
// built with run-time type information may call into code built without.
using VisitEntry = void (*)(void* context, const DirectoryEntry& entry);

// The file-system search behind wildcard expansion. search() lists every entry
// that `pattern` (a path whose last component may hold * and ?) matches,
// "." and ".." included, calling visit(context, entry) for each, and has
// released the search when it returns. A search that cannot be opened lists
// nothing. visit may start further searches (expansion recurses from it).
class DirectoryLister {
public:
    virtual void search(const char* pattern, VisitEntry visit, void* context) = 0;

protected:
    ~DirectoryLister() = default;
};

// The first separator of `text` (zero-terminated): a backslash or a slash, as
// the file system takes either, that is not the second byte of a double-byte
// character (a backslash may be one); null when there is none.
const char* find_separator(const char* text);

// Splits a pattern word into a prefix free of * and ? and the rest, which
// starts with the first component that holds a wildcard: the prefix is the
// drive ("D:") if the word starts with one, then the longest run of
// components free of wildcards, each with its separator. The search finds
// the matches in the folder the prefix names, and each match is written
// after that prefix, so the prefix must hold the whole folder part. Returns
// the prefix length in bytes (0 when there is no drive and the first
// component already holds a wildcard or there is no separator); the rest is
// word + that length.
std::size_t split_pattern_prefix(const char* word);

// Appends to `list` every path that `pattern` matches below `prefix`:
// components before the last follow directories only (skipping "." and "..",
// each directory joined to the rest by the separator written after its
// component),
// the last adds files and directories alike; an empty pattern adds the prefix
// itself. Depth first, in the order each search delivers entries.
void expand_wildcards(StringList& list, const char* prefix, const char* pattern, DirectoryLister& lister);

// Splits `text` at white space (space, 0x09-0x0D), honouring double quotes,
// and replaces each word with an unquoted * or ? by the paths it matches
// (none when nothing matches). Element 0 is `argv0` unchanged. Both texts are
// non-null and only read. On success *count is the number of elements (at
// least 1); when memory runs out for the vector itself, *count is 0 and the
// result is null. A text whose list entry cannot be allocated is left out.
ArgVector build_argv(DirectoryLister& lister, const char* argv0, const char* text, int* count);

// Frees the block and the array; does nothing with null.
void free_argv(ArgVector argv);

// An argument vector that frees itself: move-only, so that exactly one owner
// calls free_argv, at the end of its scope.
class OwnedArgVector {
public:
    OwnedArgVector() = default;
    explicit OwnedArgVector(ArgVector argv) : argv_(argv) {}
    ~OwnedArgVector() { free_argv(argv_); }

    OwnedArgVector(const OwnedArgVector&) = delete;
    OwnedArgVector& operator=(const OwnedArgVector&) = delete;
    OwnedArgVector(OwnedArgVector&& other) noexcept : argv_(std::exchange(other.argv_, nullptr)) {}
    OwnedArgVector& operator=(OwnedArgVector&& other) noexcept
    {
        if (this != &other) {
            free_argv(std::exchange(argv_, std::exchange(other.argv_, nullptr)));
        }
        return *this;
    }

    explicit operator bool() const { return argv_ != nullptr; }
    ArgVector get() const { return argv_; }

private:
    ArgVector argv_ = nullptr;
};
