// The system the program runs on, as the verdicts compare processes with it.
#pragma once
#include <cstdint>
#include <string>

namespace cvt {

struct HostFacts {
    std::string windowsFolder;
    std::string systemFolder;    // System32, also for a 32-bit program on 64-bit Windows
    std::string systemFolder32;  // 64-bit Windows' 32-bit system folder; empty elsewhere
    bool ntFamily = true;
    uint32_t major = 0;
    uint32_t minor = 0;
    bool underWine = false;  // ntdll exports wine_get_version
};

[[nodiscard]] HostFacts ReadHostFacts();
// %SystemRoot% as the environment gives it, which image paths may be written with; "" when unset.
[[nodiscard]] std::string SystemRootFolder();

}  // namespace cvt
