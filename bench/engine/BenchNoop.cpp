// The trivial program of the real-run benchmarks: says one line and ends.
#include <cstdio>

int main(int argc, char** argv) {
    std::printf("%s\n", argc > 1 ? argv[1] : "");
    return 0;
}
