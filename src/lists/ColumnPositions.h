// Which cell of a row holds each datum the commands read back, by column kind.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "lists/ColumnSettings.h"

namespace cvt {

// Process list: kinds 0 (PID in hex) and 1 (PID in decimal) share the PID
// entry; kinds 2 to 6 have one entry each. kNone: no such column.
class ProcessColumnPositions {
public:
    static constexpr int kFirstOwnKind = 2;
    static constexpr int kLastOwnKind = 6;

    [[nodiscard]] int PidCell() const noexcept { return pidCell; }
    // "$" for the hexadecimal PID column, so that the text reads back as hex.
    [[nodiscard]] std::string_view PidPrefix() const noexcept { return pidPrefix; }
    // Kinds 0 and 1 give the PID cell; unknown kinds kNone.
    [[nodiscard]] int CellOf(int kind) const noexcept;

    // Element c is the kind of the column with cell index c. The later of two
    // columns sharing an entry wins; kinds not shown keep their entry.
    void Update(std::span<const int> kindByCellIndex) noexcept;

private:
    int pidCell = kNone;
    std::string_view pidPrefix;
    std::array<int, kLastOwnKind - kFirstOwnKind + 1> cells{kNone, kNone, kNone, kNone, kNone};
};

// Window list: the handle column, kind 2 (hex, "$") or 3 (decimal).
class WindowHandleColumn {
public:
    [[nodiscard]] int Cell() const noexcept { return cell; }
    [[nodiscard]] std::string_view Prefix() const noexcept { return prefix; }

    void Update(std::span<const int> kindByCellIndex) noexcept;

private:
    int cell = kNone;
    std::string_view prefix;
};

// Text of a process column kind in one row; cellText(c) gives cell c of that
// row, 0 being the caption. Kind 0 stands for the PID in either format.
// While copying to the clipboard a blank text becomes " ", so that the copied
// fields keep their places.
[[nodiscard]] std::string ProcessCellTextRule(int kind, const ProcessColumnPositions& positions,
                                              const std::function<std::string(int cell)>& cellText,
                                              bool clipboardCopying);

}  // namespace cvt
