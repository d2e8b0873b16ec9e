#include "commands/win32/arg_vector_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/win32/dir_temp_tree.h"

namespace {

using Strings = std::vector<std::string>;

class ArgVectorWin32 : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tree.root().empty());
        ASSERT_EQ(GetACP(), 932u) << "the session must use code page 932";
        for (const char* file : {"pics\\one\\X.bmp", "pics\\one\\y.BMP", "pics\\two\\z.bmp", "pics\\two\\w.jpg",
                                 "pics\\top.bmp", "a b\\in.bmp", "ソフト\\s.bmp", "表示\\h.bmp"}) {
            tree.make(file);
        }
        // The root quoted, so that a blank in the temporary folder's path
        // does not split the word.
        root = "\"" + tree.root() + "\"";
    }

    // The elements after argv0 of build_argv over the real file system.
    static Strings expand(const std::string& text)
    {
        int count = 0;
        ArgVector argv = build_argv("x", text.c_str(), &count);
        Strings out;
        if (argv != nullptr) {
            out.assign(argv + 1, argv + count);
        }
        free_argv(argv);
        return out;
    }

    TempTree tree;
    std::string root;
};

TEST_F(ArgVectorWin32, inner_components_follow_directories_depth_first_in_search_order)
{
    // Expected: per directory in the order the search of pics delivers them,
    // that directory's bitmaps in the order its own search delivers them.
    Strings expected;
    for (const auto& dir : searched_names(tree.root() + "pics\\*", true)) {
        for (const auto& name : searched_names(tree.root() + "pics\\" + dir + "\\*.bmp")) {
            expected.push_back(tree.root() + "pics\\" + dir + "\\" + name);
        }
    }
    Strings got = expand(root + "pics\\*\\*.bmp");
    EXPECT_EQ(got, expected);
    // The file pics\top.bmp is not followed; the case of the names is kept.
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (Strings{tree.root() + "pics\\one\\X.bmp", tree.root() + "pics\\one\\y.BMP",
                            tree.root() + "pics\\two\\z.bmp"}));
}

TEST_F(ArgVectorWin32, a_trailing_backslash_yields_each_matching_directory_and_dot_entries_never_match)
{
    Strings expected;
    for (const auto& dir : searched_names(tree.root() + "pics\\*", true)) {
        expected.push_back(tree.root() + "pics\\" + dir + "\\");
    }
    EXPECT_EQ(expected.size(), 2u);
    EXPECT_EQ(expand(root + "pics\\*\\"), expected);
    // pics\one holds files only: its "." and ".." must not count as folders.
    EXPECT_EQ(expand(root + "pics\\one\\*\\"), Strings{});
    Strings last = expand(root + "pics\\*");
    std::sort(last.begin(), last.end());
    EXPECT_EQ(last, (Strings{tree.root() + "pics\\one", tree.root() + "pics\\top.bmp", tree.root() + "pics\\two"}));
}

TEST_F(ArgVectorWin32, names_come_back_as_stored_while_the_prefix_stays_as_written)
{
    Strings got = expand(root + "PICS\\ONE\\*.bmp");
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (Strings{tree.root() + "PICS\\ONE\\X.bmp", tree.root() + "PICS\\ONE\\y.BMP"}));
}

TEST_F(ArgVectorWin32, a_pattern_without_backslash_yields_bare_names_from_the_current_directory)
{
    char saved[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, saved), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA((tree.root() + "pics\\one").c_str()));
    Strings got = expand("*.bmp \"*.bmp\"");
    SetCurrentDirectoryA(saved);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got.back(), "*.bmp");  // quoted: taken literally
    got.pop_back();
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (Strings{"X.bmp", "y.BMP"}));
}

TEST_F(ArgVectorWin32, japanese_folder_names_with_0x5C_second_bytes_expand_whole)
{
    struct Case {
        const char* pattern;
        Strings expected;  // relative to the root
    };
    const Case cases[] = {
        {"ソ*\\*.bmp", {"ソフト\\s.bmp"}},
        {"表*\\*.bmp", {"表示\\h.bmp"}},
        {"表示\\*.bmp", {"表示\\h.bmp"}},
        {"*ト\\s.*", {"ソフト\\s.bmp"}},
        {"\"a b\"\\*.bmp", {"a b\\in.bmp"}},
    };
    for (const auto& c : cases) {
        Strings expected;
        for (const auto& e : c.expected) {
            expected.push_back(tree.root() + e);
        }
        EXPECT_EQ(expand(root + c.pattern), expected) << c.pattern;
    }
}

TEST_F(ArgVectorWin32, patterns_that_match_nothing_or_name_missing_folders_vanish)
{
    EXPECT_EQ(expand(root + "*.gif " + root + "nowhere\\*.bmp " + root + "*\\nowhere\\*"), Strings{});
    EXPECT_EQ(expand("Q:\\no\\such\\drive\\*"), Strings{});
}

// Counts the searches that open and close by swapping this executable's
// import slots of FindFirstFileA and FindClose, which every call in it goes
// through. (Wine answers 0 to GetProcessHandleCount, and it releases a
// search's folder once the enumeration ends, so neither shows a lost
// FindClose.)
extern decltype(&FindFirstFileA) import_find_first __asm__("__imp__FindFirstFileA@8");
extern decltype(&FindClose) import_find_close __asm__("__imp__FindClose@4");

int searches_opened = 0;
int searches_closed = 0;
decltype(&FindFirstFileA) real_find_first = nullptr;
decltype(&FindClose) real_find_close = nullptr;

HANDLE WINAPI counting_find_first(LPCSTR pattern, LPWIN32_FIND_DATAA data)
{
    HANDLE find = real_find_first(pattern, data);
    if (find != INVALID_HANDLE_VALUE) {
        ++searches_opened;
    }
    return find;
}

BOOL WINAPI counting_find_close(HANDLE find)
{
    ++searches_closed;
    return real_find_close(find);
}

template <typename F>
void swap_import(F& slot, F replacement, F* previous)
{
    DWORD protection = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &protection);
    if (previous != nullptr) {
        *previous = slot;
    }
    slot = replacement;
    VirtualProtect(&slot, sizeof slot, protection, &protection);
}

class SearchCounter {
public:
    SearchCounter()
    {
        searches_opened = searches_closed = 0;
        swap_import(import_find_first, &counting_find_first, &real_find_first);
        swap_import(import_find_close, &counting_find_close, &real_find_close);
    }
    ~SearchCounter()
    {
        swap_import(import_find_first, real_find_first, static_cast<decltype(&FindFirstFileA)*>(nullptr));
        swap_import(import_find_close, real_find_close, static_cast<decltype(&FindClose)*>(nullptr));
    }
};

TEST_F(ArgVectorWin32, every_search_is_closed_whether_it_matched_folders_files_or_nothing)
{
    SearchCounter counter;
    EXPECT_EQ(expand(root + "pics\\*\\*.bmp").size(), 3u);
    EXPECT_EQ(searches_opened, 3);  // pics\*, then each of its two folders
    EXPECT_EQ(expand(root + "pics\\*").size(), 3u);
    EXPECT_EQ(expand(root + "*\\*\\").size(), 2u);
    EXPECT_EQ(expand(root + "pics\\*\\*.none " + root + "pics\\one\\*\\x " + root + "none\\*").size(), 0u);
    EXPECT_GT(searches_opened, 10);
    EXPECT_EQ(searches_closed, searches_opened);
}

TEST_F(ArgVectorWin32, thousands_of_matches_are_all_listed)
{
    for (int i = 0; i < 2000; ++i) {
        tree.make("many\\" + std::to_string(i) + ".bmp");
    }
    EXPECT_EQ(expand(root + "many\\*.bmp").size(), 2000u);
}

}  // namespace
