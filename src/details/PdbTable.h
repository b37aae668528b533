// The danger table: known image names with a danger level, read from
// an INI file once, and the label text and colour a lookup gives.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/AsciiText.h"
#include "base/IniSource.h"

namespace cvt {

// One entry in file order; the comment is not held, it is read at every lookup.
struct TPdbEntry {
    int32_t Number = 0;
    std::string Name;
    int32_t Danger = 0;
};

inline constexpr int32_t kPdbMaxEntries = 100000;  // "Num" is untrusted: more would stall the start
inline constexpr int32_t kPdbMissingDanger = 99;

// Whether an image name is the name of an entry; the Win32 side compares in the
// user's locale. It must agree with AsciiEqualsIgnoringCase when both names are
// printable ASCII: the table compares those itself, against names folded at load.
using ImageNameEquals = bool (*)(std::string_view imageName, std::string_view entryName);

// Both plain printable ASCII: the case-insensitive comparison of the locale
// reduces to folding A-Z, so the Win32 side can skip the system call.
[[nodiscard]] bool IsPrintableAscii(std::string_view text) noexcept;

struct PdbColour {
    uint8_t red, green, blue;
    friend bool operator==(const PdbColour&, const PdbColour&) = default;
};

// Red 255, green 255 - danger * 34, blue 255 - danger * 51, in 8-bit arithmetic that wraps.
[[nodiscard]] constexpr PdbColour DangerColour(int32_t danger) noexcept {
    const auto level = static_cast<uint8_t>(danger);
    return {255, static_cast<uint8_t>(255 - static_cast<uint8_t>(level * 34)),
            static_cast<uint8_t>(255 - static_cast<uint8_t>(level * 51))};
}

inline constexpr PdbColour kPdbWhite{255, 255, 255};

// What the label shows for one image name.
struct PdbInfo {
    std::string caption;
    PdbColour background = kPdbWhite;
};

class PdbTable {
public:
    // Replaces the entries with those of the file; names and levels are not read again.
    void LoadPdb(const IniSource& file);

    [[nodiscard]] const std::vector<TPdbEntry>& Entries() const noexcept { return entries_; }
    // The first entry whose name equals imageName; an empty name never matches.
    [[nodiscard]] const TPdbEntry* Find(std::string_view imageName, ImageNameEquals equals) const;
    // Looks imageName up and reads the match's comment from file now.
    [[nodiscard]] PdbInfo Lookup(std::string_view imageName, const IniSource& file, ImageNameEquals equals) const;

private:
    std::vector<TPdbEntry> entries_;
    std::vector<std::string> foldedNames_;  // per entry; empty when the name is not printable ASCII
};

}  // namespace cvt
