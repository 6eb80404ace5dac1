// The work of the benchmark's busy program: a fixed amount of arithmetic,
// so that a command's processor time does not depend on what else runs.
#pragma once

#include <cstdint>

inline uint64_t BenchWork(uint64_t iterations) {
    uint64_t x = 88172645463325252ull;
    for (uint64_t i = 0; i < iterations; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
    }
    return x;
}
