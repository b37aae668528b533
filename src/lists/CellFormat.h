// How the lists show numbers: fixed widths, so that sorting the texts sorts the numbers.
#pragma once
#include <cstdint>
#include <string>

namespace cvt {

// Hexadecimal, upper case, at least 6 digits: 1234 -> "0004D2".
[[nodiscard]] std::string FormatPidHex(uint32_t pid);
// "%5d": right-aligned in 5, wider when needed.
[[nodiscard]] std::string FormatDecimal5(int32_t value);

}  // namespace cvt
