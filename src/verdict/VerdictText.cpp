// Walking names and paths character by character, so that a backslash or a
// letter inside a double-byte character is never taken for one.
#include "verdict/VerdictText.h"

#include "base/AsciiText.h"

namespace cvt {
namespace {

// Bytes in the character that starts at i: 2 for a lead byte with a byte after it.
size_t Width(std::string_view text, size_t i, LeadByteTest isLeadByte) noexcept {
    return isLeadByte && isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view WithoutTrailingBackslashes(std::string_view folder, LeadByteTest isLeadByte) {
    size_t end = 0;
    for (size_t i = 0; i < folder.size();) {
        const size_t width = Width(folder, i, isLeadByte);
        if (width == 2 || folder[i] != '\\') end = i + width;
        i += width;
    }
    return folder.substr(0, end);
}

std::string FoldCase(std::string_view text, LeadByteTest isLeadByte) {
    std::string folded(text);
    for (size_t i = 0; i < folded.size();) {
        const size_t width = Width(text, i, isLeadByte);
        if (width == 1) folded[i] = AsciiLower(folded[i]);
        i += width;
    }
    return folded;
}

PathParts SplitPath(std::string_view path, LeadByteTest isLeadByte) {
    size_t separator = std::string_view::npos;
    for (size_t i = 0; i < path.size();) {
        const size_t width = Width(path, i, isLeadByte);
        if (width == 1 && path[i] == '\\') separator = i;
        i += width;
    }
    if (separator == std::string_view::npos) return {{}, path};
    return {WithoutTrailingBackslashes(path.substr(0, separator), isLeadByte), path.substr(separator + 1)};
}

std::vector<std::string_view> FolderNames(std::string_view folder, LeadByteTest isLeadByte) {
    std::vector<std::string_view> names;
    size_t start = 0;
    for (size_t i = 0; i <= folder.size();) {
        if (i == folder.size() || folder[i] == '\\') {
            if (i > start) names.push_back(folder.substr(start, i - start));
            start = ++i;
            continue;
        }
        i += Width(folder, i, isLeadByte);
    }
    return names;
}

bool SameFolder(std::string_view a, std::string_view b, LeadByteTest isLeadByte) {
    a = WithoutTrailingBackslashes(a, isLeadByte);
    b = WithoutTrailingBackslashes(b, isLeadByte);
    return !a.empty() && FoldCase(a, isLeadByte) == FoldCase(b, isLeadByte);
}

std::vector<std::string> CommandArguments(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false, inArgument = false;
    for (const char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if (IsBlank(c) && !quoted) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            current.push_back(c);
            inArgument = true;
        }
    }
    if (inArgument) arguments.push_back(std::move(current));
    // The first is the program itself, whatever it is called.
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return arguments;
}

std::string FillParameters(std::string_view format, const std::vector<std::string>& parameters) {
    std::string text;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        const char after = i + 1 < format.size() ? format[i + 1] : '\0';
        if (format[i] == '%' && after == 's') {
            if (next < parameters.size()) text += parameters[next];
            ++next;
            ++i;
        } else if (format[i] == '%' && after == '%') {
            text.push_back('%');
            ++i;
        } else {
            text.push_back(format[i]);
        }
    }
    return text;
}

}  // namespace cvt
