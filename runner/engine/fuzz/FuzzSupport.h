// What the engine's fuzz targets share: reading settings and names from the
// fuzzer's bytes, and one way to fail. Each target is a function; built with
// RUNNER_FUZZER it is also the libFuzzer entry point, otherwise the engine
// tests replay the seed corpus and the regression inputs through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace runner::fuzz {

// A finding: the fuzzer aborts on it, the replaying tests fail.
struct Finding : std::logic_error {
    using std::logic_error::logic_error;
};

// Takes values from the front of the input; past its end, zeros and empty texts.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool Empty() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    bool Flag() { return Byte() & 1; }
    // A text of up to most bytes, its length given by one byte.
    std::string Text(size_t most) {
        size_t length = Byte() % (most + 1);
        length = std::min(length, size - std::min(at, size));
        std::string text(reinterpret_cast<const char*>(data) + at, length);
        at += length;
        return text;
    }
    // Of the texts given, by one byte; or, for a byte past their count, a fuzzed one.
    template <size_t N>
    std::string OneOf(const char* const (&texts)[N], size_t most) {
        uint8_t pick = Byte();
        return pick < 2 * N ? texts[pick % N] : Text(most);
    }
    // The rest of the input.
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data) + std::min(at, size), size - std::min(at, size));
        at = size;
        return rest;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

inline void Check(bool holds, const std::string& what) {
    if (!holds) throw Finding(what);
}

int FuzzTemplate(const uint8_t* data, size_t size);
int FuzzTranslate(const uint8_t* data, size_t size);
int FuzzReport(const uint8_t* data, size_t size);
int FuzzRun(const uint8_t* data, size_t size);
int FuzzStored(const uint8_t* data, size_t size);

}  // namespace runner::fuzz

// The libFuzzer entry point of a target; a finding aborts with its text.
#ifdef RUNNER_FUZZER
#include <cstdio>
#include <cstdlib>
#define RUNNER_FUZZ_TARGET(function)                                             \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {    \
        try {                                                                    \
            return runner::fuzz::function(data, size);                           \
        } catch (const runner::fuzz::Finding& finding) {                         \
            std::fprintf(stderr, "%s finding: %s\n", #function, finding.what()); \
            std::abort();                                                        \
        }                                                                        \
    }
#else
#define RUNNER_FUZZ_TARGET(function)
#endif
