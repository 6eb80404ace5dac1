// The trivial program of the real-run benchmark: starts and ends.
int main() {
    return 0;
}
