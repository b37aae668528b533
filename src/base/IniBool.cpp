// Booleans as the INI files hold them: "True"/"False" or a number.
#include "base/IniBool.h"

#include <algorithm>
#include <cctype>

namespace cvt {

namespace {

bool EqualsNoCase(std::string_view text, std::string_view word) noexcept
{
    return text.size() == word.size() &&
           std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<bool> ParseIniBool(std::string_view text) noexcept
{
    if (EqualsNoCase(text, "True")) return true;
    if (EqualsNoCase(text, "False")) return false;

    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-'))
        digits.remove_prefix(1);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit))
        return std::nullopt;
    // Only zero-ness matters, so a number too long for any integer is still one.
    return digits.find_first_not_of('0') != std::string_view::npos;
}

const char* IniBoolText(bool value) noexcept { return value ? "True" : "False"; }

std::string InvalidBooleanMessage(std::string_view text)
{
    std::string message = "'";
    message += text;
    message += "' is not a valid boolean value";
    return message;
}

}  // namespace cvt
