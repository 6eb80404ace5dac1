// What the engine's fuzz targets share: reading values from the fuzzer's
// bytes, and one way to fail. Each target is a function, which the engine
// tests replay over the seed corpus and the regression inputs; built with
// RUNNER_FUZZER naming it, it is also the libFuzzer entry point.
#pragma once

#include "runner/engine/tests/FakePlatform.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace runner::fuzz {

struct Finding : std::logic_error {  // the fuzzer aborts on it, the replaying tests fail
    using std::logic_error::logic_error;
};
inline void Check(bool holds, const std::string& what) {
    if (!holds) throw Finding(what);
}

// A file added where its directory exists; nullptr where none does.
inline FakeNode* TryAdd(FakePlatform& platform, std::string_view path, std::string_view content,
                        std::string_view alias = {}, uint32_t attributes = text::AttributeArchive) {
    try {
        return &platform.AddFile(path, content, alias, attributes);
    } catch (const std::runtime_error&) {
        return nullptr;
    }
}

// Takes values from the front of the input; past its end, zeros and empty texts.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data(data), size(size) {}
    bool Empty() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    bool Flag() { return Byte() & 1; }
    std::string Text(size_t most) { return Take(Byte() % (most + 1)); }  // its length given by one byte
    std::string Rest() { return Take(size); }
    // One of the texts, by one byte; for a byte past twice their count, a fuzzed text.
    template <size_t N>
    std::string OneOf(const char* const (&texts)[N], size_t most) {
        const uint8_t pick = Byte();
        return pick < 2 * N ? texts[pick % N] : Text(most);
    }

private:
    std::string Take(size_t length) {
        const size_t from = std::min(at, size);
        at = from + std::min(length, size - from);
        return std::string(reinterpret_cast<const char*>(data) + from, at - from);
    }
    const uint8_t* data;
    size_t size, at = 0;
};

int FuzzTemplate(const uint8_t* data, size_t size);
int FuzzTranslate(const uint8_t* data, size_t size);
int FuzzReport(const uint8_t* data, size_t size);
int FuzzRun(const uint8_t* data, size_t size);
int FuzzStored(const uint8_t* data, size_t size);

}  // namespace runner::fuzz

#ifdef RUNNER_FUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        return runner::fuzz::RUNNER_FUZZER(data, size);
    } catch (const runner::fuzz::Finding& finding) {
        std::fprintf(stderr, "finding: %s\n", finding.what());
        std::abort();
    }
}
#endif
