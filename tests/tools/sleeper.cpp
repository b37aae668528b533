// A child process for tests and benchmarks to list and act on: it only waits.
#include <windows.h>

int main() {
    Sleep(INFINITE);
    return 0;
}
