// Fuzz target: the program directory and the crontab path of start-up.
//
// Input: a flag and an argument (a random-length string, up to its first
// NUL), then the module path: the remaining bytes in a heap block of exactly
// their size, with no terminator. Every result must be terminated within its
// 256 bytes and be either the whole joined text or refused (empty).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/crontab_path.h"
#include "base/cp932.h"
#include "fuzz/fuzz_check.h"

namespace {

std::string_view terminated(const CrontabPath& buffer)
{
    const void* nul = std::memchr(buffer.data(), '\0', buffer.size());
    FUZZ_CHECK(nul != nullptr);
    return {buffer.data(), static_cast<std::size_t>(static_cast<const char*>(nul) - buffer.data())};
}

// The result is the whole of `expected` when that fits, else refused.
void check_join(const CrontabPath& buffer, bool has, const std::string& expected)
{
    FUZZ_CHECK(has == (expected.size() < CRONTAB_PATH_SIZE));
    FUZZ_CHECK(terminated(buffer) == (has ? std::string_view(expected) : std::string_view()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool has_argument = input.ConsumeBool();
    const std::string argument = input.ConsumeRandomLengthString(2 * CRONTAB_PATH_SIZE);
    const std::vector<char> module_bytes = input.ConsumeRemainingBytes<char>();
    std::unique_ptr<char[]> module(new char[module_bytes.size()]);
    if (!module_bytes.empty()) std::memcpy(module.get(), module_bytes.data(), module_bytes.size());
    const std::string_view module_path(module.get(), module_bytes.size());

    // The directory ends after the last backslash that is a character of its
    // own, walking code page 932 characters up to the end or the first NUL (a
    // NUL is never the second byte of a character).
    const std::string_view text = module_path.substr(0, std::min(module_path.find('\0'), module_path.size()));
    std::size_t expected_directory = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (cp932_is_lead(byte)) {
            ++i;
        } else if (byte == '\\') {
            expected_directory = i + 1;
        }
    }
    const std::size_t directory = directory_length(module_path);
    FUZZ_CHECK(directory == expected_directory);

    const char* const arg = has_argument ? argument.c_str() : nullptr;
    const CrontabLocation location = locate_crontab(module_path, arg);
    const std::string directory_text(module_path.substr(0, directory));
    FUZZ_CHECK(location.has_directory == (directory > 0 && directory < CRONTAB_PATH_SIZE));
    FUZZ_CHECK(terminated(location.directory) ==
               (location.has_directory ? std::string_view(directory_text) : std::string_view()));
    if (arg != nullptr) {
        check_join(location.path, location.has_path, arg);
    } else if (!text.empty() && (directory == 0 || location.has_directory)) {
        check_join(location.path, location.has_path, directory_text + DEFAULT_CRONTAB_NAME);
    } else {
        FUZZ_CHECK(!location.has_path && terminated(location.path).empty());
    }
    return 0;
}
