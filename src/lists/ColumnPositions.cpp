// Which cell of a row holds each datum the commands read back, by column kind.
#include "lists/ColumnPositions.h"

#include <algorithm>

namespace cvt {

namespace {

constexpr std::string_view kHexPrefix = "$";

// The trim rule of the copy command: bytes up to the blank are not text.
// Unsigned, so that Shift-JIS bytes count as text.
bool IsBlankText(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 33; });
}

}  // namespace

int ProcessColumnPositions::CellOf(int kind) const noexcept
{
    if (kind == 0 || kind == 1) return pidCell;
    if (kind < kFirstOwnKind || kind > kLastOwnKind) return kNone;
    return cells[static_cast<std::size_t>(kind - kFirstOwnKind)];
}

void ProcessColumnPositions::Update(std::span<const int> kindByCellIndex) noexcept
{
    for (std::size_t c = 0; c < kindByCellIndex.size(); ++c) {
        const int kind = kindByCellIndex[c];
        const int cellIndex = static_cast<int>(c);
        if (kind == 0 || kind == 1) {
            pidCell = cellIndex;
            pidPrefix = kind == 0 ? kHexPrefix : std::string_view();
        } else if (kind >= kFirstOwnKind && kind <= kLastOwnKind) {
            cells[static_cast<std::size_t>(kind - kFirstOwnKind)] = cellIndex;
        }
    }
}

void WindowHandleColumn::Update(std::span<const int> kindByCellIndex) noexcept
{
    for (std::size_t c = 0; c < kindByCellIndex.size(); ++c) {
        const int kind = kindByCellIndex[c];
        if (kind == 2 || kind == 3) {
            cell = static_cast<int>(c);
            prefix = kind == 2 ? kHexPrefix : std::string_view();
        }
    }
}

std::string ProcessCellTextRule(int kind, const ProcessColumnPositions& positions,
                                const std::function<std::string(int cell)>& cellText,
                                bool clipboardCopying)
{
    if (kind == 1 || kind < 0 || kind > ProcessColumnPositions::kLastOwnKind) return {};

    const int cell = positions.CellOf(kind);
    std::string text = cell == kNone ? std::string() : cellText(cell);
    if (clipboardCopying && IsBlankText(text)) text = " ";
    if (kind == 0) text.insert(0, positions.PidPrefix());
    return text;
}

}  // namespace cvt
