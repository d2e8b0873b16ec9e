#include "commands/win32/arg_vector_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/win32/dir_temp_tree.h"

namespace {

using Strings = std::vector<std::string>;

// Counts searches opened and closed through this executable's import slots
// of FindFirstFileA and FindClose. (Wine answers 0 to GetProcessHandleCount
// and frees a search's folder once its enumeration ends, so neither shows a
// lost FindClose.)
extern decltype(&FindFirstFileA) import_find_first __asm__("__imp__FindFirstFileA@8");
extern decltype(&FindClose) import_find_close __asm__("__imp__FindClose@4");
decltype(&FindFirstFileA) real_find_first = import_find_first;
decltype(&FindClose) real_find_close = import_find_close;
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

void count_searches(bool on)
{
    DWORD protection = 0;
    VirtualProtect(&import_find_first, sizeof(void*), PAGE_READWRITE, &protection);
    import_find_first = on ? counting_find_first : real_find_first;
    VirtualProtect(&import_find_first, sizeof(void*), protection, &protection);
    VirtualProtect(&import_find_close, sizeof(void*), PAGE_READWRITE, &protection);
    import_find_close = on ? counting_find_close : real_find_close;
    VirtualProtect(&import_find_close, sizeof(void*), protection, &protection);
}

class ArgVectorWin32 : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tree.root().empty());
        ASSERT_EQ(GetACP(), 932u);
        for (const char* file : {"pics\\one\\X.bmp", "pics\\one\\y.BMP", "pics\\two\\z.bmp", "pics\\top.bmp",
                                 "a b\\in.bmp", "ソフト\\s.bmp", "表示\\h.bmp"}) {
            tree.make(file);
        }
    }

    // The elements after argv0, in vector order unless `sorted`.
    Strings expand(const std::string& text, bool sorted = false) const
    {
        int count = 0;
        ArgVector argv = build_argv("x", tree.rooted(text).c_str(), &count);
        Strings out(argv + 1, argv + count);
        free_argv(argv);
        if (sorted) {
            std::sort(out.begin(), out.end());
        }
        return out;
    }

    TempTree tree;
};

TEST_F(ArgVectorWin32, patterns_expand_depth_first_through_folders_only_with_names_as_stored)
{
    // Depth first: each folder's matches together, folders in the order the
    // search of pics delivers them.
    Strings got = expand("<>pics\\*\\*.bmp");
    Strings folders = expand("<>pics\\*\\");
    ASSERT_EQ(folders.size(), 2u);
    ASSERT_EQ(got.size(), 3u);
    std::size_t in_first = folders[0].find("one") != std::string::npos ? 2 : 1;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].rfind(folders[i < in_first ? 0 : 1], 0), 0u) << got[i];
    }
    const std::pair<const char*, Strings> cases[] = {
        {"<>pics\\*\\*.bmp", {"pics\\one\\X.bmp", "pics\\one\\y.BMP", "pics\\two\\z.bmp"}},
        {"<>pics\\*\\", {"pics\\one\\", "pics\\two\\"}},
        {"<>pics\\*", {"pics\\one", "pics\\top.bmp", "pics\\two"}},
        {"<>pics\\one\\*\\", {}},  // "." and ".." are no folders to follow
        {"<>PICS\\ONE\\*.bmp", {"PICS\\ONE\\X.bmp", "PICS\\ONE\\y.BMP"}},
        {"<>ソ*\\*.bmp <>表*\\*.bmp <>a*\\*.bmp", {"a b\\in.bmp", "ソフト\\s.bmp", "表示\\h.bmp"}},
        {"<>*.gif <>nowhere\\*.bmp <>*\\nowhere\\*", {}},
    };
    for (const auto& [text, relative] : cases) {
        Strings expected;
        for (const auto& r : relative) {
            expected.push_back(tree.root() + r);
        }
        EXPECT_EQ(expand(text, true), expected) << text;
    }
}

TEST_F(ArgVectorWin32, every_search_opened_is_closed_among_thousands_of_matches)
{
    for (int i = 0; i < 1500; ++i) {
        tree.make("many\\" + std::to_string(i) + ".bmp");
    }
    searches_opened = searches_closed = 0;
    count_searches(true);
    std::size_t many = expand("<>many\\*.bmp").size();
    std::size_t inner = expand("<>*\\*\\*.bmp <>pics\\*\\*.none <>pics\\one\\*\\x <>none\\*").size();
    count_searches(false);
    EXPECT_EQ(many, 1500u);
    EXPECT_EQ(inner, 3u);
    EXPECT_GT(searches_opened, 10);
    EXPECT_EQ(searches_closed, searches_opened);
}

}  // namespace
