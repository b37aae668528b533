// Display texts of a file's facts: attributes, size, times and compatibility layers.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cvt {

// Names of the attribute bits in display order, joined by ", ": 0x21 -> "読み取り専用, ｱｰｶｲﾌﾞ".
[[nodiscard]] std::string FormatAttributes(uint32_t attributes);

// The short size forms of the system, each empty when missing or when it fails.
struct ByteSizeFormatters {
    std::function<std::string(uint32_t)> format32;
    std::function<std::string(uint64_t)> format64;
};

// "117 MB（123456789バイト）", or "123456789バイト" without a short form. The 32-bit
// form would describe only the low half of 4 GiB and more, so it is never used there.
[[nodiscard]] std::string ComposeSizeText(uint64_t size, const ByteSizeFormatters& formatters);

// "date、time"; the date alone when the time is missing; "" without a date.
[[nodiscard]] std::string ComposeFileTimeText(std::optional<std::string_view> date,
                                              std::optional<std::string_view> time);

// The compatibility layers set for one file, in the order of their tokens.
struct TCompatLayers {
    bool NT4SP5 = false;
    bool Win2000 = false;
    bool Win98 = false;
    bool Win95 = false;
    bool Res640x480 = false;
    bool Color256 = false;
    bool DisableThemes = false;
    bool DisableCicero = false;
    bool None = false;
    friend bool operator==(const TCompatLayers&, const TCompatLayers&) = default;
};

// Only Windows XP (NT family, 5.1) keeps the layers where they are read.
[[nodiscard]] bool HasCompatLayerStore(uint32_t platformId, uint32_t major, uint32_t minor) noexcept;

// Exactly "none" sets None alone; otherwise each token found anywhere (case-sensitive) sets its flag.
[[nodiscard]] TCompatLayers ParseCompatLayers(std::string_view text);

}  // namespace cvt
