// The fuzz targets' seed corpus and regression inputs, replayed: each input
// that once found a fault stays a test.
#include "runner/engine/fuzz/FuzzSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace runner::fuzz;

TEST(FuzzReplay, SeedsAndRegressions) {
    const char* const names[] = {"templatefuzz", "translatefuzz", "reportfuzz", "runfuzz", "storedfuzz"};
    int (*const targets[])(const uint8_t*, size_t) = {FuzzTemplate, FuzzTranslate, FuzzReport, FuzzRun, FuzzStored};
    for (int t = 0; t < 5; ++t) {
        int inputs = 0;
        for (const char* kind : {"corpus", "regressions"}) {
            const std::filesystem::path directory = std::filesystem::path(RUNNER_FUZZ_DIR) / kind / names[t];
            if (!std::filesystem::is_directory(directory)) continue;
            for (const auto& file : std::filesystem::directory_iterator(directory)) {
                std::ifstream in(file.path(), std::ios::binary);
                const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
                ++inputs;
                try {
                    targets[t](bytes.data(), bytes.size());
                } catch (const Finding& finding) {
                    ADD_FAILURE() << file.path() << ": " << finding.what();
                }
            }
        }
        EXPECT_GT(inputs, 0) << names[t];
    }
}
