// Booleans as the INI files hold them: "True"/"False" or a number.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cvt {

// A decimal number with optional sign (0 is false, anything else true) or
// "True"/"False" in any letter case; anything else is not a boolean.
[[nodiscard]] std::optional<bool> ParseIniBool(std::string_view text) noexcept;

[[nodiscard]] const char* IniBoolText(bool value) noexcept;

[[nodiscard]] std::string InvalidBooleanMessage(std::string_view text);

}  // namespace cvt
