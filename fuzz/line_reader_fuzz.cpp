// Fuzz target: the line reader and read_crontab_line over a stream whose reads
// return short counts, with calls of every kind in any order.
//
// Input: the stream's bytes first; the bytes after them choose the stream's
// read lengths and each call (reader_gets with a buffer of any size,
// read_crontab_line, reader_getc with or without a step back, an early close).
// Every answer is compared with a model over the raw bytes that follows the
// headers' contracts: a line end (CR LF, LF, lone CR) becomes one "\n"; a line
// longer than the buffer is cut and goes on at the next call; read_crontab_line
// keeps 2047 characters, drops the rest of the line and counts what it
// dropped and what it kept; a write-mode close hands back only unread bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "schedule/crontab_line.h"
#include "schedule/line_reader.h"
#include "tests/support/memory_stream.h"

namespace {

// The bytes still to be read, as a caller of the reader sees them.
struct Model {
    const std::vector<unsigned char>& bytes;
    std::size_t position = 0;

    bool at_end() const { return position >= bytes.size(); }

    // Passes a line end at the position (the CR already taken).
    void pass_lf_after_cr()
    {
        if (!at_end() && bytes[position] == '\n') ++position;
    }

    // What reader_gets with a buffer of n bytes (n >= 2) stores.
    std::optional<std::string> gets(int n)
    {
        if (at_end()) return std::nullopt;
        std::string line;
        while (!at_end()) {
            const unsigned char c = bytes[position++];
            if (c == '\n' || c == '\r') {
                if (c == '\r') pass_lf_after_cr();
                line += '\n';
                break;
            }
            line += static_cast<char>(c);
            if (line.size() == static_cast<std::size_t>(n - 1)) break;
        }
        return line;
    }

    // What read_crontab_line answers, and in `dropped` how many characters of
    // an over-long line it passed over (the line end not counted).
    std::optional<std::string> crontab_line(int& dropped)
    {
        dropped = 0;
        std::optional<std::string> line = gets(CRONTAB_LINE_SIZE);
        if (line && line->size() == static_cast<std::size_t>(CRONTAB_LINE_SIZE - 1) && line->back() != '\n') {
            while (!at_end()) {
                const unsigned char c = bytes[position++];
                if (c == '\n') break;
                if (c == '\r') {
                    pass_lf_after_cr();
                    break;
                }
                ++dropped;
            }
        }
        return line;
    }

    int getc() { return at_end() ? -1 : bytes[position++]; }
};

void check_invariants(const LineReader* reader)
{
    FUZZ_CHECK(reader->capacity == READER_CAPACITY);
    FUZZ_CHECK(reader->buffer == reader->inline_buffer.data());
    FUZZ_CHECK(0 <= reader->position && reader->position <= reader->fill && reader->fill <= reader->capacity);
}

// A text answered by the reader equals the model's, terminator included.
void check_text(const char* got, const std::optional<std::string>& expected)
{
    FUZZ_CHECK((got != nullptr) == expected.has_value());
    if (got == nullptr) return;
    FUZZ_CHECK(std::memcmp(got, expected->data(), expected->size()) == 0);
    FUZZ_CHECK(got[expected->size()] == '\0');
}

constexpr unsigned char UNTOUCHED = 0xA5;

void check_gets(LineReader* reader, Model& model, int n)
{
    // Exactly n bytes on the heap, so that a write past them is caught.
    const std::size_t room = n > 0 ? static_cast<std::size_t>(n) : 1;
    std::unique_ptr<char[]> buf(new char[room]);
    std::memset(buf.get(), UNTOUCHED, room);
    char* const target = n < 0 ? nullptr : buf.get();
    char* got = reader_gets(reader, target, n);
    if (n < 2) {
        FUZZ_CHECK(got == nullptr);
    } else {
        check_text(got, model.gets(n));
        FUZZ_CHECK(got == nullptr || got == target);
    }
    if (got == nullptr) {
        for (std::size_t i = 0; i < room; ++i) FUZZ_CHECK(static_cast<unsigned char>(buf[i]) == UNTOUCHED);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool write_mode = input.ConsumeBool();
    const std::vector<unsigned char> bytes =
        input.ConsumeBytes<unsigned char>(input.ConsumeIntegralInRange<std::size_t>(0, input.remaining_bytes()));

    // Each read delivers as few bytes as the input chooses (0, also an exhausted input's answer: all it can), so
    // the reader meets every split of its input across refills.
    MemoryStreamState state{{bytes.begin(), bytes.end()}};
    state.read_size = [&](int most) {
        const int chosen = input.ConsumeIntegralInRange<int>(0, most);
        return chosen > 0 ? chosen : most;
    };
    const std::string& written = state.written;
    Stream* stream = memory_stream_open(state);
    FUZZ_CHECK(stream != nullptr);
    LineReader* reader = reader_open(stream, READER_MODE_READ | (write_mode ? READER_MODE_WRITE : 0));
    FUZZ_CHECK(reader != nullptr);
    check_invariants(reader);

    Model model{bytes};
    bool closed_early = false;
    for (;;) {
        // Once the choices run out, whole crontab lines to the end.
        const int kind = input.remaining_bytes() == 0 ? 0 : input.ConsumeIntegralInRange<int>(0, 10);
        if (kind == 0 || kind == 10) {
            std::array<char, CRONTAB_LINE_SIZE> line;
            int dropped = -1;
            int kept = -1;
            const char* got =
                kind == 0 ? read_crontab_line(reader, line, dropped, kept) : read_crontab_line(reader, line);
            int expected_dropped = 0;
            const std::optional<std::string> expected = model.crontab_line(expected_dropped);
            check_text(got, expected);
            FUZZ_CHECK(got == nullptr || got == line.data());
            if (kind == 0) FUZZ_CHECK(dropped == expected_dropped);
            // The bytes before the line end, NUL bytes included.
            if (kind == 0 && expected) {
                FUZZ_CHECK(kept == static_cast<int>(expected->size()) - (expected->ends_with('\n') ? 1 : 0));
            }
            if (got == nullptr && input.remaining_bytes() == 0) break;
        } else if (kind <= 6) {
            check_gets(reader, model, input.ConsumeIntegralInRange<int>(-1, 2 * CRONTAB_LINE_SIZE));
        } else if (kind <= 8) {
            const int c = reader_getc(reader);
            const int expected = model.getc();
            FUZZ_CHECK(c == expected);
            if (kind == 8) {
                // The step back answers the byte it is given, or -1 with nothing read.
                FUZZ_CHECK(reader_ungetc(reader, c) == c);
                if (c >= 0) {
                    --model.position;
                    FUZZ_CHECK(reader_getc(reader) == model.getc());
                }
            }
        } else {  // kind 9
            closed_early = true;
            break;
        }
        check_invariants(reader);
    }

    const std::size_t unread = bytes.size() - model.position;
    reader_close(reader);
    // Write-back gives the stream the buffered bytes not yet handed out, and
    // nothing after a read-only reader or a stream read to its end.
    if (!write_mode || !closed_early) {
        FUZZ_CHECK(written.empty());
    } else {
        FUZZ_CHECK(written.size() <= static_cast<std::size_t>(READER_CAPACITY) && written.size() <= unread);
        FUZZ_CHECK(written.empty() || std::memcmp(written.data(), bytes.data() + model.position, written.size()) == 0);
    }
    return 0;
}
