// The editor model's lifecycle, properties, scroll ranges, selection and caret placement.
#include "editor/VellEditModel.h"

#include <algorithm>
#include <climits>
#include <exception>

#include "editor/VellEditSub.h"

namespace cvt {

namespace {

// Scroll messages carry 16-bit positions, so ranges are scaled to stay within this.
constexpr std::int64_t kScrollLimit = 32767;

[[nodiscard]] std::int64_t CeilDiv(std::int64_t num, std::int64_t den) noexcept {
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

[[nodiscard]] int ClampInt(std::int64_t v) noexcept {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

TVellEditModel::TVellEditModel(const TextMeasurer& measurer, LeadBytePredicate isLeadByte, VellEditView& v)
    : view(v), isLead(isLeadByte), layout(measurer, isLeadByte) {
    lines.Add(EndMarker);
    ResetViewState();
}

void TVellEditModel::Guarded(std::string_view text, const std::function<void()>& operation) {
    try {
        operation();
    } catch (const std::exception&) {
        view.ShowError(text);
    }
}

bool TVellEditModel::GuardedBool(std::string_view text, const std::function<bool()>& operation) {
    try {
        return operation();
    } catch (const std::exception&) {
        view.ShowError(text);
        return false;
    }
}

// ---- properties ----

void TVellEditModel::SetWordWrap(bool value) {
    if (value != wordWrap) Rewrap(true);
}

void TVellEditModel::SetColumn(int value) {
    layout.SetColumn(value);
    if (!wordWrap) return;
    Rewrap(false);
    Rewrap(true);
}

void TVellEditModel::SetAutoWrap(bool value) {
    if (value == layout.AutoWrap()) return;
    layout.SetAutoWrap(value);
    if (!wordWrap) return;
    Rewrap(false);
    Rewrap(true);
}

void TVellEditModel::SetHorzScrollBar(bool value) {
    HorzScrollBar = value;
    UpdateHorzRange(true);
}

void TVellEditModel::SetVertScrollBar(bool value) {
    VertScrollBar = value;
    UpdateVertRange(true);
}

// ---- lifecycle ----

void TVellEditModel::ResetViewState() {
    composing = dragging = selecting = allSelected = undoTruncated = false;
    insertMode = true;
    caretRow = caretCol = 0;
    selAnchorRow = selAnchorCol = selEndRow = selEndCol = prevSelEndRow = prevSelEndCol = 0;
    caretX = 0;
    topRow = 0;
    hScroll = 0;
    lastCaretRow = lastCaretCol = lastCaretX = 0;
    desiredX = 0;
    desiredXCol = -1;
    desiredCol = 0;
    keyRepeat = 0;
    underlinedRow = -1;
    undoList.Clear();
    redoList.Clear();
    modified = false;
    if (OnChangeModify) OnChangeModify(false);
    if (OnChangeRedoMode) {
        redoEnable = false;
        OnChangeRedoMode(false);
    }
}

void TVellEditModel::WindowCreated() {
    layout.MeasureFont();
    layout.InitGutter();
    topRow = 0;
    hScroll = 0;
}

void TVellEditModel::Resized(int width, int height) {
    clientWidth = std::max(0, width);
    layout.SetClientSize(width, height);
    if (wordWrap && layout.AutoWrap()) {
        Rewrap(false);
        Rewrap(true);
    } else {
        BringCaretIntoView(false);
    }
    UpdateVertRange(true);
    UpdateHorzRange(true);
}

void TVellEditModel::FocusGained() {
    view.ShowCaret(true);
    PlaceCaret();
}

void TVellEditModel::SetText(std::string_view text) {
    ResetViewState();
    if (text.empty() || text.front() == '\0') {
        lines.SetText(EndMarker);
    } else if (text.back() != '\0' && text.back() != '\r') {
        // The usual case: no copy of a large report, the end marker goes onto the last row.
        lines.SetText(text);
        const int last = lines.Count() - 1;
        if (HasRowEnd(lines.Row(last))) {
            lines.Add(EndMarker);
        } else {
            lines.Put(last, lines.Row(last) + std::string(EndMarker));
        }
    } else {
        std::string owned(text);
        if (owned.back() != '\0') {
            owned.append(EndMarker);
        } else if (owned.size() < 2 || owned[owned.size() - 2] != '\0') {
            owned.push_back('\0');
        }
        lines.SetText(owned);
    }
    if (wordWrap) {
        wordWrap = false;  // the store now holds one row per line
        Rewrap(true);
    } else {
        RefreshAfterText();
    }
}

void TVellEditModel::ClearAll() {
    lines.Clear();
    lines.Add(EndMarker);
    ResetViewState();
    RefreshAfterText();
}

void TVellEditModel::RefreshAfterText() {
    view.ShowCaret(false);
    UpdateVertRange(false);
    RepaintPage();
    PlaceCaret();
    view.ShowCaret(true);
}

// Turns WordWrap over: the rows are cut afresh (or joined back into lines) and the caret and
// the anchor keep their places in the text.
void TVellEditModel::Rewrap(bool repaint) {
    Guarded("Error:OC004", [&] {
        if (!wordWrap) {
            std::vector<std::string> taken = lines.TakeRows();
            std::vector<std::string> wrapped;
            try {
                wrapped = layout.WrapTaking(taken);
            } catch (...) {
                lines.Assign(std::move(taken));  // the text stays as it was
                throw;
            }
            wordWrap = true;
            const PhysicalPos caret{caretRow, caretCol};
            const PhysicalPos anchor{selAnchorRow, selAnchorCol};
            lines.Assign(std::move(wrapped));
            const RowPos c = PhysicalToRow(lines, caret);
            const RowPos a = PhysicalToRow(lines, anchor);
            caretRow = c.Row;
            caretCol = c.Col;
            selAnchorRow = a.Row;
            selAnchorCol = a.Col;
        } else {
            const PhysicalPos caret = RowToPhysical(lines, {caretRow, caretCol});
            const PhysicalPos anchor = RowToPhysical(lines, {selAnchorRow, selAnchorCol});
            std::vector<std::string> unwrapped = Unwrap(lines);
            wordWrap = false;
            lines.Assign(std::move(unwrapped));
            caretRow = std::min(caret.Line, lines.Count() - 1);
            caretCol = std::clamp(caret.Offset, 0, TextLength(caretRow));
            selAnchorRow = std::min(anchor.Line, lines.Count() - 1);
            selAnchorCol = std::clamp(anchor.Offset, 0, TextLength(selAnchorRow));
        }
        selEndRow = prevSelEndRow = caretRow;
        selEndCol = prevSelEndCol = caretCol;
        topRow = std::min(topRow, std::max(0, lines.Count() - 1));
        hScroll = 0;
        caretX = ColumnX(caretRow, caretCol);
        if (repaint && !SetCaret(caretCol, caretRow, 0, false, false)) {
            view.ShowCaret(false);
            UpdateVertRange(false);
            RepaintPage();
            PlaceCaret();
            view.ShowCaret(true);
        }
    });
}

// ---- small helpers ----

int TVellEditModel::TextLength(int row) const {
    const std::string& r = RowText(row);
    return static_cast<int>(r.size()) - (HasRowEnd(r) ? 2 : 0);
}

bool TVellEditModel::IsTrail(const std::string& row, int col) const noexcept {
    return GetByteType(row, col + 1, layout.SingleByteMode(), isLead) == ByteType::Trail;
}

int TVellEditModel::CharLengthAt(const std::string& row, int col) const noexcept {
    if (col < 0 || col >= static_cast<int>(row.size())) return 0;
    return GetByteType(row, col + 1, layout.SingleByteMode(), isLead) == ByteType::Lead &&
                   col + 1 < static_cast<int>(row.size())
               ? 2
               : 1;
}

// A column a selection may end at: never inside a line break, a double-byte character or the end marker.
int TVellEditModel::SnapColumn(int row, int col) const {
    const std::string& r = RowText(row);
    const int size = static_cast<int>(r.size());
    if (IsLastRow(row)) {
        col = std::clamp(col, 0, std::max(0, size - 2));
    } else {
        col = std::clamp(col, 0, size);
        if (HasRowEnd(r) && col == size - 1) return size - 2;
    }
    if (col > 0 && col < size && IsTrail(r, col)) --col;
    return col;
}

int TVellEditModel::ColumnX(int row, int col) const { return layout.ColumnX(RowText(row), col); }

int TVellEditModel::LastVisibleRow() const noexcept {
    const std::int64_t last = std::int64_t{topRow} + layout.RowsPerPage() - 1;
    return static_cast<int>(std::min<std::int64_t>(lines.Count() - 1, last));
}

void TVellEditModel::RepaintPage() {
    view.RepaintAll();
    if (HorzScrollBar) view.SetHorzScrollPos(ClampInt(CeilDiv(hScroll, hScrollUnit)));
    UpdateHorzRange(true);
}

void TVellEditModel::RepaintFrom(int row) {
    view.RepaintRows(std::max(row, topRow), LastVisibleRow());
    UpdateHorzRange(true);
}

bool TVellEditModel::UnderlineWanted() const noexcept {
    return ShowUnderLine && !selecting && !allSelected && !mouseSelecting && caretRow >= topRow &&
           caretRow <= LastVisibleRow();
}

void TVellEditModel::EraseUnderline() {
    if (underlinedRow < 0) return;
    view.DrawUnderline(underlinedRow, false);
    underlinedRow = -1;
}

void TVellEditModel::DrawUnderline() {
    if (!UnderlineWanted()) return;
    if (underlinedRow != caretRow) EraseUnderline();
    view.DrawUnderline(caretRow, true);
    underlinedRow = caretRow;
}

RowPos TVellEditModel::ToRecordPos(RowPos pos) const {
    if (!wordWrap) return pos;
    const PhysicalPos p = RowToPhysical(lines, pos);
    return {p.Line, p.Offset};
}

RowPos TVellEditModel::FromRecordPos(int col, int row) const {
    if (!wordWrap) {
        const int r = std::clamp(row, 0, lines.Count() - 1);
        return {r, std::clamp(col, 0, static_cast<int>(RowText(r).size()))};
    }
    return PhysicalToRow(lines, {row, col});
}

// ---- scroll ranges ----

int TVellEditModel::ComputeMaxTopRow() const noexcept {
    const std::int64_t count = lines.Count();
    return ClampInt(std::max<std::int64_t>(0, count - layout.RowsPerPage() + layout.RowJump() - 1));
}

bool TVellEditModel::UpdateVertRange(bool redraw) {
    const std::int64_t count = lines.Count();
    const int rowsPerPage = layout.RowsPerPage();
    const int rowJump = layout.RowJump();
    maxTopRow = ComputeMaxTopRow();
    const bool gutterMoved = layout.ShowLineNumber() && layout.SizeGutter(static_cast<int>(count));
    if (VertScrollBar) {
        vScrollUnit = ClampInt(std::max<std::int64_t>(1, CeilDiv(maxTopRow, kScrollLimit)));
        ScrollBarState bar;
        bar.enabled = count + rowJump - 1 > rowsPerPage;
        bar.max = ClampInt(CeilDiv(maxTopRow, vScrollUnit));
        bar.pos = ClampInt(CeilDiv(topRow, vScrollUnit));
        bar.redraw = redraw;
        view.SetVertScrollBar(bar);
    }
    return gutterMoved;
}

void TVellEditModel::UpdateHorzRange(bool redraw) {
    int widest = 0;
    const int last = LastVisibleRow();
    for (int r = std::max(0, topRow); r <= last; ++r) {
        const std::string& row = RowText(r);
        const auto text = std::string_view(row).substr(0, static_cast<std::size_t>(TextLength(r)));
        widest = std::max(widest, layout.ExpandedWidth(text));
    }
    maxRowWidth = widest;
    if (!HorzScrollBar) return;
    hScrollUnit = ClampInt(std::max<std::int64_t>(1, CeilDiv(maxRowWidth, kScrollLimit)));
    ScrollBarState bar;
    bar.enabled = std::int64_t{maxRowWidth} + layout.HJump() > layout.TextAreaWidth();
    bar.max = ClampInt(std::max<std::int64_t>(1, CeilDiv(maxRowWidth, hScrollUnit) - layout.HJump()));
    bar.pos = ClampInt(CeilDiv(hScroll, hScrollUnit));
    bar.redraw = redraw;
    view.SetHorzScrollBar(bar);
}

// ---- caret placement ----

int TVellEditModel::CaretClientX() const noexcept {
    return caretX < 0 ? -5 : ClampInt(std::int64_t{caretX} + layout.TextLeft());
}

int TVellEditModel::CaretClientY() const noexcept {
    if (caretRow < topRow || caretRow > std::int64_t{topRow} + layout.RowsPerPage() - 1)
        return -layout.LinePitch() - layout.TopMargin();
    return ClampInt(std::int64_t{caretRow - topRow} * layout.LinePitch() + layout.TopMargin());
}

bool TVellEditModel::ScrollIntoView(int x, int row, int mode) {
    return GuardedBool("Error:OC005", [&] {
        const int oldH = hScroll;
        const int oldTop = topRow;
        const int width = layout.TextAreaWidth();
        const int hJump = layout.HJump();
        if (x > width - 3) {
            hScroll = ClampInt(std::int64_t{hScroll} + x + hJump - width);
        } else if (x < 3) {
            hScroll = ClampInt(std::max<std::int64_t>(0, std::int64_t{hScroll} + x - (width - hJump)));
        }
        caretX = ClampInt(std::int64_t{caretX} - (hScroll - oldH));

        const std::int64_t count = lines.Count();
        const std::int64_t rowsPerPage = layout.RowsPerPage();
        const std::int64_t rowJump = layout.RowJump();
        const std::int64_t r = rowsPerPage - rowJump;
        std::int64_t top = topRow;
        if (mode == 0) {
            if (row > top + r) top = std::max<std::int64_t>(0, row - r);
            if (row <= top && row < top + rowJump - 1) top = std::max<std::int64_t>(0, row - rowJump + 1);
        } else {
            const std::int64_t above =
                mode == 1 ? rowsPerPage / 2 : rowsPerPage - rowsPerPage * 4 / 5;
            top = std::max<std::int64_t>(0, row - above);
            if (top >= count - r) top = std::max<std::int64_t>(0, count - r);
        }
        if (count + rowJump - 1 > rowsPerPage) {
            if (top >= count - r) top = count - r - 1;
        } else {
            top = 0;
        }
        topRow = ClampInt(std::max<std::int64_t>(0, top));
        return hScroll != oldH || topRow != oldTop;
    });
}

bool TVellEditModel::SetCaret(int column, int row, int mode, bool rememberDesired, bool collapse) {
    bool scrolled = false;
    Guarded("Error:OC006", [&] {
        const int oldRow = caretRow;
        if (column >= 0) {
            row = std::clamp(row, 0, lines.Count() - 1);
            int col = std::min(column, TextLength(row));
            if (col > 0 && IsTrail(RowText(row), col)) --col;
            caretX = ClampInt(std::int64_t{ColumnX(row, col)} - hScroll);
            caretCol = col;
            caretRow = row;
        }
        scrolled = ScrollIntoView(caretX, caretRow, mode);
        if (scrolled) {
            view.ShowCaret(false);
            UpdateVertRange(true);
            RepaintPage();
            PlaceCaret();
            view.ShowCaret(true);
        } else if (column >= 0) {
            PlaceCaret();
            if (caretRow != oldRow) {
                EraseUnderline();
                DrawUnderline();
            }
        }
        if (collapse) {
            selAnchorRow = selEndRow = prevSelEndRow = caretRow;
            selAnchorCol = selEndCol = prevSelEndCol = caretCol;
        }
        if (rememberDesired) desiredCol = caretCol;
    });
    return scrolled;
}

bool TVellEditModel::MoveCaretTo(int column, int row) {
    column = std::max(0, column);
    row = std::clamp(row, 0, lines.Count() - 1);
    const std::string& r = RowText(row);
    if (column < static_cast<int>(r.size()) && column > 0 && IsTrail(r, column)) --column;
    ClearSelection();
    return SetCaret(column, row, 0, true, true);
}

void TVellEditModel::PlaceCaret() {
    if (!view.HasFocus()) return;
    view.PlaceCaret(CaretClientX(), CaretClientY());
    if (caretRow == lastCaretRow && caretCol == lastCaretCol && caretX == lastCaretX) return;
    if (OnSelectionChange) OnSelectionChange();
    if (OnMoveCaret) OnMoveCaret();
    lastCaretRow = caretRow;
    lastCaretCol = caretCol;
    lastCaretX = caretX;
    if (HasSelection() && OnUserClientDraw) {
        const int low = std::min(selAnchorRow, selEndRow);
        const int high = std::max(selAnchorRow, selEndRow);
        OnUserClientDraw(layout.TextLeft(), clientWidth, std::max(0, low - 1),
                         std::min(lines.Count() - 1, high + 1));
    }
}

// ---- selection ----

SelectionSpan TVellEditModel::Selection() const noexcept {
    // A place after a line break (a whole row selected from the margin) is the next row's start.
    auto normal = [&](RowPos p) {
        const int count = lines.Count();
        if (p.Row < 0 || p.Row + 1 >= count) return p;
        const std::string& row = lines.Row(p.Row);
        return p.Col >= static_cast<int>(row.size()) && HasRowEnd(row) ? RowPos{p.Row + 1, 0} : p;
    };
    const RowPos a = normal({selAnchorRow, selAnchorCol});
    const RowPos e = normal({selEndRow, selEndCol});
    const bool anchorFirst = a.Row < e.Row || (a.Row == e.Row && a.Col <= e.Col);
    return anchorFirst ? SelectionSpan{a, e} : SelectionSpan{e, a};
}

std::string TVellEditModel::SelectedText() const {
    if (allSelected) return lines.GetText();
    if (!selecting) return {};
    const SelectionSpan span = Selection();
    const int count = lines.Count();
    const int firstRow = std::clamp(span.Start.Row, 0, count - 1);
    const int lastRow = std::clamp(span.End.Row, 0, count - 1);
    // The end marker is never part of a selection.
    auto limit = [&](int row, int col) {
        const std::string& r = RowText(row);
        const int size = static_cast<int>(r.size()) - (IsLastRow(row) ? 2 : 0);
        return std::clamp(col, 0, std::max(0, size));
    };
    const int from = limit(firstRow, span.Start.Col);
    const int to = limit(lastRow, span.End.Col);
    if (firstRow == lastRow) {
        if (to <= from) return {};
        return RowText(firstRow).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    }
    std::string text(RowText(firstRow), static_cast<std::size_t>(from),
                     static_cast<std::size_t>(limit(firstRow, INT_MAX) - from));
    for (int r = firstRow + 1; r < lastRow; ++r) text += RowText(r);
    text.append(RowText(lastRow), 0, static_cast<std::size_t>(to));
    return text;
}

void TVellEditModel::SetSel(int anchorCol, int anchorRow, int caretRowArg, int caretColArg) {
    ClearSelection();
    EraseUnderline();
    const int count = lines.Count();
    selAnchorRow = prevSelEndRow = std::clamp(anchorRow, 0, count - 1);
    selAnchorCol = prevSelEndCol = SnapColumn(selAnchorRow, anchorCol);
    int row = std::clamp(caretRowArg, 0, count - 1);
    int col = std::max(0, caretColArg);
    const std::string& r = RowText(row);
    if (HasRowEnd(r) && col == static_cast<int>(r.size()) && row + 1 < count) {
        ++row;
        col = 0;
    }
    col = std::min(SnapColumn(row, col), TextLength(row));
    selecting = true;
    ExtendSelection(col, row);
    SetCaret(col, row, 0, true, false);
}

void TVellEditModel::SelectAll() {
    if (lines.Count() == 1 && RowText(0) == EndMarker) return;
    EraseUnderline();
    allSelected = true;
    selecting = false;
    view.RepaintRows(topRow, LastVisibleRow());
    selAnchorRow = selAnchorCol = 0;
    selEndRow = lines.Count() - 1;
    selEndCol = std::max(0, static_cast<int>(RowText(selEndRow).size()) - 2);
    if (OnSelectionChange) OnSelectionChange();
    lastCaretRow = caretRow;
    lastCaretCol = caretCol;
    lastCaretX = caretX;
    if (OnUserClientDraw)
        OnUserClientDraw(layout.TextLeft(), clientWidth, topRow,
                         static_cast<int>(std::min<std::int64_t>(lines.Count(), std::int64_t{topRow} +
                                                                                   layout.RowsPerPage())) -
                             1);
}

void TVellEditModel::ClearSelection() {
    if (allSelected) {
        allSelected = false;
        selecting = false;
        view.RepaintRows(topRow, LastVisibleRow());
    } else if (selecting) {
        selecting = false;
        view.RepaintRows(std::min({selAnchorRow, selEndRow, prevSelEndRow}),
                         std::max({selAnchorRow, selEndRow, prevSelEndRow}));
    }
    selAnchorRow = selEndRow = prevSelEndRow = caretRow;
    selAnchorCol = selEndCol = prevSelEndCol = caretCol;
}

void TVellEditModel::ExtendSelection(int column, int row) {
    selEndRow = row;
    selEndCol = column;
    view.RepaintRows(std::min(prevSelEndRow, row), std::max(prevSelEndRow, row));
    prevSelEndRow = row;
    prevSelEndCol = column;
}

void TVellEditModel::UpdateSelectionAfterMove() {
    if (view.ShiftDown() || mouseSelecting || (scrolling && allSelected && !inKey)) {
        if (!dragging && !allSelected) {
            EraseUnderline();
            selecting = true;
            ExtendSelection(caretCol, caretRow);
        }
        return;
    }
    ClearSelection();
}

}  // namespace cvt
