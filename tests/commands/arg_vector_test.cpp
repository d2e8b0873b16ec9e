#include "commands/arg_vector.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A small tree: a search is answered with the entries planted for exactly its
// pattern (a name ending in '/' is a folder, delivered without the '/').
// Records every pattern searched.
struct FakeLister final : DirectoryLister {
    std::map<std::string, Strings> answers = {
        {"pics\\*", {"./", "../", "two/", "top.bmp", "one/"}},
        {"pics\\two\\*.bmp", {"z.bmp"}},
        {"pics\\one\\*.bmp", {"y.bmp", "X.bmp"}},
        {"ソ*", {"ソフト/"}},
        {"ソフト\\*.bmp", {"s.bmp"}},
        {"表示\\*.bmp", {"h.bmp"}},
        {"C:/pics/*.bmp", {"a.bmp"}},
        {"C:/pics\\*", {"./", "one/", "f.bmp"}},
        {"C:/pics\\one/*.bmp", {"y.bmp"}},
        {"D:*.jpg", {"d.jpg"}},
        {"d:*", {"e/"}},
        {"d:e\\*.jpg", {"e.jpg"}},
        {"ソフト/*.bmp", {"s.bmp"}},
        {"C:/a b/*.bmp", {"b.bmp"}},
    };
    Strings searches;

    void search(const char* pattern, VisitEntry visit, void* context) override
    {
        searches.push_back(pattern);
        for (std::string name : answers[pattern]) {
            bool folder = name.back() == '/';
            name.resize(name.size() - folder);
            visit(context, DirectoryEntry{name.c_str(), folder});
        }
    }
};

// The elements after argv0, checking on the way that argv0 is kept and that
// the texts lie one after another in one block.
Strings words_of(FakeLister& fs, const std::string& text)
{
    int count = 0;
    ArgVector argv = build_argv(fs, "prog", text.c_str(), &count);
    if (argv == nullptr) return {"(no vector)"};
    EXPECT_STREQ(argv[0], "prog");
    for (int i = 1; i < count; ++i) EXPECT_EQ(argv[i], argv[i - 1] + std::strlen(argv[i - 1]) + 1);
    Strings out(argv + 1, argv + count);
    free_argv(argv);
    return out;
}

TEST(ArgVectorBuild, words_split_outside_quotes_and_unquoted_patterns_expand_to_the_names_found)
{
    // The fuzz target's model checks the same rules on random trees; these rows catch what a short run of it misses.
    const std::pair<const char*, Strings> cases[] = {
        {"表 \"ソ フト\"", {"表", "ソ フト"}},
        {"ソ*\\*.bmp 表示\\*.bmp", {"ソフト\\s.bmp", "表示\\h.bmp"}},
        {"b.txt pics\\two\\*.bmp a", {"b.txt", "pics\\two\\z.bmp", "a"}},
        // Slashes separate as backslashes do, and a drive's colon ends its prefix: each match keeps the folder
        // part as written, a followed folder joined by the separator the pattern has after it.
        {"C:/pics/*.bmp \"C:/a b\"/*.bmp", {"C:/pics/a.bmp", "C:/a b/b.bmp"}},
        {"C:/pics\\*/*.bmp", {"C:/pics\\one/y.bmp"}},
        {"D:*.jpg d:*\\*.jpg", {"D:d.jpg", "d:e\\e.jpg"}},
        {"ソ*/*.bmp", {"ソフト/s.bmp"}},
    };
    FakeLister fs;
    for (const auto& [text, words] : cases) EXPECT_EQ(words_of(fs, text), words) << text;
    // Depth first, following folders only (no file, no "." or "..").
    fs.searches.clear();
    EXPECT_EQ(words_of(fs, "pics\\*\\*.bmp"), (Strings{"pics\\two\\z.bmp", "pics\\one\\y.bmp", "pics\\one\\X.bmp"}));
    EXPECT_EQ(fs.searches, (Strings{"pics\\*", "pics\\two\\*.bmp", "pics\\one\\*.bmp"}));
}

TEST(ArgVectorBuild, over_long_words_and_paths_are_cut_or_left_out_within_their_buffers)
{
    FakeLister fs;
    std::string x(3000, 'x'), kept = x.substr(0, ARGV_WORD_MAX);
    EXPECT_EQ(words_of(fs, x + " next " + x + "*"), (Strings{kept, "next", kept}));
    EXPECT_TRUE(fs.searches.empty());  // the wildcard was in the dropped part
    // A double-byte character across the limit is dropped whole.
    EXPECT_EQ(words_of(fs, kept.substr(1) + "表yz"), Strings{kept.substr(1)});

    // Paths of 1023 bytes fit the 1024-byte buffers, longer ones do not.
    std::string dir(1000, 'd'), fits(22, 'f');
    fs.answers[dir + "\\*"] = {std::string(30, 'a') + "/", fits, fits + "x"};
    EXPECT_EQ(words_of(fs, dir + "\\*"), Strings{dir + "\\" + fits});
    EXPECT_EQ(words_of(fs, dir + "\\*\\*"), Strings{});
    EXPECT_EQ(fs.searches.back(), dir + "\\*");  // the 1032-byte inner search is not made
}

}  // namespace
