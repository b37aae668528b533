// A million random editor steps; prints the violations of the model's invariants (goal 0).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/EditorDriver.h"

int main(int argc, char** argv) {
    const long steps = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    const auto seed = static_cast<std::uint32_t>(argc > 2 ? std::atol(argv[2]) : 1);
    cvt::testing::EditorDriver driver(seed);
    for (long i = 0; i < steps; ++i) driver.Step();
    std::printf("fuzz-editor: %ld steps (seed %u), %lld undo round trips, %lld violations (goal 0)\n", steps, seed,
                static_cast<long long>(driver.undoChecks), static_cast<long long>(driver.violations));
    for (const auto& v : driver.firstViolations) std::printf("  %s\n", v.c_str());
    for (const auto& e : driver.view.errors) std::printf("  error box: %s\n", e.c_str());
    return driver.violations == 0 ? 0 : 1;
}
