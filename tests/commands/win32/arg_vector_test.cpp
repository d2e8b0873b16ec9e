#include "commands/win32/arg_vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/win32/import_slot.h"
#include "tests/support/win32/temp_folder.h"

namespace {

using Strings = std::vector<std::string>;

// Counts searches opened and closed through this executable's import slots of FindFirstFileA and FindClose, which
// mingw keeps in a writable section. (Wine answers 0 to GetProcessHandleCount and frees a search's folder once its
// enumeration ends, so neither shows a lost FindClose.)
extern decltype(&FindFirstFileA) import_find_first __asm__(IMPORT_SLOT(FindFirstFileA, 8));
extern decltype(&FindClose) import_find_close __asm__(IMPORT_SLOT(FindClose, 4));
const auto real_find_first = import_find_first;
const auto real_find_close = import_find_close;
int searches_opened, searches_closed;

HANDLE WINAPI counting_find_first(LPCSTR pattern, LPWIN32_FIND_DATAA data)
{
    HANDLE find = real_find_first(pattern, data);
    searches_opened += find != INVALID_HANDLE_VALUE;
    return find;
}

BOOL WINAPI counting_find_close(HANDLE find)
{
    ++searches_closed;
    return real_find_close(find);
}

// A real tree: folders and files, and names with a blank or code page 932 characters that have a short name besides
// (the match is the long name); every search is counted.
TEST(ArgVectorWin32, patterns_expand_through_folders_only_with_names_as_stored_closing_every_search)
{
    TempFolder tree;
    ASSERT_FALSE(tree.root.empty());
    ASSERT_EQ(GetACP(), 932u);
    for (const char* file : {"pics\\one\\X.bmp", "pics\\one\\y.BMP", "pics\\two\\z.bmp", "pics\\top.bmp", "a b\\in.bmp",
                             "ソフト\\s.bmp", "表示\\h.bmp"}) {
        tree.write(file);
    }
    // The elements after argv0, each without the root, sorted.
    auto expand = [&tree](const std::string& text) {
        int count = 0;
        ArgVector argv = build_argv("x", tree.rooted(text).c_str(), &count);
        Strings out;
        for (int i = 1; i < count; ++i) {
            EXPECT_EQ(std::string(argv[i]).rfind(tree.root, 0), 0u) << argv[i];
            out.push_back(argv[i] + tree.root.size());
        }
        free_argv(argv);
        std::sort(out.begin(), out.end());
        return out;
    };
    searches_opened = searches_closed = 0;
    const SlotSwap finds(import_find_first, counting_find_first);
    const SlotSwap closes(import_find_close, counting_find_close);

    const std::pair<const char*, Strings> cases[] = {
        {"<>pics\\*\\*.bmp", {"pics\\one\\X.bmp", "pics\\one\\y.BMP", "pics\\two\\z.bmp"}},
        {"<>ソ*\\*.bmp <>表*\\*.bmp <>a*\\*.bmp", {"a b\\in.bmp", "ソフト\\s.bmp", "表示\\h.bmp"}},
        {"<>*.gif <>nowhere\\*.bmp <>*\\nowhere\\* <>pics\\*\\*.none", {}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(expand(text), expected) << text;
    EXPECT_EQ(expand("<>*\\*\\*.bmp").size(), 3u);
    EXPECT_GT(searches_opened, 5);
    EXPECT_EQ(searches_closed, searches_opened);
}

}  // namespace
