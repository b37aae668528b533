// Texts of the program's string table.
#pragma once
#include <string>

namespace cvt {

// The text under that id in the running module's string table; empty when absent.
[[nodiscard]] std::string LoadText(unsigned id);

}  // namespace cvt
