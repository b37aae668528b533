// The editor model's caret moves, key table, scrolling, mouse selection and dragging.
#include <algorithm>
#include <climits>

#include "editor/VellEditModel.h"
#include "editor/VellEditSub.h"

namespace cvt {

namespace {

[[nodiscard]] int ClampInt(std::int64_t v) noexcept {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

[[nodiscard]] std::int64_t CeilDiv(std::int64_t num, std::int64_t den) noexcept {
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

[[nodiscard]] bool StopsWord(char c) noexcept { return c == '\t' || c == '\r' || c == '\0'; }

}  // namespace

int VellCharClass(unsigned lead, unsigned trail, bool doubleByte) noexcept {
    if (!doubleByte) {
        const unsigned c = lead & 0xFF;
        if (c <= 0x2F || (c >= 0x3A && c <= 0x3F) || c >= 0xE0) return 7;
        if (c <= 0x7F) return 6;
        if (c >= 0xA6) return 5;
        return 2;
    }
    const unsigned code = ((lead & 0xFF) << 8) | (trail & 0xFF);
    if (code >= 0x8140 && code < 0x824F) return 4;
    if (code >= 0x824F && code < 0x829F) return 3;
    if (code >= 0x829F && code < 0x8300) return 0;
    if (code >= 0x8340 && code < 0x8397) return 1;
    if (code >= 0x8397 && code < 0x889F) return 4;
    return 2;
}

int TVellEditModel::CharClassAt(const std::string& row, int col) const noexcept {
    const int length = CharLengthAt(row, col);
    const auto lead = static_cast<unsigned char>(row[static_cast<std::size_t>(col)]);
    const unsigned trail = length == 2 ? static_cast<unsigned char>(row[static_cast<std::size_t>(col) + 1]) : 0;
    return VellCharClass(lead, trail, length == 2);
}

int TVellEditModel::NextWordBoundary(const std::string& row, int col) const noexcept {
    const int size = static_cast<int>(row.size());
    if (col >= size) return col;
    const int cls = CharClassAt(row, col);
    while (col < size && !StopsWord(row[static_cast<std::size_t>(col)]) && CharClassAt(row, col) == cls)
        col += CharLengthAt(row, col);
    return std::min(col, size);
}

int TVellEditModel::PrevWordBoundary(const std::string& row, int col) const noexcept {
    auto charBefore = [&](int c) { return c >= 2 && IsTrail(row, c - 1) ? c - 2 : c - 1; };
    if (col <= 0) return 0;
    const int cls = CharClassAt(row, charBefore(col));
    while (col > 0) {
        const int start = charBefore(col);
        if (CharClassAt(row, start) != cls) break;
        col = start;
    }
    return col;
}

// ---- keys ----

void TVellEditModel::BringCaretIntoView(bool rememberDesired) {
    SetCaret(caretCol, caretRow, 0, rememberDesired, false);
}

void TVellEditModel::KeyDown(int key, KeyModifiers m) {
    inKey = true;
    if (CaretScrollFix && (!m.Ctrl || key < 32) && key != VellKey::Up && key != VellKey::Down)
        BringCaretIntoView(true);
    const bool editable = !ReadOnly;
    const bool ctrl = m.Ctrl;
    switch (key) {
        case VellKey::A: if (ctrl) SelectAll(); break;
        case VellKey::C: if (ctrl) CopyToClipboard(); break;
        case VellKey::V: if (ctrl && editable) PasteFromClipboard(); break;
        case VellKey::X: if (ctrl && editable) CutToClipboard(); break;
        case VellKey::Z: if (ctrl && editable) Undo(); break;
        case VellKey::OemComma: if (ctrl) Home(); break;
        case VellKey::OemPeriod: if (ctrl) End(); break;
        case VellKey::Insert:
            if (ctrl) CopyToClipboard();
            else if (editable && m.Shift) PasteFromClipboard();
            else if (editable) ToggleInsertMode();
            break;
        case VellKey::Delete:
            if (!editable) break;
            if (ctrl) DeleteWordAhead(); else if (m.Shift) CutToClipboard(); else DeleteChar();
            break;
        case VellKey::Back:
            if (!editable) break;
            if (ctrl) DeleteWordBack(); else Backspace();
            break;
        case VellKey::Left: MoveLeft(ctrl); break;
        case VellKey::Right: MoveRight(ctrl); break;
        case VellKey::Home: if (ctrl) TextStart(); else Home(); break;
        case VellKey::End: if (ctrl) TextEnd(); else End(); break;
        case VellKey::Up: MoveUpDown(false); break;
        case VellKey::Down: MoveUpDown(true); break;
        case VellKey::Prior: PageKey(false); break;
        case VellKey::Next: PageKey(true); break;
        case VellKey::Tab: if (editable) InsertTab(); break;
        case VellKey::Return: if (editable) Enter(); break;
        default: break;
    }
    if (!m.Ctrl && !m.Shift) {
        if (m.Convert && !ReadOnly) {
            RequestReconversion();
        } else if ((m.Convert || m.NonConvert) && CaretScrollFix) {
            BringCaretIntoView(true);
        }
    }
    inKey = false;
}

void TVellEditModel::ToggleInsertMode() {
    insertMode = !insertMode;
    if (OnChangeInsMode) OnChangeInsMode(insertMode);
}

void TVellEditModel::RequestReconversion() {
    if (!HasSelection() || composing || !OnIMEReConvert) return;
    const SelectionSpan span = Selection();
    selAnchorRow = span.End.Row;
    selAnchorCol = span.End.Col;
    caretRow = selEndRow = span.Start.Row;
    caretCol = selEndCol = span.Start.Col;
    SetCaret(caretCol, caretRow, 0, true, false);
    OnIMEReConvert();
}

void TVellEditModel::CharTyped(std::string_view bytes, bool ctrl) {
    if (ReadOnly || ctrl || bytes.empty()) return;
    const auto c = static_cast<unsigned char>(bytes.front());
    if (bytes.size() == 2) {
        if (static_cast<unsigned char>(bytes[1]) < 64) return;
    } else if (!((c >= 32 && c <= 126) || c >= 160)) {
        return;
    }
    InsertTyped(bytes);
}

void TVellEditModel::ImeResult(std::string_view bytes) {
    if (ReadOnly || bytes.empty()) return;
    InsertTyped(bytes);
}

void TVellEditModel::ImeStartComposition() {
    composing = true;
    if (!OnIMEChanging) return;
    if (CaretScrollFix) BringCaretIntoView(true);
    OnIMEChanging();
}

void TVellEditModel::ImeEndComposition() {
    composing = false;
    if (OnIMEChanged) OnIMEChanged();
}

// ---- horizontal moves ----

void TVellEditModel::ScrollRight() {
    while (layout.TextAreaWidth() - caretX < layout.CaretJump()) {
        const int before = hScroll;
        HScroll(VellScroll::LineDown);
        if (hScroll == before) break;
    }
}

// The view moves by rows without the caret following: the caret was placed already.
void TVellEditModel::ScrollRowsQuietly(int rows) {
    const int request = rows > 0 ? VellScroll::LineDown : VellScroll::LineUp;
    for (int i = 0; i < std::abs(rows); ++i) {
        caretFollowsScroll = false;
        VScroll(request);
    }
    caretFollowsScroll = true;
}

void TVellEditModel::MoveRight(bool word) {
    const std::string& row = RowText(caretRow);
    const int size = static_cast<int>(row.size());
    bool lineEnd = caretCol >= size;
    int newCol = caretCol;
    if (!lineEnd) {
        const char c = row[static_cast<std::size_t>(caretCol)];
        if (c == '\0') return;  // the end marker
        if (c == '\r') {
            lineEnd = true;
        } else {
            newCol = caretCol + CharLengthAt(row, caretCol);
            if (word && c != '\t') newCol = NextWordBoundary(row, caretCol);
            if (newCol >= size && !IsLastRow(caretRow)) lineEnd = true;
        }
    }
    if (lineEnd) {
        if (IsLastRow(caretRow)) return;
        EraseUnderline();
        const bool wasScrolled = hScroll != 0;
        ++caretRow;
        caretCol = 0;
        caretX = 0;
        hScroll = 0;
        if (std::int64_t{caretRow - 1 - topRow} + layout.RowJump() >= layout.RowsPerPage()) ScrollRowsQuietly(1);
        if (wasScrolled) RepaintPage();
        DrawUnderline();
    } else {
        caretCol = std::min(newCol, size);
        caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
        ScrollRight();
    }
    UpdateSelectionAfterMove();
    PlaceCaret();
    desiredCol = caretCol;
}

void TVellEditModel::MoveLeft(bool word) {
    if (caretCol > 0) {
        const std::string& row = RowText(caretRow);
        const int start = caretCol >= 2 && IsTrail(row, caretCol - 1) ? caretCol - 2 : caretCol - 1;
        const bool tab = row[static_cast<std::size_t>(start)] == '\t';
        caretCol = word && !tab ? PrevWordBoundary(row, caretCol) : start;
        caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
        while (caretX < 0 && hScroll > 0) {
            const int before = hScroll;
            HScroll(VellScroll::LineUp);
            if (hScroll == before) break;
        }
    } else {
        if (caretRow == 0) return;
        EraseUnderline();
        --caretRow;
        if (std::int64_t{caretRow + 1 - topRow} - layout.RowJump() <= 0) ScrollRowsQuietly(-1);
        const std::string& row = RowText(caretRow);
        const int size = static_cast<int>(row.size());
        const bool lastDouble = size >= 2 && IsTrail(row, size - 1);
        caretCol = std::max(0, size - (HasRowEnd(row) || lastDouble ? 2 : 1));
        caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
        if (caretX > layout.TextAreaWidth()) {
            hScroll = ClampInt(std::int64_t{caretX} + hScroll - layout.TextAreaWidth() + layout.HJump());
            caretX = ClampInt(std::int64_t{ColumnX(caretRow, caretCol)} - hScroll);
            RepaintPage();
        }
        DrawUnderline();
    }
    UpdateSelectionAfterMove();
    PlaceCaret();
    desiredCol = caretCol;
}

void TVellEditModel::Home() {
    if (caretRow == 0 && caretCol == 0) return;
    caretCol = 0;
    caretX = 0;
    UpdateSelectionAfterMove();
    if (hScroll != 0) {
        hScroll = 0;
        RepaintPage();
    }
    desiredCol = 0;
    PlaceCaret();
}

void TVellEditModel::End() {
    const int length = TextLength(caretRow);
    if (caretCol == length) return;
    const std::string& row = RowText(caretRow);
    const int width = layout.ExpandedWidth(std::string_view(row).substr(0, static_cast<std::size_t>(length)));
    const int oldH = hScroll;
    hScroll = ClampInt(std::max<std::int64_t>(0, std::int64_t{width} - layout.TextAreaWidth() + layout.CaretJump()));
    caretX = ClampInt(std::int64_t{width} - hScroll);
    caretCol = length;
    UpdateSelectionAfterMove();
    if (hScroll != oldH) RepaintPage();
    desiredCol = caretCol;
    PlaceCaret();
}

// Ctrl+Home and Ctrl+End begin or drop a selection by the keyboard and mouse state.
void TVellEditModel::StartOrEndSelection() {
    if (!HasSelection()) {
        selecting = view.ShiftDown() || mouseSelecting;
        if (selecting) {
            EraseUnderline();
            selAnchorRow = caretRow;
            selAnchorCol = caretCol;
        }
    } else if (!view.ShiftDown()) {
        ClearSelection();
    }
}

void TVellEditModel::TextStart() {
    if (caretRow == 0 && caretCol == 0) return;
    StartOrEndSelection();
    EraseUnderline();
    caretRow = caretCol = caretX = topRow = hScroll = desiredCol = 0;
    if (!HasSelection()) {
        selAnchorRow = caretRow;
        selAnchorCol = caretCol;
    }
    selEndRow = prevSelEndRow = caretRow;
    selEndCol = prevSelEndCol = caretCol;
    UpdateVertRange(true);
    RepaintPage();
    DrawUnderline();
    PlaceCaret();
}

void TVellEditModel::TextEnd() {
    const int lastRow = lines.Count() - 1;
    const int length = TextLength(lastRow);
    if (caretRow == lastRow && caretCol == length) return;
    StartOrEndSelection();
    EraseUnderline();
    const std::string& row = RowText(lastRow);
    const int width = layout.ExpandedWidth(std::string_view(row).substr(0, static_cast<std::size_t>(length)));
    caretRow = lastRow;
    caretCol = length;
    hScroll = ClampInt(std::max<std::int64_t>(0, std::int64_t{width} - layout.TextAreaWidth() + layout.CaretJump()));
    caretX = ClampInt(std::int64_t{width} - hScroll);
    desiredCol = caretCol;
    UpdateVertRange(true);
    topRow = maxTopRow;
    UpdateVertRange(true);
    if (!HasSelection()) {
        selAnchorRow = caretRow;
        selAnchorCol = caretCol;
    }
    selEndRow = prevSelEndRow = caretRow;
    selEndCol = prevSelEndCol = caretCol;
    RepaintPage();
    DrawUnderline();
    PlaceCaret();
}

// ---- vertical moves and scrolling ----

void TVellEditModel::MoveUpDown(bool down) {
    if (CaretScrollFix) BringCaretIntoView(false);
    const std::int64_t screenRow = std::int64_t{caretRow} - topRow;
    const int rowJump = layout.RowJump();
    const int rowsPerPage = layout.RowsPerPage();
    if (down && screenRow + rowJump - rowsPerPage >= 0) {
        keyRepeat = static_cast<std::int16_t>(std::min(SHRT_MAX - 1, std::max<int>(0, keyRepeat)) + 1);
        if (VScroll(VellScroll::LineDown) == 0) VerticalMove(1);
    } else if (!down && screenRow - rowJump < 0) {
        keyRepeat = static_cast<std::int16_t>(std::max(SHRT_MIN + 1, std::min<int>(0, keyRepeat)) - 1);
        if (VScroll(VellScroll::LineUp) == 0) VerticalMove(-1);
    } else {
        VerticalMove(down ? 1 : -1);
    }
}

void TVellEditModel::VerticalMove(int rows) {
    if ((rows < 0 && caretRow == 0) || (rows > 0 && IsLastRow(caretRow)) || rows == 0) return;
    if (desiredXCol != desiredCol) {
        const std::string& row = RowText(caretRow);
        desiredX = layout.ColumnX(row, desiredCol);
        desiredXCol = desiredCol;
    }
    EraseUnderline();
    caretRow = ClampInt(std::clamp<std::int64_t>(std::int64_t{caretRow} + rows, 0, lines.Count() - 1));
    const ColumnHit hit = layout.ColumnAtX(RowText(caretRow), desiredX);
    caretCol = hit.Col;
    caretX = hit.X;
    const std::int64_t shown = std::int64_t{caretX} - hScroll;
    if (shown > layout.TextAreaWidth() || (shown < 0 && hScroll > 0)) {
        hScroll = ClampInt(std::max<std::int64_t>(0, std::int64_t{caretX} - layout.TextAreaWidth() + layout.HJump()));
        RepaintPage();
    }
    caretX = ClampInt(std::int64_t{caretX} - hScroll);
    UpdateSelectionAfterMove();
    PlaceCaret();
    DrawUnderline();
}

void TVellEditModel::PageKey(bool down) {
    const int page = down ? std::max(1, layout.TextAreaHeight() / std::max(1, layout.LinePitch()))
                          : std::min(-1, -(layout.TextAreaHeight() / std::max(1, layout.LinePitch())));
    if (VScroll(down ? VellScroll::PageDown : VellScroll::PageUp) != 0) return;
    const std::int64_t screenRow = std::int64_t{caretRow} - topRow;
    if (down && screenRow >= std::int64_t{layout.RowsPerPage()} - layout.RowJump()) return;
    VerticalMove(page);
}

int TVellEditModel::VScroll(int request, int thumbPos) {
    const int pitch = std::max(1, layout.LinePitch());
    maxTopRow = ComputeMaxTopRow();
    std::int64_t rows = 0;
    switch (request) {
        case VellScroll::LineUp: rows = keyRepeat <= -5 ? -std::int64_t{ScrollStep} : -1; break;
        case VellScroll::LineDown: rows = keyRepeat >= 5 ? std::int64_t{ScrollStep} : 1; break;
        case VellScroll::PageUp: rows = std::min(-1, -(layout.TextAreaHeight() / pitch)); break;
        case VellScroll::PageDown: rows = std::max(1, layout.TextAreaHeight() / pitch); break;
        case VellScroll::ThumbTrack: rows = std::int64_t{thumbPos} * vScrollUnit - topRow; break;
        case VellScroll::Top: rows = -std::int64_t{topRow}; break;
        case VellScroll::Bottom: rows = std::int64_t{maxTopRow} - topRow; break;
        default: break;
    }
    caretFollow = ClampInt(rows);
    if (rows > 0) {
        rows = std::max<std::int64_t>(0, std::min<std::int64_t>(rows, std::int64_t{maxTopRow} - topRow));
        if (std::int64_t{caretRow} - topRow + layout.RowJump() > layout.RowsPerPage()) caretFollow = 0;
    } else if (rows < 0) {
        rows = std::max<std::int64_t>(rows, -std::int64_t{topRow});
    }
    const int amount = ClampInt(rows);
    if (amount != 0) {
        scrolling = true;
        EraseUnderline();
        topRow += amount;
        view.RepaintAll();
        if (caretFollowsScroll) {
            if (!CaretScrollFix || inKey) {
                VerticalMove(caretFollow);
                if (caretFollow == 0) PlaceCaret();
            } else {
                PlaceCaret();
            }
        }
        if (VertScrollBar) UpdateVertRange(true);
        UpdateHorzRange(true);
        scrolling = false;
    }
    caretFollowsScroll = true;
    return amount;
}

void TVellEditModel::HScroll(int request, int thumbPos) {
    const int width = layout.TextAreaWidth();
    std::int64_t amount = 0;
    switch (request) {
        case VellScroll::LineUp: amount = -layout.HJump(); break;
        case VellScroll::LineDown: amount = layout.HJump(); break;
        case VellScroll::PageUp: amount = std::min(-1, -(width / 3)); break;
        case VellScroll::PageDown: amount = std::max(1, width / 3); break;
        case VellScroll::ThumbTrack: amount = std::int64_t{thumbPos} * hScrollUnit - hScroll; break;
        default: break;
    }
    if (amount > 0) {
        if (std::int64_t{maxRowWidth} + layout.HJump() <= width) {
            amount = 0;
        } else {
            amount = std::max<std::int64_t>(0, std::min(amount, std::int64_t{maxRowWidth} - hScroll - layout.HJump()));
        }
    } else if (amount < 0) {
        amount = std::max<std::int64_t>(amount, -std::int64_t{hScroll});
    }
    if (amount == 0) return;
    hScroll = ClampInt(hScroll + amount);
    if (HorzScrollBar) view.SetHorzScrollPos(ClampInt(CeilDiv(hScroll, hScrollUnit)));
    view.ScrollTextBand(ClampInt(-amount));
    caretX = ClampInt(caretX - amount);
    view.ShowCaret(true);
    PlaceCaret();
}

void TVellEditModel::MouseWheel(int delta) {
    const int notches = std::abs(delta / 120);
    const int n = notches * WheelStep;
    if (delta >= 120) {
        for (int i = 0; i < n; ++i) VScroll(VellScroll::LineUp);
    } else if (delta <= -120) {
        for (int i = 0; i < n; ++i) VScroll(VellScroll::LineDown);
    }
}

// ---- mouse ----

void TVellEditModel::PointToCaret(int x, int y) {
    prevSelEndRow = caretRow;
    prevSelEndCol = caretCol;
    const int pitch = std::max(1, layout.LinePitch());
    std::int64_t row = std::int64_t{topRow} + std::max(0, y - layout.TopMargin()) / pitch;
    row = std::min<std::int64_t>(std::int64_t{topRow} + layout.RowsPerPage() - 1, row);
    row = std::clamp<std::int64_t>(row, 0, lines.Count() - 1);
    caretRow = static_cast<int>(row);
    if (std::int64_t{x} - layout.TextLeft() >= -4) {
        const ColumnHit hit = layout.ColumnAtX(RowText(caretRow), ClampInt(std::int64_t{x} - layout.TextLeft() + hScroll));
        caretCol = hit.Col;
        caretX = hit.X;
    } else {
        caretCol = caretX = hScroll = 0;
    }
    desiredCol = caretCol;
    const int step = layout.TextAreaWidth() / 3;
    if (step > 0) {
        while (std::int64_t{caretX} - hScroll > layout.TextAreaWidth()) hScroll = ClampInt(std::int64_t{hScroll} + step);
        while (std::int64_t{caretX} - hScroll < 0 && hScroll > 0) hScroll = std::max(0, hScroll - step);
    }
    caretX = ClampInt(std::int64_t{caretX} - hScroll);
}

bool TVellEditModel::CaretInsideSelection() const noexcept {
    if (!HasSelection()) return false;
    const SelectionSpan span = Selection();
    const RowPos c{caretRow, caretCol};
    auto before = [](RowPos a, RowPos b) { return a.Row < b.Row || (a.Row == b.Row && a.Col <= b.Col); };
    return before(span.Start, c) && before(c, span.End);
}

void TVellEditModel::MouseDown(int x, int y, bool shift) {
    if (skipMouseDown) {
        skipMouseDown = false;
        return;
    }
    view.TakeFocus();
    view.ShowCaret(false);
    EraseUnderline();
    const int oldH = hScroll;
    PointToCaret(x, y);
    mouseSelecting = true;
    savedScrollFix = CaretScrollFix;
    bool dragCandidate = false;
    if (shift) {
        selecting = true;
        ExtendSelection(caretCol, caretRow);
    } else if (std::int64_t{x} >= std::int64_t{layout.TextLeft()} - 4 || hScroll != 0) {
        if (CaretInsideSelection()) {
            dragCandidate = true;
        } else {
            ClearSelection();
        }
    } else {
        ClearSelection();
        const std::string& row = RowText(caretRow);
        const int end = static_cast<int>(row.size()) - (IsLastRow(caretRow) ? 2 : 0);
        caretCol = caretX = 0;
        desiredCol = 0;
        if (end > 0) {
            selAnchorRow = prevSelEndRow = caretRow;
            selAnchorCol = prevSelEndCol = end;
            selecting = true;
            ExtendSelection(caretCol, caretRow);
        } else {
            selAnchorRow = selEndRow = prevSelEndRow = caretRow;
            selAnchorCol = selEndCol = prevSelEndCol = 0;
        }
    }
    if (hScroll != oldH) RepaintPage();
    PlaceCaret();
    view.ShowCaret(true);
    if (!dragCandidate) return;
    if (DragModeAutomatic) {
        StartDrag();
        return;
    }
    bool canDrag = true;
    if (OnManualStartDrag) OnManualStartDrag(SelectedText(), canDrag);
    if (!OnManualStartDrag || !canDrag) ClearSelection();
}

void TVellEditModel::StartDrag() {
    dragging = true;
    mouseSelecting = true;
    savedScrollFix = CaretScrollFix;
    CaretScrollFix = false;
    dragOrigin = {prevSelEndRow, prevSelEndCol};
    view.BeginDrag();
}

void TVellEditModel::MouseMove(int x, int y) {
    if (!mouseSelecting) return;
    autoScrollDir = 0;
    CaretScrollFix = false;
    const std::int64_t rowsHeight = std::int64_t{layout.RowsPerPage()} * layout.LinePitch();
    const std::int64_t bottom = rowsHeight + layout.TopMargin();
    if (y > bottom) {
        autoScrollDir = 1;
    } else if (y <= layout.TopMargin()) {
        autoScrollDir = -1;
    } else if (std::int64_t{x} > std::int64_t{layout.TextLeft()} + layout.TextAreaWidth()) {
        autoScrollDir = 2;
    } else if (x <= layout.TextLeft() && hScroll > 0) {
        autoScrollDir = -2;
    }
    if (autoScrollDir != 0) return;
    const int oldH = hScroll;
    PointToCaret(x, y);
    if (caretRow != prevSelEndRow || caretCol != prevSelEndCol) {
        if (!dragging) {
            selecting = true;
            if (x < layout.TextLeft() && caretRow == selAnchorRow + 1) selAnchorCol = 0;
            ExtendSelection(caretCol, caretRow);
        } else if (!HasSelection()) {
            selAnchorRow = selEndRow = caretRow;
            selAnchorCol = selEndCol = caretCol;
            DrawUnderline();
        }
    }
    PlaceCaret();
    view.ShowCaret(true);
    if (hScroll != oldH) RepaintPage();
}

void TVellEditModel::MouseUp(bool ctrl) {
    autoScrollDir = 0;
    if (dragging) {
        DropText(ctrl);
        mouseSelecting = false;
        keyRepeat = 0;
        CaretScrollFix = savedScrollFix;
        dragging = false;
        return;
    }
    if (mouseSelecting) {
        mouseSelecting = false;
        CaretScrollFix = savedScrollFix;
    }
}

void TVellEditModel::AutoScrollTick() {
    switch (autoScrollDir) {
        case -2: if (caretCol > 0) MoveLeft(false); break;
        case -1: MoveUpDown(false); break;
        case 1: MoveUpDown(true); break;
        case 2: if (caretCol < TextLength(caretRow)) MoveRight(false); break;
        default: break;
    }
}

}  // namespace cvt
