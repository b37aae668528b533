// Byte rules of names, paths and command lines in the ANSI code page, and the
// filling of a reason's parameters into its loaded text.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace cvt {

// Whether a byte starts a double-byte character: the platform decides. Null: a
// single-byte code page. In code page 932 the second byte may be a backslash or a letter.
using LeadByteTest = bool (*)(unsigned char);

// A-Z lowered; the second byte of a double-byte character is never changed.
[[nodiscard]] std::string FoldCase(std::string_view text, LeadByteTest isLeadByte);

// Split at the last backslash that is not the second byte of a character; the
// folder loses its trailing backslashes. Without a backslash: no folder.
struct PathParts {
    std::string_view folder;
    std::string_view file;
};
[[nodiscard]] PathParts SplitPath(std::string_view path, LeadByteTest isLeadByte);

// Without the backslashes that end it; one that is the second byte of a character stays.
[[nodiscard]] std::string_view WithoutTrailingBackslashes(std::string_view folder, LeadByteTest isLeadByte);

// The names between a folder's backslashes, the drive first.
[[nodiscard]] std::vector<std::string_view> FolderNames(std::string_view folder, LeadByteTest isLeadByte);

// Equal but for the letter case of A-Z and trailing backslashes; an empty folder equals none.
[[nodiscard]] bool SameFolder(std::string_view a, std::string_view b, LeadByteTest isLeadByte);

// The arguments after the program's name, split at blanks outside double
// quotes, the quotes dropped. A double-byte character never holds a blank or a
// quote, so no code page is needed.
[[nodiscard]] std::vector<std::string> CommandArguments(std::string_view commandLine);

// format with each "%s" replaced by the next parameter (empty once they run
// out) and "%%" by "%". A parameter is never read as a format.
[[nodiscard]] std::string FillParameters(std::string_view format, const std::vector<std::string>& parameters);

}  // namespace cvt
