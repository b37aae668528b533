// Whether a byte can start a double-byte character: the platform decides on Windows.
#pragma once

namespace cvt {

// Windows passes its ANSI code page's test; pure code never assumes a code page itself.
using LeadBytePredicate = bool (*)(unsigned char);

// Shift-JIS (code page 932) lead bytes: the trail byte after one may be 0x5C.
[[nodiscard]] constexpr bool IsCp932LeadByte(unsigned char c) noexcept {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace cvt
