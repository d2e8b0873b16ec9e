#include "commands/arg_vector.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "base/cp932.h"
#include "base/path_join.h"

namespace {

using ArgvPath = std::array<char, ARGV_PATH_SIZE>;

constexpr bool is_white(unsigned char c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

constexpr bool is_wildcard(char c)
{
    return c == '*' || c == '?';
}

// 2 when `word` starts with a drive letter and its colon ("D:"), else 0.
std::size_t drive_length(const char* word)
{
    const char letter = word[0];
    const bool is_letter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return is_letter && word[1] == ':' ? 2 : 0;
}

bool is_dot_name(const char* name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// Follows each matching directory with the rest of the pattern, joined by
// the separator the pattern has there.
struct DirectoryFollower {
    StringList& list;
    const char* prefix;
    const char* remainder;
    char separator;
    DirectoryLister& lister;

    static void visit(void* context, const DirectoryEntry& entry)
    {
        auto self = static_cast<DirectoryFollower*>(context);
        if (!entry.is_directory || is_dot_name(entry.name)) {
            return;
        }
        ArgvPath inner;
        if (join_path(inner, self->prefix, entry.name, std::string_view(&self->separator, 1))) {
            expand_wildcards(self->list, inner.data(), self->remainder, self->lister);
        }
    }
};

// Adds every match of the last component, files and directories alike.
struct MatchCollector {
    StringList& list;
    const char* prefix;

    static void visit(void* context, const DirectoryEntry& entry)
    {
        auto self = static_cast<MatchCollector*>(context);
        if (is_dot_name(entry.name)) {
            return;
        }
        ArgvPath path;
        if (join_path(path, self->prefix, entry.name)) {
            self->list.append(path.data());
        }
    }
};

struct Word {
    std::array<char, ARGV_WORD_MAX + 1> text;
    std::size_t length;
    bool pattern;
};

// Collects the word that starts at `p` (not white space) and returns the
// position after it, past the white-space byte that ended it. A longer word
// is cut to ARGV_WORD_MAX bytes between characters: the byte past the limit is
// collected only to show the cut that the word goes on, later ones are dropped.
const char* read_word(const char* p, Word& word)
{
    bool quoted = false;
    word.length = 0;
    word.pattern = false;
    for (; *p != '\0'; ++p) {
        char c = *p;
        if (!quoted && is_white(static_cast<unsigned char>(c))) {
            ++p;
            break;
        }
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (word.length > ARGV_WORD_MAX) {
            continue;
        }
        if (!quoted && is_wildcard(c) && word.length < ARGV_WORD_MAX) {
            word.pattern = true;
        }
        word.text[word.length++] = c;
    }
    word.length = cp932_keep_length(std::string_view(word.text.data(), word.length), word.text.size());
    word.text[word.length] = '\0';
    return p;
}

// Moves the list into one pointer array and one text block.
ArgVector vector_from(const StringList& list, int* count)
{
    *count = 0;
    int n = list.count();
    if (n == 0) {
        return nullptr;
    }
    std::size_t block_size = 0;
    for (const StringList::Node* node = list.first(); node != nullptr; node = node->next) {
        block_size += node->length + 1;
    }
    auto argv = static_cast<char**>(std::malloc(sizeof(char*) * static_cast<std::size_t>(n)));
    auto block = static_cast<char*>(std::malloc(block_size));
    if (argv == nullptr || block == nullptr) {
        std::free(argv);
        std::free(block);
        return nullptr;
    }
    char* out = block;
    int i = 0;
    for (const StringList::Node* node = list.first(); node != nullptr; node = node->next) {
        std::memcpy(out, node->text(), node->length + 1);
        argv[i++] = out;
        out += node->length + 1;
    }
    *count = n;
    return argv;
}

}  // namespace

StringList::~StringList()
{
    Node* node = first_;
    while (node != nullptr) {
        Node* next = node->next;
        std::free(node);
        node = next;
    }
}

int StringList::append(const char* text, std::size_t length)
{
    auto node = static_cast<Node*>(std::malloc(sizeof(Node) + length + 1));
    if (node == nullptr) {
        return 0;
    }
    node->next = nullptr;
    node->length = length;
    char* copy = reinterpret_cast<char*>(node + 1);
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    if (last_ == nullptr) {
        first_ = node;
    } else {
        last_->next = node;
    }
    last_ = node;
    ++count_;
    return 1;
}

int StringList::append(const char* text)
{
    return append(text, std::strlen(text));
}

const char* find_separator(const char* text)
{
    for (auto p = reinterpret_cast<const unsigned char*>(text); *p != '\0'; ++p) {
        if (cp932_is_lead(p[0]) && cp932_is_trail(p[1])) {
            ++p;  // a second byte of 0x5C is part of the character
        } else if (*p == '\\' || *p == '/') {
            return reinterpret_cast<const char*>(p);
        }
    }
    return nullptr;
}

std::size_t split_pattern_prefix(const char* word)
{
    const char* rest = word + drive_length(word);
    for (const char* sep = find_separator(rest); sep != nullptr; sep = find_separator(rest)) {
        for (const char* p = rest; p != sep; ++p) {
            if (is_wildcard(*p)) {
                return static_cast<std::size_t>(rest - word);
            }
        }
        rest = sep + 1;
    }
    return static_cast<std::size_t>(rest - word);
}

void expand_wildcards(StringList& list, const char* prefix, const char* pattern, DirectoryLister& lister)
{
    ArgvPath search;
    if (const char* sep = find_separator(pattern)) {
        if (join_path(search, prefix, std::string_view(pattern, static_cast<std::size_t>(sep - pattern)))) {
            DirectoryFollower follower{list, prefix, sep + 1, *sep, lister};
            lister.search(search.data(), DirectoryFollower::visit, &follower);
        }
    } else if (*pattern != '\0') {
        if (join_path(search, prefix, pattern)) {
            MatchCollector collector{list, prefix};
            lister.search(search.data(), MatchCollector::visit, &collector);
        }
    } else {
        list.append(prefix);
    }
}

ArgVector build_argv(DirectoryLister& lister, const char* argv0, const char* text, int* count)
{
    StringList list;
    list.append(argv0);
    Word word;
    ArgvPath prefix;
    const char* p = text;
    while (*p != '\0') {
        if (is_white(static_cast<unsigned char>(*p))) {
            ++p;
            continue;
        }
        p = read_word(p, word);
        if (!word.pattern) {
            list.append(word.text.data(), word.length);
            continue;
        }
        std::size_t prefix_length = split_pattern_prefix(word.text.data());
        std::memcpy(prefix.data(), word.text.data(), prefix_length);
        prefix[prefix_length] = '\0';
        expand_wildcards(list, prefix.data(), word.text.data() + prefix_length, lister);
    }
    return vector_from(list, count);
}

void free_argv(ArgVector argv)
{
    if (argv == nullptr) {
        return;
    }
    std::free(argv[0]);
    std::free(argv);
}
