// Letter case and trimming of plain ASCII, the same in every code page.
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

// Leading and trailing characters below code 33 removed.
[[nodiscard]] constexpr std::string_view TrimControls(std::string_view text) noexcept {
    while (!text.empty() && static_cast<unsigned char>(text.front()) < 33) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) < 33) text.remove_suffix(1);
    return text;
}

}  // namespace cvt
