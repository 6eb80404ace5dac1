// The busy program of the commands-at-once benchmark: bench_busy FILE N
// does N rounds of BenchWork, a fixed amount of processor time, and ends.
#include "BenchWork.h"

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    return BenchWork(std::strtoull(argv[2], nullptr, 10)) == 1 ? 1 : 0;
}
