// Values that live for the whole run and that several parts of the program read.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "base/None.h"

namespace cvt {

struct ProgramState {
    std::string appDir;              // folder of the executable, ends in a backslash
    bool isNTPlatform = true;
    bool debugPrivilegeEnabled = false;
    bool mainFormActive = false;
    // Remembered selection per list view Tag: 0 process ID, 1 window handle.
    std::array<int32_t, 2> selected{kNone, kNone};
    bool processListRefreshing = false;
    bool reportInProgress = false;
    bool clipboardCopying = false;

    [[nodiscard]] int32_t& SelectedProcessId() noexcept { return selected[0]; }
    [[nodiscard]] int32_t& SelectedWindowHandle() noexcept { return selected[1]; }
};

}  // namespace cvt
