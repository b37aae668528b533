// Reads PIDs and window handles back from the texts the lists show.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace cvt {

// Leading bytes up to the blank are skipped; then an optional sign and a
// decimal number, or a hexadecimal one after "$", "0x" or "0X". Hex takes all
// 32 bits ("$FFFFFFFF" is -1), so handles shown as hex read back. Anything
// else, trailing bytes included, or a value past 32 bits: nullopt.
[[nodiscard]] std::optional<std::int32_t> StrToIntDollarHex(std::string_view text) noexcept;

}  // namespace cvt
