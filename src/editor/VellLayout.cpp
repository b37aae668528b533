// Editor layout: metrics from the measurer, tab expansion, pixel maps, wrapping and position conversion.
#include "editor/VellLayout.h"

#include <algorithm>
#include <climits>
#include <cstddef>

#include "editor/VellEditSub.h"

namespace cvt {

namespace {

[[nodiscard]] int ClampToInt(std::int64_t v) noexcept {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// num / den rounded to the nearest integer, ties to even; num >= 0, den > 0.
[[nodiscard]] std::int64_t RoundHalfEven(std::int64_t num, std::int64_t den) noexcept {
    std::int64_t q = num / den;
    const std::int64_t twice = 2 * (num % den);
    if (twice > den || (twice == den && q % 2 != 0)) ++q;
    return q;
}

// Ceil of num / den for den > 0, num of either sign.
[[nodiscard]] std::int64_t CeilDiv(std::int64_t num, std::int64_t den) noexcept {
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

[[nodiscard]] bool IsRowEndByte(char c) noexcept { return c == '\r' || c == '\0'; }

// Calls emit for each line of text: a line ends after a CR or NUL and the byte that follows it.
template <class Emit>
void ForEachLine(std::string_view text, Emit&& emit) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsRowEndByte(text[i]) || i + 1 >= text.size()) continue;
        emit(text.substr(start, i + 2 - start));
        start = i + 2;
        ++i;
    }
    if (start < text.size() || text.empty()) emit(text.substr(start));
}

}  // namespace

TVellLayout::TVellLayout(const TextMeasurer& m, LeadBytePredicate lead) noexcept : measurer(m), isLeadByte(lead) {}

void TVellLayout::SetColumn(int value) noexcept { column = std::max(10, value); }
void TVellLayout::SetTabCount(int value) noexcept { tabCount = std::clamp(value, 1, 8); }
void TVellLayout::SetLeftMargin(int value) noexcept { leftMargin = std::clamp(value, 0, 30); }
void TVellLayout::SetTopMargin(int value) noexcept { topMargin = std::clamp(value, 0, 30); }
void TVellLayout::SetLineNoColumn(int value) noexcept { lineNoColumn = std::clamp(value, 1, 5); }

void TVellLayout::SetCurSetMode(bool value) noexcept {
    curSetMode = value;
    caretJump = curSetMode ? 10 : hJump;
}

void TVellLayout::SetLineSpace(int value) noexcept {
    lineSpace = std::clamp(value, 0, 100);
    const std::int64_t extra = lineSpaceUnit == TLineSizeUnit::uPercent
                                   ? RoundHalfEven(std::int64_t{charHeight} * lineSpace, 100)
                                   : lineSpace;
    linePitch = ClampToInt(charHeight + extra);
    if (charHeight != 0) UpdateRowsPerPage();
}

void TVellLayout::SetLineSpaceUnit(TLineSizeUnit value) noexcept {
    lineSpaceUnit = value;
    SetLineSpace(lineSpace);
}

int TVellLayout::Width(std::string_view s) const { return s.empty() ? 0 : std::max(0, measurer.TextWidth(s)); }

bool TVellLayout::IsLeadAt(std::string_view s, std::size_t position) const noexcept {
    if (isLeadByte == nullptr) return false;
    return GetByteType(s, static_cast<std::ptrdiff_t>(position), singleByteMode, isLeadByte) == ByteType::Lead;
}

void TVellLayout::MeasureFont() {
    charWidth = std::max(0, measurer.AverageCharWidth());
    charHeight = std::max(0, measurer.CharHeight());
    SetLineSpace(lineSpace);
    markTall = static_cast<std::uint8_t>(std::min<std::int64_t>(255, RoundHalfEven(std::int64_t{charHeight} * 8, 10)));
    markShort = static_cast<std::uint8_t>(std::min<std::int64_t>(255, RoundHalfEven(std::int64_t{charHeight} * 2, 10)));
    maxCols = (32767 / std::max(1, charWidth)) / 2;  // a zero-width font divides as if one pixel wide
    doubleSpaceWidth = Width("\x81\x40");
    doubleSpaceHeight = charHeight;
    spaceWidth = Width(" ");
    digitWidth = Width("0");
}

void TVellLayout::InitGutter() {
    gutterWidth = showLineNumber
                      ? ClampToInt(std::min<std::int64_t>(100, std::int64_t{lineNoColumn} * digitWidth) + 7)
                      : 0;
    textLeft = textLeftMin = leftMargin + gutterWidth;
    UpdatePageMetrics();
}

void TVellLayout::SetClientSize(int width, int height) noexcept {
    clientWidth = width;
    clientHeight = height;
    UpdatePageMetrics();
}

void TVellLayout::UpdateRowsPerPage() noexcept {
    rowsPerPage = linePitch > 0 ? textAreaHeight / linePitch : 0;  // both >= 0: division is Floor
    rowJump = ClampToInt(CeilDiv(rowsPerPage, 5));
}

void TVellLayout::UpdatePageMetrics() noexcept {
    textAreaWidth = ClampToInt(std::max<std::int64_t>(0, std::int64_t{clientWidth} - textLeft));
    textAreaHeight = ClampToInt(std::max<std::int64_t>(0, std::int64_t{clientHeight} - topMargin));
    UpdateRowsPerPage();
    hJump = ClampToInt(CeilDiv(textAreaWidth, 5));
    SetCurSetMode(curSetMode);
}

bool TVellLayout::SizeGutter(int rowCount) {
    if (!showLineNumber) return false;
    const std::int64_t needed = std::int64_t{Width(std::to_string(rowCount))} + leftMargin + 7;
    std::int64_t left = textLeft;
    if (needed > left) left += 10 * CeilDiv(needed - left, 10);
    // Narrowing never leaves the gutter narrower than its text or its first width, so it cannot swing back.
    const std::int64_t spare = 2 * (left - needed) - 3 * std::int64_t{digitWidth};  // twice the 1.5-digit test
    const std::int64_t floorLeft = std::max<std::int64_t>(needed, textLeftMin);
    const std::int64_t bySpare = spare > 0 ? (spare + 19) / 20 : 0;
    const std::int64_t byFloor = left > floorLeft ? (left - floorLeft) / 10 : 0;
    left -= 10 * std::min(bySpare, byFloor);
    const int before = textLeft;
    textLeft = ClampToInt(left);
    UpdatePageMetrics();
    gutterWidth = textLeft - leftMargin;
    return textLeft != before;
}

std::string TVellLayout::ExpandTabs(std::string_view s) const { return ExpandTabsInto(s, nullptr); }

std::string TVellLayout::ExpandTabs(std::string_view s, std::vector<int>& tabX) const {
    tabX.clear();
    std::string out = ExpandTabsInto(s, &tabX);
    tabX.push_back(-1);
    return out;
}

std::string TVellLayout::ExpandTabsInto(std::string_view s, std::vector<int>* tabX) const {
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
        if (c != '\t') {
            out.push_back(c);
            continue;
        }
        if (tabX != nullptr && tabX->size() < static_cast<std::size_t>(MaxTabPositions)) tabX->push_back(Width(out));
        const auto cells = static_cast<std::size_t>(tabCount) - out.size() % static_cast<std::size_t>(tabCount);
        out.append(TabSpaces.substr(0, cells));
    }
    return out;
}

int TVellLayout::ExpandedWidth(std::string_view s) const { return Width(ExpandTabs(s)); }

int TVellLayout::ColumnX(std::string_view row, int col) const {
    const std::size_t text = HasRowEnd(row) ? row.size() - 2 : row.size();
    return ExpandedWidth(row.substr(0, std::min(static_cast<std::size_t>(std::max(0, col)), text)));
}

int TVellLayout::RowY(int row, int topRow) const noexcept {
    return ClampToInt((std::int64_t{row} - topRow) * linePitch + topMargin);
}

ColumnHit TVellLayout::ColumnAtX(std::string_view row, int x) const {
    if (x <= 0) return {};
    const std::string_view text = HasRowEnd(row) ? row.substr(0, row.size() - 2) : row;
    const int total = ExpandedWidth(text);
    if (total <= x) return {static_cast<int>(text.size()), total};
    const auto charEnd = [&](std::size_t b) {
        return std::min(text.size(), b + (IsLeadAt(text, b + 1) ? 2 : 1));
    };
    const auto widthTo = [&](std::size_t b) { return ExpandedWidth(text.substr(0, b)); };
    // Bisection over character boundaries: widthTo(lo) <= x < widthTo(hi).
    std::size_t lo = 0;
    std::size_t hi = text.size();
    for (;;) {
        const std::size_t next = charEnd(lo);
        if (next >= hi) break;
        std::size_t mid = lo + (hi - lo) / 2;
        if (IsLeadAt(text, mid)) --mid;  // a boundary never splits a double-byte character
        if (mid <= lo) mid = next;
        (widthTo(mid) <= x ? lo : hi) = mid;
    }
    const int w1 = widthTo(lo);
    const int w2 = widthTo(hi);
    const int middle = w2 - (w2 - w1) / 2;
    if (x <= middle) return {static_cast<int>(lo), w1};
    return {static_cast<int>(hi), w2};
}

int TVellLayout::FitRow(std::string_view s) const {
    const std::size_t len = s.size();
    const std::int64_t minWidth = std::int64_t{charWidth} * 10;
    std::size_t n = std::min(len, static_cast<std::size_t>(column));
    if (autoWrap && Width(s.substr(0, n)) > textAreaWidth && minWidth < textAreaWidth) {
        n = std::min(len, static_cast<std::size_t>(textAreaWidth / std::max(1, charWidth)));
        std::size_t step = n / 2;
        bool growing = true;
        while (step > 0 && n < len) {
            const int w = Width(s.substr(0, n));
            if (w >= textAreaWidth) {
                if (w == textAreaWidth) break;
                if (growing) step /= 2;
                n -= step;
                growing = false;
            } else {
                if (!growing) step /= 2;
                n = std::min(len, n + step);
                growing = true;
            }
        }
    }
    // The expansion's length only grows with n: keep the longest prefix within Column cells.
    std::size_t cells = 0;
    for (std::size_t i = 0; i < n; ++i) {
        cells += s[i] == '\t' ? static_cast<std::size_t>(tabCount) - cells % static_cast<std::size_t>(tabCount) : 1;
        if (cells > static_cast<std::size_t>(column)) {
            n = i;
            break;
        }
    }
    if (autoWrap) {
        const std::int64_t limit = std::max<std::int64_t>(textAreaWidth, minWidth);
        while (n > 0 && ExpandedWidth(s.substr(0, n)) > limit) --n;
    }
    return static_cast<int>(n);
}

bool TVellLayout::FitsOneRow(std::string_view line) const {
    const std::size_t cells = HasRowEnd(line) ? line.size() - 1 : line.size();  // a terminator is one cell
    return cells <= static_cast<std::size_t>(FitRow(line));
}

void TVellLayout::CutLine(std::string_view line, std::vector<std::string>& out) const {
    std::string_view s = line;
    for (;;) {
        auto n = static_cast<std::size_t>(FitRow(s));
        const std::size_t cells = HasRowEnd(s) ? s.size() - 1 : s.size();  // a terminator is one cell
        if (cells <= n) break;
        if (n > 0 && IsRowEndByte(s[n - 1])) --n;
        if (n > 0 && IsLeadAt(s, n)) --n;
        if (n == 0) {  // a font too wide for one character still moves on by a whole character
            const bool pair = IsLeadAt(s, 1) || IsRowEndByte(s[0]);
            n = std::min(s.size(), std::size_t{pair ? 2u : 1u});
            if (n == s.size()) break;
        }
        out.emplace_back(s.substr(0, n));
        s.remove_prefix(n);
    }
    out.emplace_back(s);
}

std::vector<std::string> TVellLayout::WrapTaking(std::vector<std::string>& lines) const {
    std::vector<std::string> out;
    std::vector<std::size_t> movedTo(lines.size(), SIZE_MAX);
    try {
        out.reserve(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (FitsOneRow(lines[i])) {
                movedTo[i] = out.size();
                out.push_back(std::move(lines[i]));
            } else {
                CutLine(lines[i], out);
            }
        }
    } catch (...) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (movedTo[i] != SIZE_MAX) lines[i] = std::move(out[movedTo[i]]);
        throw;
    }
    return out;
}

std::vector<std::string> TVellLayout::Wrap(const TVellStrings& rows) const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(rows.Count()));
    for (int i = 0; i < rows.Count(); ++i) CutLine(rows.Row(i), out);
    return out;
}

RecutResult TVellLayout::Recut(TVellStrings& rows, int firstRow, int lastRow, RowPos& caret) const {
    const int count = rows.Count();
    if (count == 0) return {};
    int first = std::clamp(firstRow, 0, count - 1);
    int last = std::clamp(lastRow, first, count - 1);
    if (first > 0 && !HasRowEnd(rows.Row(first - 1))) --first;
    while (last < count - 1 && !HasRowEnd(rows.Row(last))) ++last;

    std::string joined;
    std::int64_t caretOffset = -1;
    for (int r = first; r <= last; ++r) {
        const std::string& row = rows.Row(r);
        if (r == caret.Row) caretOffset = static_cast<std::int64_t>(joined.size()) +
                                          std::clamp<std::int64_t>(caret.Col, 0, static_cast<std::int64_t>(row.size()));
        joined += row;
    }
    std::vector<std::string> fresh;
    ForEachLine(joined, [&](std::string_view line) { CutLine(line, fresh); });

    const int oldRows = last - first + 1;
    const int newRows = static_cast<int>(fresh.size());
    if (caretOffset >= 0) {
        std::size_t k = 0;
        auto o = static_cast<std::size_t>(caretOffset);
        while (k + 1 < fresh.size() && o >= fresh[k].size()) o -= fresh[k++].size();
        caret = {first + static_cast<int>(k), static_cast<int>(std::min(o, fresh[k].size()))};
        // Past a line break: the start of the row after the re-cut ones.
        if (HasRowEnd(fresh[k]) && o > fresh[k].size() - 2) caret = {first + static_cast<int>(k) + 1, 0};
    } else if (caret.Row > last) {
        caret.Row += newRows - oldRows;
    }

    const int common = std::min(oldRows, newRows);
    for (int j = 0; j < common; ++j) rows.Put(first + j, fresh[static_cast<std::size_t>(j)]);
    for (int j = common; j < newRows; ++j) rows.Insert(first + j, fresh[static_cast<std::size_t>(j)]);
    for (int j = common; j < oldRows; ++j) rows.Delete(first + common);
    return {first, oldRows, newRows};
}

std::vector<std::string> Unwrap(const TVellStrings& rows) {
    std::vector<std::string> out;
    std::string line;
    bool open = false;
    for (int i = 0; i < rows.Count(); ++i) {
        const std::string& row = rows.Row(i);
        line += row;
        open = true;
        if (HasRowEnd(row)) {
            out.push_back(std::move(line));
            line.clear();
            open = false;
        }
    }
    if (open) out.push_back(std::move(line));  // rows that never end a line still make one
    return out;
}

RowPos PhysicalToRow(const TVellStrings& rows, PhysicalPos pos) {
    const int count = rows.Count();
    if (count == 0) return {};
    int r = rows.FirstRowOfLine(std::max(0, pos.Line));
    if (r >= count) r = rows.FirstRowOfLine(rows.LineOfRow(count - 1));  // past the last line: its first row
    auto offset = static_cast<std::int64_t>(std::max(0, pos.Offset));
    for (;; ++r) {
        const std::string& row = rows.Row(r);
        const auto len = static_cast<std::int64_t>(row.size());
        if (HasRowEnd(row)) return {r, static_cast<int>(std::min(offset, len - 2))};
        if (offset < len || r == count - 1) return {r, static_cast<int>(std::min(offset, len))};
        offset -= len;
    }
}

PhysicalPos RowToPhysical(const TVellStrings& rows, RowPos pos) {
    const int count = rows.Count();
    if (count == 0) return {};
    const int row = std::clamp(pos.Row, 0, count - 1);
    const int line = rows.LineOfRow(row);
    std::int64_t offset = 0;
    for (int i = rows.FirstRowOfLine(line); i < row; ++i) offset += static_cast<std::int64_t>(rows.Row(i).size());
    const auto len = static_cast<std::int64_t>(rows.Row(row).size());
    offset += std::clamp<std::int64_t>(pos.Col, 0, len);
    return {line, ClampToInt(offset)};
}

}  // namespace cvt
