// Editor layout: font metrics, tab expansion, pixel maps and the cutting of lines into rows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/LeadByte.h"
#include "editor/TextMeasurer.h"
#include "editor/VellStrings.h"

namespace cvt {

enum class TLineSizeUnit { uPercent = 0, uPixel = 1 };

// A place in the rows: row index and byte column, both from 0.
struct RowPos {
    int Row = 0;
    int Col = 0;
    friend bool operator==(const RowPos&, const RowPos&) = default;
};

// A place in the text: physical line index and byte offset into the line, both from 0.
struct PhysicalPos {
    int Line = 0;
    int Offset = 0;
    friend bool operator==(const PhysicalPos&, const PhysicalPos&) = default;
};

// A column found from an x, with the x its caret stands at.
struct ColumnHit {
    int Col = 0;
    int X = 0;
    friend bool operator==(const ColumnHit&, const ColumnHit&) = default;
};

// Which rows a re-cut rewrote: OldRows rows from FirstRow became NewRows rows.
struct RecutResult {
    int FirstRow = 0;
    int OldRows = 0;
    int NewRows = 0;
};

// The view side of the editor model that depends on the font but on no window.
// Invariant: every metric is a 32-bit value reached without overflow; widths past INT_MAX are INT_MAX.
class TVellLayout {
public:
    // Tab expansion takes its spaces from here, so a TAB is never wider than eight cells.
    static constexpr std::string_view TabSpaces{"        ", 8};
    // Tab positions recorded per row for painting; the list then ends with -1.
    static constexpr int MaxTabPositions = 100;

    // Both must outlive the layout.
    TVellLayout(const TextMeasurer& measurer, LeadBytePredicate isLeadByte) noexcept;

    // Properties the layout reads, clamped by their setters.
    [[nodiscard]] int Column() const noexcept { return column; }
    void SetColumn(int value) noexcept;  // at least 10
    [[nodiscard]] bool AutoWrap() const noexcept { return autoWrap; }
    void SetAutoWrap(bool value) noexcept { autoWrap = value; }
    [[nodiscard]] int TabCount() const noexcept { return tabCount; }
    void SetTabCount(int value) noexcept;  // 1..8
    [[nodiscard]] bool SingleByteMode() const noexcept { return singleByteMode; }
    void SetSingleByteMode(bool value) noexcept { singleByteMode = value; }
    [[nodiscard]] int LeftMargin() const noexcept { return leftMargin; }
    void SetLeftMargin(int value) noexcept;  // 0..30
    [[nodiscard]] int TopMargin() const noexcept { return topMargin; }
    void SetTopMargin(int value) noexcept;  // 0..30
    [[nodiscard]] int LineSpace() const noexcept { return lineSpace; }
    // 0..100 in either unit; recomputes LinePitch and the rows per page.
    void SetLineSpace(int value) noexcept;
    [[nodiscard]] TLineSizeUnit LineSpaceUnit() const noexcept { return lineSpaceUnit; }
    void SetLineSpaceUnit(TLineSizeUnit value) noexcept;
    [[nodiscard]] bool ShowLineNumber() const noexcept { return showLineNumber; }
    void SetShowLineNumber(bool value) noexcept { showLineNumber = value; }
    [[nodiscard]] int LineNoColumn() const noexcept { return lineNoColumn; }
    void SetLineNoColumn(int value) noexcept;  // 1..5
    [[nodiscard]] bool CurSetMode() const noexcept { return curSetMode; }
    void SetCurSetMode(bool value) noexcept;

    // Font metrics, taken by MeasureFont.
    [[nodiscard]] int CharWidth() const noexcept { return charWidth; }
    [[nodiscard]] int CharHeight() const noexcept { return charHeight; }
    [[nodiscard]] int LinePitch() const noexcept { return linePitch; }
    // Heights of the CR mark: 0.8 and 0.2 of CharHeight, rounded half to even, at most 255.
    [[nodiscard]] std::uint8_t MarkHeightTall() const noexcept { return markTall; }
    [[nodiscard]] std::uint8_t MarkHeightShort() const noexcept { return markShort; }
    [[nodiscard]] int MaxCols() const noexcept { return maxCols; }
    [[nodiscard]] int DoubleSpaceWidth() const noexcept { return doubleSpaceWidth; }
    [[nodiscard]] int DoubleSpaceHeight() const noexcept { return doubleSpaceHeight; }
    [[nodiscard]] int SpaceWidth() const noexcept { return spaceWidth; }
    [[nodiscard]] int DigitWidth() const noexcept { return digitWidth; }

    // Page metrics, taken by SetClientSize and the gutter.
    [[nodiscard]] int TextLeft() const noexcept { return textLeft; }
    [[nodiscard]] int TextLeftMin() const noexcept { return textLeftMin; }
    [[nodiscard]] int GutterWidth() const noexcept { return gutterWidth; }
    [[nodiscard]] int TextAreaWidth() const noexcept { return textAreaWidth; }
    [[nodiscard]] int TextAreaHeight() const noexcept { return textAreaHeight; }
    [[nodiscard]] int RowsPerPage() const noexcept { return rowsPerPage; }
    [[nodiscard]] int RowJump() const noexcept { return rowJump; }
    [[nodiscard]] int HJump() const noexcept { return hJump; }
    [[nodiscard]] int CaretJump() const noexcept { return caretJump; }

    // Reads the font, then applies the line spacing.
    void MeasureFont();
    // At window creation: the gutter's first width, which it never narrows below.
    void InitGutter();
    // Client size in pixels; the text area is never negative, however narrow the window.
    void SetClientSize(int width, int height) noexcept;
    // Widens the gutter in steps of 10 pixels for rowCount's digits, narrows it with 1.5 digits to spare;
    // true when TextLeft changed.
    bool SizeGutter(int rowCount);

    // Each TAB becomes TabCount - (p mod TabCount) spaces, p its byte position in the expanded text.
    [[nodiscard]] std::string ExpandTabs(std::string_view s) const;
    // Also lists the x of each of the first MaxTabPositions TABs in the expansion, then -1.
    [[nodiscard]] std::string ExpandTabs(std::string_view s, std::vector<int>& tabX) const;
    // Width of the tab expansion.
    [[nodiscard]] int ExpandedWidth(std::string_view s) const;

    // x of column col from the text origin, HScroll not subtracted; col is clamped to the row's text.
    [[nodiscard]] int ColumnX(std::string_view row, int col) const;
    // y in the client area of row, with topRow the first row shown.
    [[nodiscard]] int RowY(int row, int topRow) const noexcept;
    // The column whose caret is nearest x (pixels from the text origin, HScroll included):
    // the left half of a character (a TAB's whole span) before it, the right half after it.
    [[nodiscard]] ColumnHit ColumnAtX(std::string_view row, int x) const;

    // Bytes of a line's rest s that go into its next row: at most Column cells after tab expansion
    // and, with AutoWrap, no wider than the text area unless that is under 10 average characters.
    [[nodiscard]] int FitRow(std::string_view s) const;
    // Whether CutLine would leave the line whole.
    [[nodiscard]] bool FitsOneRow(std::string_view line) const;
    // Appends the rows of one physical line (terminator included, on its last row) to out.
    void CutLine(std::string_view line, std::vector<std::string>& out) const;
    // Rows of every line of the store cut afresh; the store is not changed.
    [[nodiscard]] std::vector<std::string> Wrap(const TVellStrings& rows) const;
    // The same from lines handed over: a line that fits one row is moved, not copied. On failure
    // every line is back in lines as it was.
    [[nodiscard]] std::vector<std::string> WrapTaking(std::vector<std::string>& lines) const;
    // Re-cuts the lines that rows firstRow..lastRow belong to after an edit, in place; caret keeps
    // its place in the text and, at a soft break, stands at the start of the following row.
    RecutResult Recut(TVellStrings& rows, int firstRow, int lastRow, RowPos& caret) const;

private:
    // tabX, when given, collects the x of each TAB (at most MaxTabPositions).
    [[nodiscard]] std::string ExpandTabsInto(std::string_view s, std::vector<int>* tabX) const;
    const TextMeasurer& measurer;
    LeadBytePredicate isLeadByte;

    int column = 72;
    bool autoWrap = false;
    int tabCount = 6;
    bool singleByteMode = false;
    int leftMargin = 10;
    int topMargin = 4;
    int lineSpace = 10;
    TLineSizeUnit lineSpaceUnit = TLineSizeUnit::uPercent;
    bool showLineNumber = false;
    int lineNoColumn = 5;
    bool curSetMode = true;

    int charWidth = 0;
    int charHeight = 0;
    int linePitch = 0;
    std::uint8_t markTall = 0;
    std::uint8_t markShort = 0;
    int maxCols = 0;
    int doubleSpaceWidth = 0;
    int doubleSpaceHeight = 0;
    int spaceWidth = 0;
    int digitWidth = 0;

    int clientWidth = 0;
    int clientHeight = 0;
    int textLeft = 10;
    int textLeftMin = 10;
    int gutterWidth = 0;
    int textAreaWidth = 0;
    int textAreaHeight = 0;
    int rowsPerPage = 0;
    int rowJump = 0;
    int hJump = 0;
    int caretJump = 10;

    [[nodiscard]] int Width(std::string_view s) const;
    [[nodiscard]] bool IsLeadAt(std::string_view s, std::size_t position) const noexcept;
    void UpdateRowsPerPage() noexcept;
    void UpdatePageMetrics() noexcept;
};

// Rows joined back into one row per physical line; the store is not changed.
[[nodiscard]] std::vector<std::string> Unwrap(const TVellStrings& rows);
// The row and column of a place in the text; places past a line's end or the last line are clamped.
[[nodiscard]] RowPos PhysicalToRow(const TVellStrings& rows, PhysicalPos pos);
// The line and offset of a row and column; a column past its row is clamped.
[[nodiscard]] PhysicalPos RowToPhysical(const TVellStrings& rows, RowPos pos);

}  // namespace cvt
