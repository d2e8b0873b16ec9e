// Fuzz target: argument vectors with wildcard expansion over a fake tree.
//
// Input: a directory tree (see fuzz_directory_lister.h), argv[0], then the
// text to split, up to its first NUL. The vector must be argv[0] and then, in
// order, what the documented steps give: words split at white space outside
// double quotes, quotes dropped, cut after 1023 bytes at a character boundary;
// a word with an unquoted * or ? replaced by its matches, found depth first
// below its wildcard-free prefix (slashes and backslashes separate, and a
// leading drive "D:" belongs to it), with no search or result path of 1024 bytes
// or more. The texts lie one after another in one block, and free_argv must
// release everything (the leak check of AddressSanitizer).
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"
#include "commands/arg_vector.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_directory_lister.h"

namespace {

using Lister = FuzzDirectoryLister;

bool is_white(char c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}
bool is_wildcard(char c)
{
    return c == '*' || c == '?';
}

struct Word {
    std::string text;  // quotes dropped, cut to ARGV_WORD_MAX bytes
    bool pattern = false;
};

// True when a character of `text` starts at `at`, walking from its start.
bool starts_character(std::string_view text, std::size_t at)
{
    std::size_t i = 0;
    while (i < at) {
        const bool pair = cp932_is_lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                          cp932_is_trail(static_cast<unsigned char>(text[i + 1]));
        i += pair ? 2 : 1;
    }
    return i == at;
}

std::vector<Word> split_words(std::string_view text)
{
    std::vector<Word> words;
    std::size_t p = 0;
    while (p < text.size()) {
        if (is_white(text[p])) {
            ++p;
            continue;
        }
        Word word;
        bool quoted = false;
        for (; p < text.size(); ++p) {
            const char c = text[p];
            if (!quoted && is_white(c)) {
                ++p;
                break;
            }
            if (c == '"') {
                quoted = !quoted;
                continue;
            }
            // Bytes past the kept ones are dropped, wildcards among them.
            if (word.text.size() < ARGV_WORD_MAX && !quoted && is_wildcard(c)) word.pattern = true;
            word.text += c;
        }
        if (word.text.size() > ARGV_WORD_MAX) {
            const std::size_t last = ARGV_WORD_MAX - 1;
            const bool lone_lead =
                cp932_is_lead(static_cast<unsigned char>(word.text[last])) && starts_character(word.text, last);
            word.text.resize(lone_lead ? last : ARGV_WORD_MAX);
        }
        words.push_back(word);
    }
    return words;
}

struct Expansion {
    Lister& lister;
    std::vector<std::string>& out;

    struct Found {
        std::vector<std::pair<std::string, bool>> entries;
        static void visit(void* context, const DirectoryEntry& entry)
        {
            static_cast<Found*>(context)->entries.emplace_back(entry.name, entry.is_directory);
        }
    };

    std::vector<std::pair<std::string, bool>> search(const std::string& path)
    {
        Found found;
        if (path.size() < ARGV_PATH_SIZE) lister.search(path.c_str(), Found::visit, &found);
        return found.entries;
    }

    static bool is_dot(const std::string& name) { return name == "." || name == ".."; }

    void expand(const std::string& prefix, std::string_view pattern)
    {
        const std::size_t sep = Lister::first_separator(pattern);
        if (sep != std::string_view::npos) {
            for (const auto& [name, is_directory] : search(prefix + std::string(pattern.substr(0, sep)))) {
                const std::string inner = prefix + name + pattern[sep];
                if (is_directory && !is_dot(name) && inner.size() < ARGV_PATH_SIZE) {
                    expand(inner, pattern.substr(sep + 1));
                }
            }
        } else if (!pattern.empty()) {
            for (const auto& [name, is_directory] : search(prefix + std::string(pattern))) {
                const std::string path = prefix + name;
                if (!is_dot(name) && path.size() < ARGV_PATH_SIZE) out.push_back(path);
            }
        } else {
            out.push_back(prefix);
        }
    }

    void word(const Word& w)
    {
        if (!w.pattern) {
            out.push_back(w.text);
            return;
        }
        // The prefix: a drive ("D:"), then the leading components free of wildcards, with their separators.
        std::string_view rest = w.text;
        if (rest.size() >= 2 && std::isalpha(static_cast<unsigned char>(rest[0])) && rest[1] == ':') {
            rest.remove_prefix(2);
        }
        for (std::size_t sep = Lister::first_separator(rest); sep != std::string_view::npos;
             sep = Lister::first_separator(rest)) {
            if (rest.substr(0, sep).find_first_of("*?") != std::string_view::npos) break;
            rest.remove_prefix(sep + 1);
        }
        expand(w.text.substr(0, w.text.size() - rest.size()), rest);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    Lister lister(input);
    const std::string argv0 = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();
    const std::string_view line(text.c_str());  // the text ends at its first NUL

    std::vector<std::string> expected{std::string(argv0.c_str())};
    Expansion expansion{lister, expected};
    for (const Word& w : split_words(line)) expansion.word(w);

    int count = -1;
    ArgVector argv = build_argv(lister, argv0.c_str(), text.c_str(), &count);
    FUZZ_CHECK(argv != nullptr && count >= 1);
    FUZZ_CHECK(static_cast<std::size_t>(count) == expected.size());
    for (int i = 0; i < count; ++i) {
        const std::size_t length = std::strlen(argv[i]);
        FUZZ_CHECK(i == 0 || length <= ARGV_WORD_MAX);
        FUZZ_CHECK(std::string_view(argv[i], length) == expected[static_cast<std::size_t>(i)]);
        if (i + 1 < count) FUZZ_CHECK(argv[i + 1] == argv[i] + length + 1);
    }
    free_argv(argv);
    return 0;
}
