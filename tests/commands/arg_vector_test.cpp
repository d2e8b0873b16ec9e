#include "commands/arg_vector.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A directory tree in memory, keyed by the prefix the expansion forms ("" is
// the current folder). A search belongs to the longest prefix it starts with;
// its last component matches names without regard to ASCII case. Entries
// come in the order given.
struct FakeLister final : DirectoryLister {
    std::map<std::string, std::vector<std::pair<std::string, bool>>> dirs;
    Strings searches;

    static bool matches(const unsigned char* p, const unsigned char* s)
    {
        if (*p == '*') {
            return matches(p + 1, s) || (*s != '\0' && matches(p, s + 1));
        }
        return *p == '\0' || *s == '\0' ? *p == *s
                                         : (*p == '?' || std::tolower(*p) == std::tolower(*s)) && matches(p + 1, s + 1);
    }

    void search(const char* pattern, VisitEntry visit, void* context) override
    {
        searches.push_back(pattern);
        std::string text = pattern, best;
        for (const auto& d : dirs) {
            if (text.compare(0, d.first.size(), d.first) == 0 && d.first.size() >= best.size()) {
                best = d.first;
            }
        }
        for (const auto& [name, is_directory] : dirs[best]) {
            auto bytes = [](const std::string& t) { return reinterpret_cast<const unsigned char*>(t.c_str()); };
            if (matches(bytes(text) + best.size(), bytes(name))) {
                visit(context, DirectoryEntry{name.c_str(), is_directory});
            }
        }
    }
};

// Dot entries, a file beside folders, mixed case, a folder with a blank, and
// two whose first character has 0x5C as its second byte.
FakeLister planted_tree()
{
    FakeLister fs;
    fs.dirs = {
        {"", {{".", true}, {"..", true}, {"pics", true}, {"Photo.BMP", false}, {"a b", true}, {"ソフト", true}, {"表示", true}}},
        {"pics\\", {{".", true}, {"..", true}, {"two", true}, {"top.bmp", false}, {"one", true}}},
        {"pics\\one\\", {{".", true}, {"..", true}, {"y.bmp", false}, {"X.bmp", false}}},
        {"pics\\two\\", {{"z.bmp", false}, {"w.jpg", false}}},
        {"a b\\", {{"in.bmp", false}}},
        {"ソフト\\", {{"s.bmp", false}}},
        {"表示\\", {{"h.bmp", false}}},
    };
    return fs;
}

// The elements after argv0, checking the one-block layout on the way.
Strings words_of(FakeLister& fs, const std::string& text)
{
    int count = 0;
    ArgVector argv = build_argv(fs, "prog", text.c_str(), &count);
    EXPECT_NE(argv, nullptr);
    if (argv == nullptr) {
        return {};
    }
    EXPECT_STREQ(argv[0], "prog");
    for (int i = 1; i < count; ++i) {
        EXPECT_EQ(argv[i], argv[i - 1] + std::strlen(argv[i - 1]) + 1);
    }
    Strings out(argv + 1, argv + count);
    free_argv(argv);
    return out;
}

struct WordsCase {
    const char* text;
    Strings words;
};

TEST(ArgVectorBuild, words_split_at_white_space_outside_quotes_and_never_search)
{
    const WordsCase cases[] = {
        {"", {}},
        {" \t\r\n\v\f ", {}},
        {"a  b\t\tc\r\n", {"a", "b", "c"}},
        {"\"\" \"\"x \"\"\"", {"", "x", ""}},
        {"\"a b\" x\"y z\"w", {"a b", "xy zw"}},
        {"\"open to the end", {"open to the end"}},
        {"\"*.bmp\" \"a?b\"", {"*.bmp", "a?b"}},
        {"\\ \\\\ a\\", {"\\", "\\\\", "a\\"}},
        {"a\x85" "b \xA0", {"a\x85" "b", "\xA0"}},
        {"表 \"ソ フト\"", {"表", "ソ フト"}},
    };
    for (const auto& c : cases) {
        FakeLister fs = planted_tree();
        EXPECT_EQ(words_of(fs, c.text), c.words) << c.text;
        EXPECT_TRUE(fs.searches.empty()) << c.text;
    }
}

TEST(ArgVectorBuild, patterns_expand_depth_first_in_search_order_with_folders_only_inside)
{
    const WordsCase cases[] = {
        {"*.bmp", {"Photo.BMP"}},
        {"pics\\*\\*.bmp", {"pics\\two\\z.bmp", "pics\\one\\y.bmp", "pics\\one\\X.bmp"}},
        {"pics\\*\\", {"pics\\two\\", "pics\\one\\"}},
        {"pics\\*", {"pics\\two", "pics\\top.bmp", "pics\\one"}},
        {"p?cs\\o*\\?.BMP", {"pics\\one\\y.bmp", "pics\\one\\X.bmp"}},
        {"\"a b\"\\*.bmp", {"a b\\in.bmp"}},
        {"ソ*\\*.bmp 表*\\*.bmp 表示\\*.bmp", {"ソフト\\s.bmp", "表示\\h.bmp", "表示\\h.bmp"}},
        {"*.gif nowhere\\*.bmp *\\nothing\\*", {}},
        {"b.txt pics\\two\\* a", {"b.txt", "pics\\two\\z.bmp", "pics\\two\\w.jpg", "a"}},
    };
    for (const auto& c : cases) {
        FakeLister fs = planted_tree();
        EXPECT_EQ(words_of(fs, c.text), c.words) << c.text;
    }
    FakeLister fs = planted_tree();
    words_of(fs, "pics\\*\\*.bmp");
    EXPECT_EQ(fs.searches, (Strings{"pics\\*", "pics\\two\\*.bmp", "pics\\one\\*.bmp"}));
}

TEST(ArgVectorBuild, the_prefix_ends_before_the_first_component_with_a_wildcard)
{
    const std::pair<const char*, std::size_t> cases[] = {
        {"*.bmp", 0}, {"a\\b\\*.bmp", 4}, {"a\\b*\\c\\*", 2}, {"\\*.bmp", 1}, {"c:\\pics\\?", 8},
        {"表\\*.bmp", 3},   // 0x95 0x5C, then the separator
        {"ソ*\\x.bmp", 0},  // 0x83 0x5C shares the component with the wildcard
        {"\x81 \\*", 3},    // a lead byte without a second byte stands alone
    };
    for (const auto& [word, prefix] : cases) {
        EXPECT_EQ(split_pattern_prefix(word), prefix) << word;
    }
}

TEST(ArgVectorBuild, over_long_words_and_paths_are_cut_or_left_out_within_their_buffers)
{
    FakeLister fs = planted_tree();
    std::string x(3000, 'x');
    EXPECT_EQ(words_of(fs, x + " next " + x + "*"), (Strings{x.substr(0, ARGV_WORD_MAX), "next", x.substr(0, ARGV_WORD_MAX)}));
    EXPECT_TRUE(fs.searches.empty());  // the wildcard was in the dropped part
    // A double-byte character across the limit is dropped whole.
    EXPECT_EQ(words_of(fs, x.substr(0, ARGV_WORD_MAX - 1) + "表yz"), Strings{x.substr(0, ARGV_WORD_MAX - 1)});

    std::string dir(1000, 'd');
    fs.dirs[dir + "\\"] = {{std::string(30, 'a'), true}, {"short", false}};
    EXPECT_EQ(words_of(fs, dir + "\\*"), Strings{dir + "\\short"});
    EXPECT_EQ(words_of(fs, dir + "\\*\\*"), Strings{});  // 1035 bytes: not searched
}

TEST(ArgVectorBuild, texts_of_arbitrary_bytes_keep_the_vector_sound)
{
    FakeLister fs = planted_tree();
    const char alphabet[] = "\"*?\\ \tab.\x81\x95\x5C\xFC\xFF";
    for (unsigned round = 0, state = 1; round < 400; ++round) {
        std::string text;
        while (text.size() < 255) {
            state = state * 1103515245u + 12345u;
            text += round % 2 ? static_cast<char>(1 + (state >> 16) % 255) : alphabet[(state >> 16) % 14];
        }
        for (const auto& word : words_of(fs, text)) {
            EXPECT_TRUE(word.size() <= 255 && word.find('"') == std::string::npos) << word;
        }
    }
}

}  // namespace
