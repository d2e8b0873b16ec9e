// Fuzz target: the option scanner with random option strings and vectors.
//
// Input: an option string, then argument texts (argv[0] first), each one a
// random-length string of FuzzedDataProvider cut at its first NUL. Every text
// and the pointer array lie in heap blocks of their exact size. One scan runs to its end and
// each call is compared with the documented steps: -1 at the first operand or
// the end, one letter per argument, a lone "-" skipped, optarg from the next
// argument, and the two complaints, exactly, on the standard error stream.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "commands/option_scanner.h"
#include "fuzz/fuzz_check.h"

namespace {

// The scanner's complaints land here. glibc lets the stderr variable be
// assigned; libFuzzer keeps its own copy of the original for its reports.
char complaint_buffer[4096];

// A copy of the text up to its first NUL, in a block of exactly its size.
std::unique_ptr<char[]> heap_text(const std::string& text)
{
    const std::size_t length = std::strlen(text.c_str());
    std::unique_ptr<char[]> copy(new char[length + 1]);
    std::memcpy(copy.get(), text.c_str(), length + 1);
    return copy;
}

std::string complaint_since_rewind()
{
    std::fflush(stderr);
    const long length = std::ftell(stderr);
    FUZZ_CHECK(length >= 0 && static_cast<std::size_t>(length) < sizeof complaint_buffer);
    return std::string(complaint_buffer, static_cast<std::size_t>(length));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FILE* sink = fmemopen(complaint_buffer, sizeof complaint_buffer, "w");
    FUZZ_CHECK(sink != nullptr);
    stderr = sink;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string option_string = input.ConsumeRandomLengthString(24);
    std::vector<std::string> args;
    while (input.remaining_bytes() > 0 && args.size() < 24) args.push_back(input.ConsumeRandomLengthString(48));

    const int argc = static_cast<int>(args.size());
    std::vector<std::unique_ptr<char[]>> texts;
    std::unique_ptr<char*[]> argv(new char*[args.size()]);
    for (std::size_t i = 0; i < args.size(); ++i) {
        texts.push_back(heap_text(args[i]));
        argv[i] = texts.back().get();
    }
    const std::unique_ptr<char[]> options = heap_text(option_string);
    const char* const program = argc > 0 ? argv[0] : "";

    tavecron::optreset = 1;
    int next = 1;  // the argument the scanner should look at next
    for (;;) {
        std::rewind(stderr);
        const int got = tavecron::getopt(argc, argv.get(), options.get());
        const std::string complaint = complaint_since_rewind();

        while (next < argc && argv[next][0] == '-' && argv[next][1] == '\0') ++next;
        if (next >= argc || argv[next][0] != '-') {
            FUZZ_CHECK(got == -1);
            FUZZ_CHECK(complaint.empty());
            FUZZ_CHECK(tavecron::optind == next);
            break;
        }
        const char letter = argv[next][1];
        ++next;
        const char* entry = letter == ':' ? nullptr : std::strchr(options.get(), letter);
        const int letter_value = static_cast<unsigned char>(letter);
        if (entry == nullptr) {
            FUZZ_CHECK(got == '?' && tavecron::optopt == '?');
            FUZZ_CHECK(complaint == std::string(program) + ": illigal option -- " + letter + "\n");
        } else if (entry[1] != ':') {
            FUZZ_CHECK(got == letter_value && tavecron::optopt == letter_value);
            FUZZ_CHECK(complaint.empty());
        } else if (next < argc) {
            FUZZ_CHECK(got == letter_value && tavecron::optopt == letter_value);
            FUZZ_CHECK(tavecron::optarg == argv[next]);
            FUZZ_CHECK(complaint.empty());
            ++next;
        } else {
            FUZZ_CHECK(got == '?' && tavecron::optopt == '?');
            FUZZ_CHECK(complaint == std::string(program) + ": option requires an argument -- " + letter);
        }
        FUZZ_CHECK(tavecron::optind == next);
    }
    // Without a reset the scan stays ended.
    FUZZ_CHECK(tavecron::getopt(argc, argv.get(), options.get()) == -1);
    FUZZ_CHECK(tavecron::optind == next);
    return 0;
}
