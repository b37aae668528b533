// An INI file parsed once and read like the private-profile functions, so that
// reading thousands of keys costs one pass over the file instead of one per key.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/IniSource.h"
#include "base/LeadByte.h"

namespace cvt {

class ProfileSnapshot final : public IniSource {
public:
    // bytes: the whole file. fallback: the same file read through the system; it
    // answers whatever the snapshot cannot answer exactly (a byte-order mark, a NUL,
    // bytes that do not survive the code page round trip, names or values outside
    // plain ASCII or longer than a read returns). decodesExactly: the platform's
    // verdict that the bytes convert to text and back unchanged.
    // keepSection, given a section's name in lower case, says whether its keys are
    // kept; reads of the others go to the fallback. None keeps every section.
    using SectionFilter = std::function<bool(std::string_view foldedName)>;
    // bytes: taken over, since a large file must not be held twice.
    ProfileSnapshot(std::string bytes, const IniSource& fallback, bool decodesExactly,
                    LeadBytePredicate isLeadByte = IsCp932LeadByte, SectionFilter keepSection = nullptr);
    // Keeps views into its own copy of the file: copying would leave them dangling.
    ProfileSnapshot(const ProfileSnapshot&) = delete;
    ProfileSnapshot& operator=(const ProfileSnapshot&) = delete;

    [[nodiscard]] int ReadInt(std::string_view section, std::string_view key, int defaultValue) const override;
    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const override;

    // False when every read goes to the fallback.
    [[nodiscard]] bool Parsed() const noexcept { return parsed_; }
    // The kept plain-ASCII section names, in lower case, each once; none before Parse.
    [[nodiscard]] std::vector<std::string> SectionNames() const;

private:
    struct Value {
        std::string_view text;
        bool hasValue;  // false for a line without "="
    };
    // What a read finds: the value, or that the fallback has to answer.
    struct Found {
        const Value* value;
        bool ask;
    };

    void Parse();
    [[nodiscard]] bool Kept(const std::string& foldedName) const;
    [[nodiscard]] Found Find(std::string_view section, std::string_view key) const;

    std::string bytes_;
    const IniSource& fallback_;
    LeadBytePredicate isLeadByte_;
    SectionFilter keepSection_;
    bool parsed_ = false;
    // Folded names of the sections seen; only the first section of a name is ever read.
    std::unordered_set<std::string> sectionNames_;
    // Folded section name, NUL, folded key: the first value of that key in that section.
    std::unordered_map<std::string, Value> values_;
};

// The number a private-profile integer read makes of a value's text: blanks and
// control bytes skipped, a sign, "0x", "0o" or "0b" choose the base, digits
// until the first byte that is none; 32 bits, wrapping.
[[nodiscard]] int ProfileTextToInt(std::string_view text) noexcept;

}  // namespace cvt
