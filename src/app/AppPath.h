// The program folder, taken from the executable's path.
#pragma once
#include <string>
#include <string_view>

namespace cvt {

using LeadBytePredicate = bool (*)(unsigned char);

// Shift-JIS (code page 932) lead bytes: the trail byte after one may be 0x5C.
[[nodiscard]] bool IsCp932LeadByte(unsigned char c) noexcept;

// Text up to and including the last backslash or colon, always ending in a backslash.
[[nodiscard]] std::string AppDirFromModulePath(std::string_view modulePath,
                                               LeadBytePredicate isLeadByte = IsCp932LeadByte);

}  // namespace cvt
