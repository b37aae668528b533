// One listed window while its row is built, and the texts its columns show.
#pragma once
#include <cstdint>
#include <string>

namespace cvt {

struct AppWindowRow {
    std::string title;
    std::string status;
    uint32_t handle = 0;
    uint32_t processId = 0;
};

// The cell text of a window column kind; kinds outside 0-5 give "".
[[nodiscard]] std::string WindowCellText(int kind, const AppWindowRow& row);

}  // namespace cvt
