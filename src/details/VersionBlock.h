// Reading values out of a version resource block without trusting its lengths.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/LeadByte.h"

namespace cvt {

using ByteSpan = std::span<const unsigned char>;

// The twelve strings of a version resource, in the order they are read.
inline constexpr std::array<const char*, 12> kVersionStringNames{
    "CompanyName",    "FileDescription",  "FileVersion",  "InternalName",
    "LegalCopyright", "OriginalFilename", "ProductName",  "ProductVersion",
    "Comments",       "LegalTrademarks",  "PrivateBuild", "SpecialBuild",
};

// Words of the fixed version block: signature, structure version, versions, flags, OS, type, date.
inline constexpr size_t kFixedFileInfoWords = 13;
using FixedFileInfoWords = std::array<uint32_t, kFixedFileInfoWords>;

// Version resources this large do not exist; a size above it comes from a broken file.
inline constexpr uint32_t kMaxVersionBlockSize = 4u << 20;

struct Translation {
    uint16_t language = 0;
    uint16_t codePage = 0;
};

// The value at [value, value + length) when it lies wholly inside the block; nullopt otherwise.
[[nodiscard]] std::optional<ByteSpan> ValueWithin(ByteSpan block, const void* value, size_t length) noexcept;

// The whole fixed block, or nullopt when the value is shorter than 13 words.
[[nodiscard]] std::optional<FixedFileInfoWords> ReadFixedFileInfo(ByteSpan value) noexcept;

// The first language/code page pair, or nullopt when the value is shorter than one pair.
[[nodiscard]] std::optional<Translation> FirstTranslation(ByteSpan value) noexcept;

// "\StringFileInfo\041103A4\": four upper-case hexadecimal digits each.
[[nodiscard]] std::string StringFilePrefix(Translation translation);

// Text up to the first NUL, never past the bytes given; a lead byte cut off from its
// trail byte at the end is dropped.
[[nodiscard]] std::string TextWithin(ByteSpan bytes, LeadBytePredicate isLeadByte);

// A string value of the block. Its length counts characters on some systems and bytes
// on others, so the text runs to its NUL, bounded by the block rather than the length.
[[nodiscard]] std::optional<std::string> TextValueWithin(ByteSpan block, const void* value, size_t length,
                                                         LeadBytePredicate isLeadByte);

}  // namespace cvt
