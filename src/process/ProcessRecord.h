// One process while its row is built, and the texts its columns show.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace cvt {

struct TProcessManager {
    uint32_t ProcessID = 0;
    std::string ImageName;
    std::string ImagePath;
    uint32_t PriorityClass = 0;  // 0 when unreadable
    std::string UserName;
    uint32_t ThreadCount = 0;
};

// String-table ids of the priority class names; unknown classes, 0 among them, read "不明".
[[nodiscard]] unsigned PriorityTextId(uint32_t priorityClass) noexcept;
// The six classes in the order their names are matched.
inline constexpr uint32_t kPriorityClasses[] = {0x100, 0x80, 0x8000, 0x20, 0x4000, 0x40};

// Hexadecimal, upper case, at least 6 digits: 1234 -> "0004D2".
[[nodiscard]] std::string FormatPidHex(uint32_t pid);
// "%5d": right-aligned in 5, wider when needed.
[[nodiscard]] std::string FormatDecimal5(int32_t value);

// Kernel-style prefixes rewritten: "\SystemRoot\" (present in that case) becomes the
// Windows folder, any case replaced; then every "\??\" is removed.
[[nodiscard]] std::string NormalizeImagePath(std::string_view path, std::string_view systemRoot);

// The cell text of a process column kind; kinds outside 0-6 give "".
// priorityName is the already looked-up name of the record's class.
[[nodiscard]] std::string ProcessCellText(int kind, const TProcessManager& process, std::string_view priorityName,
                                          std::string_view systemRoot);

}  // namespace cvt
