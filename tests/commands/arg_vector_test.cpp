#include "commands/arg_vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A directory tree in memory. Directories are keyed by their prefix as the
// expansion forms it ("" for the current one, "pics\\one\\" below it). A search
// pattern belongs to the longest registered prefix it starts with; its last
// component is matched against that directory's names, ASCII letters without
// regard to case, as the file system does.
class FakeLister final : public DirectoryLister {
public:
    void add(const std::string& dir, const std::string& name, bool is_directory)
    {
        dirs_[dir].push_back({name, is_directory});
    }

    void search(const char* pattern, VisitEntry visit, void* context) override
    {
        searches.push_back(pattern);
        ++open;
        depth_max = std::max(depth_max, open);
        std::string text = pattern;
        const std::string* best = nullptr;
        for (const auto& [dir, entries] : dirs_) {
            if (text.compare(0, dir.size(), dir) == 0 && (best == nullptr || dir.size() > best->size())) {
                best = &dir;
            }
        }
        if (best != nullptr) {
            std::string component = text.substr(best->size());
            for (const auto& e : dirs_[*best]) {
                if (matches(component.c_str(), e.name.c_str())) {
                    visit(context, DirectoryEntry{e.name.c_str(), e.is_directory});
                }
            }
        }
        --open;
    }

    Strings searches;
    int open = 0;
    int depth_max = 0;

private:
    struct Entry {
        std::string name;
        bool is_directory;
    };

    static bool matches(const char* p, const char* s)
    {
        if (*p == '\0') {
            return *s == '\0';
        }
        if (*p == '*') {
            return matches(p + 1, s) || (*s != '\0' && matches(p, s + 1));
        }
        if (*s == '\0') {
            return false;
        }
        if (*p == '?' || std::tolower(static_cast<unsigned char>(*p)) == std::tolower(static_cast<unsigned char>(*s))) {
            return matches(p + 1, s + 1);
        }
        return false;
    }

    std::map<std::string, std::vector<Entry>> dirs_;
};

// The shared tree: dot entries everywhere, a file beside directories, names
// in mixed case, a directory with a blank, and two whose first character has
// 0x5C as its second byte.
void plant_tree(FakeLister& fs)
{
    for (const char* dir : {"", "pics\\", "pics\\one\\", "pics\\two\\", "a b\\", "ソフト\\", "表示\\"}) {
        fs.add(dir, ".", true);
        fs.add(dir, "..", true);
    }
    fs.add("", "pics", true);
    fs.add("", "Photo.BMP", false);
    fs.add("", "notes.txt", false);
    fs.add("", "a b", true);
    fs.add("", "ソフト", true);
    fs.add("", "表示", true);
    fs.add("pics\\", "two", true);
    fs.add("pics\\", "top.bmp", false);
    fs.add("pics\\", "one", true);
    fs.add("pics\\one\\", "y.bmp", false);
    fs.add("pics\\one\\", "X.bmp", false);
    fs.add("pics\\two\\", "z.bmp", false);
    fs.add("pics\\two\\", "w.jpg", false);
    fs.add("a b\\", "in.bmp", false);
    fs.add("ソフト\\", "s.bmp", false);
    fs.add("表示\\", "h.bmp", false);
}

Strings words_of(FakeLister& fs, const char* text)
{
    int count = -1;
    ArgVector argv = build_argv(fs, "prog", text, &count);
    EXPECT_NE(argv, nullptr);
    Strings out;
    if (argv == nullptr) {
        return out;
    }
    EXPECT_STREQ(argv[0], "prog");
    // One block: every text directly after the previous one's terminator.
    for (int i = 1; i < count; ++i) {
        EXPECT_EQ(argv[i], argv[i - 1] + std::strlen(argv[i - 1]) + 1);
    }
    out.assign(argv + 1, argv + count);
    free_argv(argv);
    return out;
}

struct SplitCase {
    const char* text;
    Strings words;
};

TEST(ArgVectorSplit, words_quotes_and_white_space_follow_the_command_line_rules)
{
    const SplitCase cases[] = {
        {"", {}},
        {" \t\r\n\v\f ", {}},
        {"a  b\t\tc\r\n", {"a", "b", "c"}},
        {"\"\"", {""}},
        {"\"\" \"\"x", {"", "x"}},
        {"\"a b\" c", {"a b", "c"}},
        {"x\"y z\"w", {"xy zw"}},
        {"\"open to the end", {"open to the end"}},
        {"\"\"\"", {""}},
        {"\"*.bmp\" \"a?b\"", {"*.bmp", "a?b"}},
        {"\\ \\\\ a\\", {"\\", "\\\\", "a\\"}},
        {"a\x85" "b \xA0", {"a\x85" "b", "\xA0"}},
        {"表 ソ \"ソ フト\"", {"表", "ソ", "ソ フト"}},
    };
    for (const auto& c : cases) {
        FakeLister fs;
        plant_tree(fs);
        EXPECT_EQ(words_of(fs, c.text), c.words) << c.text;
        EXPECT_TRUE(fs.searches.empty()) << c.text;
    }
}

TEST(ArgVectorSplit, a_word_longer_than_the_buffer_is_cut_and_the_next_word_stays_apart)
{
    FakeLister fs;
    std::string long_word(3000, 'x');
    Strings words = words_of(fs, (long_word + " next").c_str());
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0], std::string(ARGV_WORD_MAX, 'x'));
    EXPECT_EQ(words[1], "next");

    // A double-byte character across the limit is dropped whole, not halved.
    std::string split_char = std::string(ARGV_WORD_MAX - 1, 'x') + "表yz";
    words = words_of(fs, split_char.c_str());
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0], std::string(ARGV_WORD_MAX - 1, 'x'));

    // A wildcard in the dropped part does not make the word a pattern.
    words = words_of(fs, (long_word + "*").c_str());
    ASSERT_EQ(words.size(), 1u);
    EXPECT_TRUE(fs.searches.empty());
}

TEST(ArgVectorSplit, a_command_line_of_several_kilobytes_keeps_every_word)
{
    FakeLister fs;
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += 'w';
        text += std::to_string(i);
        text += i % 3 == 0 ? "\t" : "  ";
    }
    Strings words = words_of(fs, text.c_str());
    ASSERT_EQ(words.size(), 2000u);
    EXPECT_EQ(words[0], "w0");
    EXPECT_EQ(words[1999], "w1999");
}

struct PrefixCase {
    const char* word;
    std::size_t prefix;
};

TEST(ArgVectorPattern, the_prefix_ends_before_the_first_component_with_a_wildcard)
{
    const PrefixCase cases[] = {
        {"*.bmp", 0},
        {"a\\b\\*.bmp", 4},
        {"a\\b*\\c\\*", 2},
        {"a\\*\\", 2},
        {"\\*.bmp", 1},
        {"c:\\pics\\?", 8},
        {"表\\*.bmp", 3},      // 0x95 0x5C then the separator
        {"ソ*\\x.bmp", 0},     // the wildcard shares a component with 0x83 0x5C
        {"ソ\\ソ*\\x", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(split_pattern_prefix(c.word), c.prefix) << c.word;
    }
}

TEST(ArgVectorPattern, a_second_byte_of_0x5C_is_never_a_separator)
{
    EXPECT_EQ(find_separator("表"), nullptr);
    EXPECT_EQ(find_separator("ソフト"), nullptr);
    const char* path = "ソ\\x";
    EXPECT_EQ(find_separator(path), path + 2);
    // A lead byte followed by something that cannot be a second byte stands
    // alone, so the backslash after it still separates.
    const char* lone = "\x81 \\";
    EXPECT_EQ(find_separator(lone), lone + 2);
    EXPECT_EQ(cp932_cut_length("ab\x95", 3), 2u);
    EXPECT_EQ(cp932_cut_length("a表", 3), 3u);
    EXPECT_EQ(cp932_cut_length("\x95\x5C\x95", 3), 2u);
}

TEST(ArgVectorExpand, patterns_expand_depth_first_in_search_order)
{
    const SplitCase cases[] = {
        {"*.bmp", {"Photo.BMP"}},
        {"pics\\*\\*.bmp", {"pics\\two\\z.bmp", "pics\\one\\y.bmp", "pics\\one\\X.bmp"}},
        {"pics\\*\\", {"pics\\two\\", "pics\\one\\"}},
        {"pics\\*", {"pics\\two", "pics\\top.bmp", "pics\\one"}},
        {"p?cs\\o*\\?.BMP", {"pics\\one\\y.bmp", "pics\\one\\X.bmp"}},
        {"\"a b\"\\*.bmp", {"a b\\in.bmp"}},
        {"ソ*\\*.bmp", {"ソフト\\s.bmp"}},
        {"表*\\*.bmp", {"表示\\h.bmp"}},
        {"表示\\*.bmp", {"表示\\h.bmp"}},
        {"x*\"?\"", {}},
        {"*.gif nowhere\\*.bmp *\\nothing\\*", {}},
        {"b.txt pics\\two\\* a", {"b.txt", "pics\\two\\z.bmp", "pics\\two\\w.jpg", "a"}},
    };
    for (const auto& c : cases) {
        FakeLister fs;
        plant_tree(fs);
        EXPECT_EQ(words_of(fs, c.text), c.words) << c.text;
        EXPECT_EQ(fs.open, 0) << c.text;
    }
}

TEST(ArgVectorExpand, inner_components_follow_directories_only_and_form_each_search_from_the_prefix)
{
    FakeLister fs;
    plant_tree(fs);
    words_of(fs, "pics\\*\\*.bmp");
    EXPECT_EQ(fs.searches, (Strings{"pics\\*", "pics\\two\\*.bmp", "pics\\one\\*.bmp"}));
    EXPECT_EQ(fs.depth_max, 2);
}

TEST(ArgVectorExpand, thousands_of_matches_all_reach_the_vector)
{
    FakeLister fs;
    for (int i = 0; i < 5000; ++i) {
        std::string name = std::to_string(i);
        name += ".bmp";
        fs.add("many\\", name, false);
    }
    Strings words = words_of(fs, "many\\*.bmp");
    ASSERT_EQ(words.size(), 5000u);
    EXPECT_EQ(words[4999], "many\\4999.bmp");
}

TEST(ArgVectorExpand, paths_that_do_not_fit_the_path_buffer_are_left_out)
{
    FakeLister fs;
    std::string dir(1000, 'd');
    fs.add(dir + "\\", std::string(30, 'a'), true);
    fs.add(dir + "\\", "short", false);
    fs.add(dir + "\\" + std::string(30, 'a') + "\\", "inner", false);
    EXPECT_EQ(words_of(fs, (dir + "\\*").c_str()), (Strings{dir + "\\short"}));
    // The inner path is 1039 bytes: it is neither searched nor added.
    EXPECT_EQ(words_of(fs, (dir + "\\*\\*").c_str()), Strings{});
}

TEST(ArgVectorExpand, texts_of_arbitrary_bytes_never_break_the_vector)
{
    FakeLister fs;
    plant_tree(fs);
    unsigned state = 12345;
    const char alphabet[] = "\"*?\\ \tab.\x81\x95\x5C\xFC\xFF";
    for (int round = 0; round < 500; ++round) {
        std::string text;
        for (int i = 0; i < 255; ++i) {
            state = state * 1103515245u + 12345u;
            char c = round % 2 == 0 ? alphabet[(state >> 16) % (sizeof alphabet - 1)]
                                    : static_cast<char>(1 + (state >> 16) % 255);
            text += c;
        }
        int count = 0;
        ArgVector argv = build_argv(fs, "prog", text.c_str(), &count);
        ASSERT_NE(argv, nullptr);
        ASSERT_GE(count, 1);
        for (int i = 1; i < count; ++i) {
            EXPECT_LE(std::strlen(argv[i]), 255u);
            EXPECT_EQ(std::strchr(argv[i], '"'), nullptr);
        }
        free_argv(argv);
        EXPECT_EQ(fs.open, 0);
    }
}

}  // namespace
