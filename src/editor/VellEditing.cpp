// The editor model's changes of the text, the undo history and the clipboard commands.
#include <algorithm>
#include <climits>
#include <stdexcept>

#include "editor/VellEditModel.h"
#include "editor/VellEditSub.h"

namespace cvt {

namespace {

[[nodiscard]] int ClampInt(std::int64_t v) noexcept {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

std::string NormalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) out.push_back('\n');
    }
    return out;
}

// ---- undo history ----

void TVellEditModel::RecordUndo(UndoKind kind, std::string_view text, int row, int col) {
    if (text.empty() || replaying) return;
    if (!modified) {
        modified = true;
        if (OnChangeModify) OnChangeModify(true);
    }
    if (!UndoRec || UndoBuf <= 0) return;
    Guarded("Error:OC001", [&] {
        if (row == -1 && col == -1) {
            const RowPos start = allSelected ? RowPos{0, 0} : Selection().Start;
            row = start.Row;
            col = start.Col;
        }
        const auto length = static_cast<std::int64_t>(text.size());
        const bool fits = length <= UndoBuf;
        if (undoList.MakeRoom(length, UndoBuf)) undoTruncated = true;
        if (fits) {
            const RowPos pos = ToRecordPos({row, col});
            undoList.PushNewest({kind, pos.Col, pos.Row, std::string(text)});
        } else {
            undoTruncated = true;
        }
        if (redoEnable && OnChangeRedoMode) {
            redoList.Clear();
            redoEnable = false;
            OnChangeRedoMode(false);
        }
    });
}

void TVellEditModel::MoveToRedo(UndoKind kind) {
    Guarded("Error:OC001_2", [&] {
        UndoRecord record = undoList.PopNewest();
        record.Kind = kind;
        redoList.PushNewest(std::move(record));
    });
}

// The place bytes further on, across rows; a place at a row's end is the next row's start.
RowPos TVellEditModel::Advance(RowPos from, std::size_t bytes) const {
    RowPos pos = from;
    auto left = static_cast<std::int64_t>(bytes);
    const int count = lines.Count();
    while (left > 0) {
        const auto size = static_cast<std::int64_t>(RowText(pos.Row).size());
        const std::int64_t avail = size - pos.Col;
        if (left < avail || pos.Row + 1 >= count) {
            pos.Col = ClampInt(std::min(size, pos.Col + left));
            return pos;
        }
        left -= avail;
        ++pos.Row;
        pos.Col = 0;
    }
    return pos;
}

void TVellEditModel::Undo() {
    if (undoList.Empty() || UndoBuf <= 0) return;
    ClearSelection();
    EraseUnderline();
    replaying = true;
    const UndoRecord record = undoList.Newest();
    const RowPos pos = FromRecordPos(record.Col, record.Row);
    switch (record.Kind) {
        case UndoKind::Inserted: {
            DeleteRange(pos, Advance(pos, record.Text.size()), true);
            MoveToRedo(UndoKind::DeletedSelection);
            if (undoList.Empty()) break;
            const UndoRecord& next = undoList.Newest();
            if (next.Row != record.Row || next.Col != record.Col) break;
            if (next.Kind == UndoKind::DeletedSelection) {
                InsertAtCaret(next.Text, true);
                MoveToRedo(UndoKind::Inserted);
            } else if (next.Kind == UndoKind::Overwritten) {
                PutBackAtCaret(next.Text);
                MoveToRedo(UndoKind::Inserted);
            }
            break;
        }
        case UndoKind::DeletedSelection:
        case UndoKind::DeletedBack:
            caretRow = pos.Row;
            caretCol = pos.Col;
            InsertAtCaret(record.Text, true);
            MoveToRedo(UndoKind::Inserted);
            break;
        case UndoKind::DeletedAhead:
        case UndoKind::Overwritten:
            caretRow = pos.Row;
            caretCol = pos.Col;
            PutBackAtCaret(record.Text);
            MoveToRedo(UndoKind::Inserted);
            break;
    }
    replaying = false;
    FinishUndo();
}

void TVellEditModel::FinishUndo() {
    SetCaret(caretCol, caretRow, 0, true, true);
    UpdateVertRange(true);
    RepaintPage();
    const bool nowModified = !undoList.Empty() || undoTruncated;
    if (nowModified != modified) {
        modified = nowModified;
        if (OnChangeModify) OnChangeModify(modified);
    }
    if (OnChange) OnChange();
    if (!redoEnable && OnChangeRedoMode) {
        redoEnable = true;
        OnChangeRedoMode(true);
    }
}

// Puts bytes back in front of the caret, which stays before them.
void TVellEditModel::PutBackAtCaret(const std::string& text) {
    const PhysicalPos before = RowToPhysical(lines, {caretRow, caretCol});
    InsertAtCaret(text, true);
    const RowPos back = PhysicalToRow(lines, before);
    caretRow = back.Row;
    caretCol = back.Col;
    caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
}

// ---- row edits ----

// The rows changed from firstRow; several rows (or a line joined) repaint down to the page's end.
void TVellEditModel::AfterRowEdit(int firstRow, int lastRow, bool repaint, bool severalRows) {
    if (wordWrap) {
        RecutAfterEdit(firstRow, lastRow);
        return;
    }
    const bool gutterMoved = UpdateVertRange(true);
    if (!repaint) return;
    const bool scrolled = ScrollIntoView(caretX, caretRow, 0);
    if (scrolled || gutterMoved) {
        RepaintPage();
    } else if (severalRows) {
        RepaintFrom(firstRow);
    } else {
        view.RepaintRows(firstRow, firstRow);
        UpdateHorzRange(true);
    }
}

void TVellEditModel::RecutAfterEdit(int firstRow, int lastRow) {
    RowPos caret{caretRow, caretCol};
    const int oldRow = caretRow;
    const RecutResult cut = layout.Recut(lines, firstRow, lastRow, caret);
    caretRow = caret.Row;
    caretCol = caret.Col;
    selAnchorRow = selEndRow = prevSelEndRow = caretRow;
    selAnchorCol = selEndCol = prevSelEndCol = caretCol;
    caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
    const bool scrolled = ScrollIntoView(caretX, caretRow, 0);
    if (!scrolled && caretRow > oldRow &&
        std::int64_t{caretRow} - topRow + layout.RowJump() >= layout.RowsPerPage())
        ScrollRowsQuietly(caretRow - oldRow);
    const bool gutterMoved = UpdateVertRange(true);
    if (scrolled || gutterMoved) {
        RepaintPage();
    } else if (cut.OldRows == 1 && cut.NewRows == 1) {
        view.RepaintRows(cut.FirstRow, cut.FirstRow);
        UpdateHorzRange(true);
    } else {
        RepaintFrom(cut.FirstRow);
    }
}

void TVellEditModel::InsertAtCaret(std::string_view text, bool repaint) {
    const std::string row = RowText(caretRow);
    const int col = std::clamp(caretCol, 0, static_cast<int>(row.size()));
    const std::string_view head = std::string_view(row).substr(0, static_cast<std::size_t>(col));
    const std::string_view tail = std::string_view(row).substr(static_cast<std::size_t>(col));
    const int firstRow = caretRow;
    std::string joined;
    joined.reserve(row.size() + text.size());
    joined.append(head).append(text).append(tail);
    if (text.find(LineBreak) == std::string_view::npos) {
        lines.Put(caretRow, joined);
        caretCol = ClampInt(static_cast<std::int64_t>(head.size() + text.size()));
    } else {
        lines.Delete(caretRow);
        int index = caretRow;
        lines.InsertText(index, joined);
        caretRow = index;
        caretCol = ClampInt(static_cast<std::int64_t>(RowText(index).size()) - static_cast<std::int64_t>(tail.size()));
    }
    caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
    AfterRowEdit(firstRow, caretRow, repaint, caretRow != firstRow);
}

// Joins the row part before from with the row part after to; nothing is recorded.
void TVellEditModel::DeleteRange(RowPos from, RowPos to, bool repaint) {
    const int count = lines.Count();
    from.Row = std::clamp(from.Row, 0, count - 1);
    to.Row = std::clamp(to.Row, from.Row, count - 1);
    from.Col = SnapColumn(from.Row, from.Col);
    to.Col = SnapColumn(to.Row, to.Col);
    // A place after a line break is the next row's start.
    auto afterBreak = [&](RowPos p) { return p.Row + 1 < count && p.Col == static_cast<int>(RowText(p.Row).size()); };
    if (afterBreak(to)) to = {to.Row + 1, 0};
    if (afterBreak(from)) from = {from.Row + 1, 0};
    if (from.Row > to.Row) from = to;
    if (from.Row == to.Row) to.Col = std::max(to.Col, from.Col);
    const std::string& firstRow = RowText(from.Row);
    const std::string& lastRow = RowText(to.Row);
    std::string joined = firstRow.substr(0, static_cast<std::size_t>(from.Col));
    joined.append(lastRow, static_cast<std::size_t>(to.Col));
    lines.Put(from.Row, joined);
    lines.DeleteRows(from.Row + 1, to.Row - from.Row);
    caretRow = selAnchorRow = selEndRow = prevSelEndRow = from.Row;
    caretCol = selAnchorCol = selEndCol = prevSelEndCol = desiredCol = from.Col;
    caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
    AfterRowEdit(from.Row, from.Row, repaint, to.Row != from.Row);
}

void TVellEditModel::DeleteSelection(bool repaint) {
    if (!HasSelection()) return;
    const std::string text = SelectedText();
    SelectionSpan span = Selection();
    if (allSelected) {
        span.Start = {0, 0};
        span.End = {lines.Count() - 1, TextLength(lines.Count() - 1)};
    }
    RecordUndo(UndoKind::DeletedSelection, text, span.Start.Row, span.Start.Col);
    selecting = allSelected = false;
    const int count = lines.Count();
    view.RepaintRows(std::max(0, std::min(span.Start.Row, count - 1)), std::min(span.End.Row, count - 1));
    DeleteRange(span.Start, span.End, repaint);
}

// Removes the character at the caret (a line break as a whole) and records it.
void TVellEditModel::RemoveAtCaret(UndoKind kind) {
    const std::string& row = RowText(caretRow);
    const int size = static_cast<int>(row.size());
    if (caretCol >= size || row[static_cast<std::size_t>(caretCol)] == '\0') return;
    const bool lineBreak = row[static_cast<std::size_t>(caretCol)] == '\r';
    const int length = lineBreak ? std::min(2, size - caretCol) : CharLengthAt(row, caretCol);
    const std::string removed = row.substr(static_cast<std::size_t>(caretCol), static_cast<std::size_t>(length));
    RecordUndo(kind, removed, caretRow, caretCol);
    std::string changed = row;
    changed.erase(static_cast<std::size_t>(caretCol), static_cast<std::size_t>(length));
    const int xBefore = caretX;
    bool joined = false;
    if (lineBreak && !wordWrap && !IsLastRow(caretRow)) {
        changed += RowText(caretRow + 1);
        lines.Put(caretRow, changed);
        lines.Delete(caretRow + 1);
        joined = true;
    } else {
        lines.Put(caretRow, changed);
    }
    if (wordWrap) {
        RecutAfterEdit(caretRow, caretRow);
    } else {
        const bool gutterMoved = UpdateVertRange(true);
        if (gutterMoved) {
            RepaintPage();
        } else if (joined) {
            RepaintFrom(caretRow);
        } else {
            view.RepaintRowFrom(caretRow, xBefore);
        }
        UpdateHorzRange(true);
    }
    selAnchorRow = selEndRow = prevSelEndRow = caretRow;
    selAnchorCol = selEndCol = prevSelEndCol = caretCol;
    PlaceCaret();
    if (OnChange) OnChange();
}

// ---- commands ----

void TVellEditModel::InsertTyped(std::string_view text) {
    if (text.empty()) return;
    if (HasSelection()) DeleteSelection(true);
    desiredCol = 0;
    std::string typed(text);
    const int oldRow = caretRow;
    const bool atLineEnd = caretCol >= TextLength(caretRow) && HasRowEnd(RowText(caretRow));
    if (!insertMode && !atLineEnd) {
        if (wordWrap) {  // the rest of the line into the caret row, so the overwrite can reach it
            while (!HasRowEnd(RowText(caretRow)) && !IsLastRow(caretRow)) {
                lines.Put(caretRow, RowText(caretRow) + RowText(caretRow + 1));
                lines.Delete(caretRow + 1);
            }
        }
        const std::string& row = RowText(caretRow);
        const int avail = std::max(0, TextLength(caretRow) - caretCol);
        const std::int64_t lastTyped = std::int64_t{caretCol} + static_cast<std::int64_t>(typed.size());
        int n = static_cast<int>(std::min<std::int64_t>(avail, static_cast<std::int64_t>(typed.size())));
        if (lastTyped <= INT_MAX &&
            GetByteType(row, lastTyped, layout.SingleByteMode(), isLead) == ByteType::Lead) {
            n = static_cast<int>(std::min<std::int64_t>(avail, static_cast<std::int64_t>(typed.size()) + 1));
            typed.push_back(' ');
        }
        if (n > 0) {
            RecordUndo(UndoKind::Overwritten, row.substr(static_cast<std::size_t>(caretCol), static_cast<std::size_t>(n)),
                       caretRow, caretCol);
            std::string changed = RowText(caretRow);
            changed.erase(static_cast<std::size_t>(caretCol), static_cast<std::size_t>(n));
            lines.Put(caretRow, changed);
        }
    }
    RecordUndo(UndoKind::Inserted, typed, caretRow, caretCol);
    const int xBefore = caretX;
    if (typed.find(LineBreak) == std::string::npos) {
        std::string changed = RowText(caretRow);
        changed.insert(static_cast<std::size_t>(caretCol), typed);
        lines.Put(caretRow, changed);
        caretCol += static_cast<int>(typed.size());
        caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
        if (wordWrap) {
            RecutAfterEdit(caretRow, caretRow);
        } else if (UpdateVertRange(true)) {
            RepaintPage();
        } else {
            while (caretX < 0 && hScroll > 0) {
                const int before = hScroll;
                HScroll(VellScroll::LineUp);
                if (hScroll == before) break;
            }
            view.RepaintRowFrom(caretRow, std::max(0, std::min(xBefore, caretX)));
            DrawUnderline();
        }
    } else {
        InsertAtCaret(typed, true);
        if (!wordWrap) RepaintFrom(oldRow);
    }
    caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
    if (!wordWrap) UpdateHorzRange(true);
    while (caretX > layout.TextAreaWidth()) {
        const int before = hScroll;
        HScroll(VellScroll::LineDown);
        if (hScroll == before) break;
    }
    desiredCol = caretCol;
    selAnchorRow = selEndRow = prevSelEndRow = caretRow;
    selAnchorCol = selEndCol = prevSelEndCol = caretCol;
    PlaceCaret();
    if (OnChange) OnChange();
    if (OnUserClientDraw) OnUserClientDraw(layout.TextLeft(), clientWidth, caretRow, caretRow);
}

void TVellEditModel::Enter() {
    if (HasSelection()) DeleteSelection(true);
    std::string text(LineBreak);
    if (AutoIndent) {
        const std::string& row = RowText(caretRow);
        for (int i = 0; i < caretCol && i < static_cast<int>(row.size()); ++i) {
            if (static_cast<unsigned char>(row[static_cast<std::size_t>(i)]) > 32) break;
            text.push_back(row[static_cast<std::size_t>(i)]);
        }
    }
    RecordUndo(UndoKind::Inserted, text, caretRow, caretCol);
    const int oldRow = caretRow;
    InsertAtCaret(text, false);
    if (!wordWrap) {
        const bool gutterMoved = UpdateVertRange(true);
        if (std::int64_t{caretRow} - topRow + layout.RowJump() > layout.RowsPerPage()) ScrollRowsQuietly(1);
        if (ScrollIntoView(caretX, caretRow, 0) || gutterMoved) {
            RepaintPage();
        } else {
            RepaintFrom(std::max(0, oldRow));
        }
    }
    desiredCol = caretCol;
    selAnchorRow = selEndRow = prevSelEndRow = caretRow;
    selAnchorCol = selEndCol = prevSelEndCol = caretCol;
    PlaceCaret();
    if (OnChange) OnChange();
}

void TVellEditModel::InsertTab() {
    if (HasSelection()) DeleteSelection(true);
    RecordUndo(UndoKind::Inserted, "\t", caretRow, caretCol);
    InsertAtCaret("\t", true);
    desiredCol = caretCol;
    selAnchorRow = selEndRow = prevSelEndRow = caretRow;
    selAnchorCol = selEndCol = prevSelEndCol = caretCol;
    PlaceCaret();
    if (OnChange) OnChange();
}

void TVellEditModel::DeleteSelectionAndReport() {
    DeleteSelection(true);
    PlaceCaret();
    if (OnChange) OnChange();
}

// The bytes between the caret and col on the caret's row go as one recorded selection.
void TVellEditModel::DeleteOnCaretRowTo(int col) {
    selAnchorRow = selEndRow = caretRow;
    selAnchorCol = caretCol;
    selEndCol = col;
    selecting = true;
    DeleteSelectionAndReport();
}

void TVellEditModel::DeleteChar() {
    if (HasSelection()) {
        DeleteSelectionAndReport();
        return;
    }
    RemoveAtCaret(UndoKind::DeletedAhead);
}

void TVellEditModel::Backspace() {
    if (HasSelection()) {
        DeleteSelectionAndReport();
        return;
    }
    if (caretRow == 0 && caretCol == 0) return;
    MoveLeft(false);
    ClearSelection();  // Shift held down must not leave a selection over what goes now
    RemoveAtCaret(UndoKind::DeletedBack);
}

void TVellEditModel::DeleteWordAhead() {
    if (selecting) {
        DeleteSelectionAndReport();
        return;
    }
    if (allSelected) ClearSelection();
    const std::string& row = RowText(caretRow);
    const int size = static_cast<int>(row.size());
    if (caretCol >= size) return;
    const char c = row[static_cast<std::size_t>(caretCol)];
    if (c == '\0') return;  // the end marker
    if (c == '\r' || c == '\t') {
        RemoveAtCaret(UndoKind::DeletedAhead);
        return;
    }
    DeleteOnCaretRowTo(NextWordBoundary(row, caretCol));
}

void TVellEditModel::DeleteWordBack() {
    if (caretRow == 0 && caretCol == 0) return;
    if (selecting) {
        DeleteSelectionAndReport();
        return;
    }
    if (allSelected) ClearSelection();
    const std::string& row = RowText(caretRow);
    if (caretCol == 0 || row[static_cast<std::size_t>(caretCol - 1)] == '\t') {
        Backspace();
        return;
    }
    DeleteOnCaretRowTo(PrevWordBoundary(row, caretCol));
}

void TVellEditModel::CopyToClipboard() {
    if (CaretScrollFix) BringCaretIntoView(true);
    if (!HasSelection()) return;
    try {
        view.SetClipboardText(SelectedText());
    } catch (const std::exception& e) {
        view.ShowError(e.what());
    }
}

void TVellEditModel::CutToClipboard() {
    CopyToClipboard();
    DeleteSelectionAndReport();  // also when nothing was selected
}

void TVellEditModel::PasteFromClipboard() {
    const std::optional<std::string> offered = view.ClipboardText();
    if (!offered) return;
    const std::string text = NormalizeLineBreaks(*offered);
    if (HasSelection()) DeleteSelection(true);
    RecordUndo(UndoKind::Inserted, text, caretRow, caretCol);
    InsertAtCaret(text, true);
    desiredCol = caretCol;
    selAnchorRow = selEndRow = prevSelEndRow = caretRow;
    selAnchorCol = selEndCol = prevSelEndCol = caretCol;
    PlaceCaret();
    if (OnChange) OnChange();
}

void TVellEditModel::DropText(bool copy) {
    if (CaretInsideSelection() || ReadOnly || !HasSelection()) {
        ClearSelection();
        return;
    }
    const std::string text = NormalizeLineBreaks(SelectedText());
    if (copy) {
        const RowPos caret{caretRow, caretCol};
        ClearSelection();
        caretRow = caret.Row;
        caretCol = caret.Col;
    } else {
        // Lines and offsets survive the re-cut that the deletion causes.
        SelectionSpan span = Selection();
        if (allSelected) span = {{0, 0}, {lines.Count() - 1, TextLength(lines.Count() - 1)}};
        const PhysicalPos start = RowToPhysical(lines, span.Start);
        const PhysicalPos end = RowToPhysical(lines, span.End);
        PhysicalPos drop = RowToPhysical(lines, {caretRow, caretCol});
        const bool after = drop.Line > end.Line || (drop.Line == end.Line && drop.Offset >= end.Offset);
        DeleteSelection(false);
        if (after) {
            if (drop.Line == end.Line) drop.Offset = drop.Offset - end.Offset + start.Offset;
            drop.Line -= end.Line - start.Line;
        }
        const RowPos back = PhysicalToRow(lines, drop);
        caretRow = back.Row;
        caretCol = back.Col;
    }
    RecordUndo(UndoKind::Inserted, text, caretRow, caretCol);
    InsertAtCaret(text, false);
    desiredCol = caretCol;
    selAnchorRow = selEndRow = prevSelEndRow = caretRow;
    selAnchorCol = selEndCol = prevSelEndCol = caretCol;
    UpdateVertRange(true);
    RepaintPage();
    PlaceCaret();
    if (OnChange) OnChange();
}

}  // namespace cvt
