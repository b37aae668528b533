// Splitting paths at their last backslash or colon, aware of double-byte characters.
#pragma once
#include <string>
#include <string_view>

#include "base/LeadByte.h"

namespace cvt {

// Text up to and including the last backslash or colon ("" when there is none).
[[nodiscard]] std::string_view FolderPart(std::string_view path, LeadBytePredicate isLeadByte = IsCp932LeadByte);
// Text after the last backslash or colon.
[[nodiscard]] std::string_view FileNamePart(std::string_view path, LeadBytePredicate isLeadByte = IsCp932LeadByte);

// The program folder: FolderPart of the executable's path, always ending in a backslash.
[[nodiscard]] std::string AppDirFromModulePath(std::string_view modulePath,
                                               LeadBytePredicate isLeadByte = IsCp932LeadByte);

}  // namespace cvt
