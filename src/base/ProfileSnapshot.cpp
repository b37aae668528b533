// One pass over an INI file's bytes with the private-profile parser's rules.
#include "base/ProfileSnapshot.h"

#include <algorithm>
#include <cstdint>

namespace cvt {
namespace {

// The private-profile functions' blanks: tab to carriage return, ^Z and space.
bool IsProfileSpace(unsigned char c) noexcept { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::string_view Trim(std::string_view text) noexcept {
    while (!text.empty() && IsProfileSpace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && IsProfileSpace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool IsPlainAscii(std::string_view text) noexcept {
    for (const char c : text)
        if (c == '\0' || static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Only called on plain ASCII, so no trail byte is ever folded.
std::string Fold(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// What the system copies into a buffer of `capacity` characters: surrounding
// quotes of one kind are dropped, and the text is cut to capacity - 1 characters.
std::string_view CopyEntry(std::string_view value, size_t capacity, LeadBytePredicate isLeadByte) {
    bool quoted = false;
    if (!value.empty() && (value.front() == '\'' || value.front() == '"') && value.size() > 1 &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    // One walk over the characters: their count, where the cut falls, where the last ones start.
    size_t count = 0, cut = value.size(), lastStart = 0, cutLastStart = 0;
    for (size_t i = 0; i < value.size();) {
        if (count == capacity - 2) cutLastStart = i;
        lastStart = i;
        i += (isLeadByte(static_cast<unsigned char>(value[i])) && i + 1 < value.size()) ? 2 : 1;
        if (++count == capacity - 1) cut = i;
    }
    const bool isCut = count > capacity - 1;
    std::string_view copied = isCut ? value.substr(0, cut) : value;
    // The system drops the last character it copied, whether or not that is the closing quote.
    if (quoted && capacity >= count) copied = copied.substr(0, isCut ? cutLastStart : lastStart);
    return copied;
}

// A read's default loses its trailing blanks, but never its first character.
std::string_view TrimDefault(std::string_view text) noexcept {
    while (text.size() > 1 && text.back() == ' ') text.remove_suffix(1);
    return text;
}

constexpr size_t kStringCapacity = 256;  // the buffer ReadIniString passes
constexpr size_t kIntCapacity = 30;      // the buffer the integer read uses inside the system

}  // namespace

int ProfileTextToInt(std::string_view text) noexcept {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool minus = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) minus = text[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        if (text[i + 1] == 'b') base = 2;
        else if (text[i + 1] == 'o') base = 8;
        else if (text[i + 1] == 'x') base = 16;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        uint32_t digit = 99;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'Z') digit = static_cast<uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'z') digit = static_cast<uint32_t>(c - 'a' + 10);
        if (digit >= base) break;
        total = total * base + digit;  // wraps past 32 bits, as the system's does
    }
    return static_cast<int>(minus ? 0u - total : total);
}

ProfileSnapshot::ProfileSnapshot(std::string bytes, const IniSource& fallback, bool decodesExactly,
                                 LeadBytePredicate isLeadByte, SectionFilter keepSection)
    : bytes_(std::move(bytes)), fallback_(fallback), isLeadByte_(isLeadByte), keepSection_(std::move(keepSection)) {
    const bool unicodeMark = bytes_.starts_with("\xEF\xBB\xBF") || bytes_.starts_with("\xFF\xFE") ||
                             bytes_.starts_with("\xFE\xFF");
    if (decodesExactly && !unicodeMark && bytes_.find('\0') == std::string::npos) Parse();
}

void ProfileSnapshot::Parse() {
    const std::string_view text(bytes_);
    // At most one key or section per line: no rehashing while the file is read.
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    values_.reserve(lines);
    sectionNames_.reserve(lines / 2);
    // Keys before the first section header belong to a section without a name.
    sectionNames_.insert("");
    std::string section;  // folded name plus a NUL; empty while the section is not read
    section.push_back('\0');
    bool previousKeyUnnamed = false, sectionHasKey = false;
    size_t next = 0;
    while (next < text.size()) {
        const size_t start = next;
        while (next < text.size() && text[next] != '\n' && text[next] != '\r') ++next;
        std::string_view line = Trim(text.substr(start, next - start));
        while (next < text.size() && (text[next] == '\n' || text[next] == '\r')) ++next;
        if (line.empty()) continue;

        if (line.front() == '[') {
            // The last "]" that is not the second byte of a double-byte character.
            size_t close = std::string_view::npos;
            for (size_t i = 0; i < line.size(); ++i) {
                if (isLeadByte_(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) ++i;
                else if (line[i] == ']') close = i;
            }
            if (close != std::string_view::npos) {
                const std::string_view name = Trim(line.substr(1, close - 1));
                // Only the first section of a name is ever read; names outside ASCII go to the fallback.
                section.clear();
                if (IsPlainAscii(name) && Kept(Fold(name)) && sectionNames_.insert(Fold(name)).second)
                    section = Fold(name) + '\0';
                previousKeyUnnamed = false;
                sectionHasKey = false;
                continue;
            }
        }

        std::string_view name = line;
        Value value{{}, false};
        if (const size_t eq = line.find('='); eq != std::string_view::npos) {
            name = Trim(line.substr(0, eq));
            value = {Trim(line.substr(eq + 1)), true};
        }
        // The system drops an unnamed key that follows another unnamed key.
        if (name.empty() && sectionHasKey && previousKeyUnnamed) continue;
        previousKeyUnnamed = name.empty();
        sectionHasKey = true;
        if (!section.empty() && IsPlainAscii(name)) values_.emplace(section + Fold(name), value);
    }
    parsed_ = true;
}

bool ProfileSnapshot::Kept(const std::string& foldedName) const {
    // The keys before the first header are always kept: they cost nothing to hold.
    return !keepSection_ || foldedName.empty() || keepSection_(foldedName);
}

std::vector<std::string> ProfileSnapshot::SectionNames() const {
    std::vector<std::string> names;
    if (!parsed_) return names;
    names.reserve(sectionNames_.size());
    // The unnamed section of keys before the first header is no section to the system.
    for (const std::string& name : sectionNames_)
        if (!name.empty()) names.push_back(name);
    return names;
}

ProfileSnapshot::Found ProfileSnapshot::Find(std::string_view section, std::string_view key) const {
    section = Trim(section);
    key = Trim(key);
    if (!parsed_ || !IsPlainAscii(section) || !IsPlainAscii(key)) return {nullptr, true};
    std::string name = Fold(section);
    if (!Kept(name)) return {nullptr, true};
    name.push_back('\0');
    name += Fold(key);
    const auto at = values_.find(name);
    if (at == values_.end() || !at->second.hasValue) return {nullptr, false};
    return {&at->second, false};
}

int ProfileSnapshot::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    const Found found = Find(section, key);
    if (found.ask) return fallback_.ReadInt(section, key, defaultValue);
    if (!found.value) return defaultValue;
    const std::string_view copied = CopyEntry(found.value->text, kIntCapacity, isLeadByte_);
    return copied.empty() ? defaultValue : ProfileTextToInt(copied);
}

std::string ProfileSnapshot::ReadString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) const {
    const Found found = Find(section, key);
    if (found.ask) return fallback_.ReadString(section, key, defaultValue);
    const std::string_view source = found.value ? found.value->text : TrimDefault(defaultValue);
    const std::string_view copied = CopyEntry(source, kStringCapacity, isLeadByte_);
    // Past 255 bytes the system's cut depends on its code page conversion: let it answer.
    if (copied.size() > kStringCapacity - 1) return fallback_.ReadString(section, key, defaultValue);
    return std::string(copied);
}

}  // namespace cvt
