// Letter case of plain ASCII, the same in every code page.
#pragma once
#include <string_view>

namespace cvt {

[[nodiscard]] constexpr char AsciiLower(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal when only the letter case of A-Z differs; other bytes must match exactly.
[[nodiscard]] constexpr bool AsciiEqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace cvt
