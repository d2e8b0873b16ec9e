#pragma once
// A directory tree in memory behind the DirectoryLister interface, built from
// fuzzer bytes: names of code page 932 characters (lead bytes, and trail bytes
// of 0x5C among them), files and directories at any depth.
//
// Paths are relative to the tree's root; their components are separated by
// slashes, or by backslashes that are characters of their own. "." and ".." name the same
// directory and its parent (the root's parent is the root). A search lists
// ".", ".." and the entries of one directory whose names match the last
// component, byte by byte, with "*" for any run of bytes and "?" for one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"
#include "commands/arg_vector.h"
#include "fuzz/fuzz_check.h"

class FuzzDirectoryLister : public DirectoryLister {
public:
    struct Node {
        std::string name;
        bool is_directory;
        int parent;  // index of the parent node; the root (node 0) is its own
    };

    // Up to 24 entries from `input`, each under the root or an earlier directory.
    explicit FuzzDirectoryLister(FuzzedDataProvider& input)
    {
        nodes_.push_back({"", true, 0});
        const int count = input.ConsumeIntegralInRange<int>(0, 24);
        for (int i = 0; i < count; ++i) {
            Node node{valid_name(input.ConsumeRandomLengthString(12)), input.ConsumeBool(),
                      input.ConsumeIntegralInRange<int>(0, static_cast<int>(nodes_.size()) - 1)};
            if (!nodes_[static_cast<std::size_t>(node.parent)].is_directory) node.parent = 0;
            nodes_.push_back(node);
        }
    }

    void search(const char* pattern, VisitEntry visit, void* context) override
    {
        // Search paths are formed in the vector builder's path buffers.
        FUZZ_CHECK(std::strlen(pattern) < ARGV_PATH_SIZE);
        std::vector<std::string_view> parts = components(pattern);
        const std::string_view last = parts.back();
        parts.pop_back();
        const int directory = resolve_directory(parts);
        if (directory < 0) return;
        for (const char* dot : {".", ".."}) {
            if (matches(last, dot)) visit(context, DirectoryEntry{dot, true});
        }
        for (std::size_t i = 1; i < nodes_.size(); ++i) {
            const Node& node = nodes_[i];
            if (node.parent == directory && matches(last, node.name)) {
                visit(context, DirectoryEntry{node.name.c_str(), node.is_directory});
            }
        }
    }

    // The index of the first separator of `path`, a slash or a backslash that
    // is not the second byte of a double-byte character; npos when there is none.
    static std::size_t first_separator(std::string_view path)
    {
        for (std::size_t i = 0; i < path.size(); ++i) {
            const auto c = static_cast<unsigned char>(path[i]);
            if (cp932_is_lead(c) && i + 1 < path.size() && cp932_is_trail(static_cast<unsigned char>(path[i + 1]))) {
                ++i;
            } else if (c == '\\' || c == '/') {
                return i;
            }
        }
        return std::string_view::npos;
    }

    static std::vector<std::string_view> components(std::string_view path)
    {
        std::vector<std::string_view> parts;
        for (std::size_t sep = first_separator(path); sep != std::string_view::npos; sep = first_separator(path)) {
            parts.push_back(path.substr(0, sep));
            path.remove_prefix(sep + 1);
        }
        parts.push_back(path);
        return parts;
    }

private:
    // Keeps whole characters only: no NUL, separator or wildcard, no lead
    // byte without its trail byte; never empty, never "." or "..".
    static std::string valid_name(const std::string& raw)
    {
        std::string name;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const auto c = static_cast<unsigned char>(raw[i]);
            if (cp932_is_lead(c)) {
                if (i + 1 < raw.size() && cp932_is_trail(static_cast<unsigned char>(raw[i + 1]))) {
                    name += raw[i];
                    name += raw[++i];
                }
            } else if (c != '\0' && c != '\\' && c != '/' && c != '*' && c != '?') {
                name += raw[i];
            }
        }
        if (name.empty() || name == "." || name == "..") name += 'x';
        return name;
    }

    static bool matches(std::string_view pattern, std::string_view name)
    {
        // Two-pointer wildcard match with backtracking to the last star.
        std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
        while (n < name.size()) {
            if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
                ++p;
                ++n;
            } else if (p < pattern.size() && pattern[p] == '*') {
                star = p++;
                resume = n;
            } else if (star != std::string_view::npos) {
                p = star + 1;
                n = ++resume;
            } else {
                return false;
            }
        }
        while (p < pattern.size() && pattern[p] == '*') ++p;
        return p == pattern.size();
    }

    int child_directory(int directory, std::string_view name) const
    {
        for (std::size_t i = 1; i < nodes_.size(); ++i) {
            const Node& node = nodes_[i];
            if (node.parent == directory && node.name == name && node.is_directory) return static_cast<int>(i);
        }
        return -1;
    }

    int resolve_directory(const std::vector<std::string_view>& parts) const
    {
        int directory = 0;
        for (std::string_view part : parts) {
            if (part == ".") continue;
            if (part == "..") {
                directory = nodes_[static_cast<std::size_t>(directory)].parent;
                continue;
            }
            directory = child_directory(directory, part);
            if (directory < 0) return -1;
        }
        return directory;
    }

    std::vector<Node> nodes_;
};
