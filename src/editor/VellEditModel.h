// The editor without its window: text rows, caret, selection, scrolling arithmetic, editing and undo.
// Key codes, scroll requests and mouse points arrive as plain values; everything the window must do
// goes out through VellEditView, so the whole behaviour runs and is tested without Win32.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/LeadByte.h"
#include "editor/TextMeasurer.h"
#include "editor/VellEditView.h"
#include "editor/VellLayout.h"
#include "editor/VellStrings.h"
#include "editor/VellUndo.h"

namespace cvt {

// Virtual-key codes the key table answers (the Windows values).
namespace VellKey {
inline constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Convert = 0x1C, NonConvert = 0x1D, Escape = 0x1B,
                     Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27,
                     Down = 0x28, Insert = 0x2D, Delete = 0x2E, A = 'A', C = 'C', V = 'V', X = 'X', Z = 'Z',
                     OemComma = 0xBC, OemPeriod = 0xBE;
}

// Scroll-bar requests (SB_ values; the horizontal ones share the numbers).
namespace VellScroll {
inline constexpr int LineUp = 0, LineDown = 1, PageUp = 2, PageDown = 3, ThumbPosition = 4, ThumbTrack = 5,
                     Top = 6, Bottom = 7, EndScroll = 8;
}

struct KeyModifiers {
    bool Ctrl = false;
    bool Shift = false;
    bool Convert = false;     // the Japanese convert key is down
    bool NonConvert = false;  // and the non-convert key
};

// Where a selection starts and ends, the earlier place first.
struct SelectionSpan {
    RowPos Start;
    RowPos End;
};

class TVellEditModel {
public:
    // All three must outlive the model.
    TVellEditModel(const TextMeasurer& measurer, LeadBytePredicate isLeadByte, VellEditView& view);
    TVellEditModel(const TVellEditModel&) = delete;
    TVellEditModel& operator=(const TVellEditModel&) = delete;

    // ---- properties with their setters' rules ----
    bool UndoRec = true;
    bool CaretScrollFix = false;
    std::uint8_t ScrollStep = 2;
    std::uint8_t WheelStep = 2;
    bool ShowEOF = true;
    bool ShowCR = true;
    bool ShowDblSpace = true;
    bool ShowTAB = false;
    int UndoBuf = 0xF8000;
    bool ShowUnderLine = false;
    bool AutoIndent = false;
    bool ReadOnly = false;
    bool WantTabs = true;
    std::string Inyostr = ">";
    bool ColorPrintF = true;
    bool DragModeAutomatic = true;
    bool HorzScrollBar = false;
    bool VertScrollBar = true;

    [[nodiscard]] bool WordWrap() const noexcept { return wordWrap; }
    void SetWordWrap(bool value);
    [[nodiscard]] int Column() const noexcept { return layout.Column(); }
    // At least 10; a wrapped text is cut again at the new width.
    void SetColumn(int value);
    [[nodiscard]] bool AutoWrap() const noexcept { return layout.AutoWrap(); }
    // A wrapped text is cut again, so its rows always follow the rule in force.
    void SetAutoWrap(bool value);
    void SetHorzScrollBar(bool value);
    void SetVertScrollBar(bool value);

    [[nodiscard]] TVellLayout& Layout() noexcept { return layout; }
    [[nodiscard]] const TVellLayout& Layout() const noexcept { return layout; }
    [[nodiscard]] TVellStrings& Lines() noexcept { return lines; }
    [[nodiscard]] const TVellStrings& Lines() const noexcept { return lines; }
    [[nodiscard]] bool SingleByteMode() const noexcept { return layout.SingleByteMode(); }

    // ---- events; an empty one counts as not assigned ----
    std::function<void()> OnChange;
    std::function<void()> OnSelectionChange;
    std::function<void()> OnMoveCaret;
    std::function<void(bool)> OnChangeInsMode;
    std::function<void(bool)> OnChangeModify;
    std::function<void(bool)> OnChangeRedoMode;
    std::function<void(int, int, int, int)> OnUserClientDraw;  // x1, x2, L1, L2
    std::function<void()> OnIMEChanging;
    std::function<void()> OnIMEChanged;
    std::function<void()> OnIMEReConvert;
    std::function<void(const std::string&, bool&)> OnManualStartDrag;

    // ---- lifecycle ----
    // The window exists: font measured, gutter sized, both scroll positions 0.
    void WindowCreated();
    void Resized(int clientWidth, int clientHeight);
    void FocusGained();
    void SetText(std::string_view text);
    void ClearAll();
    // The text as the owner reads it: every row joined, the end marker left out.
    [[nodiscard]] std::string GetText() const { return lines.GetText(); }

    // ---- caret and selection ----
    bool MoveCaretTo(int column, int row);
    bool SetCaret(int column, int row, int mode, bool rememberDesired, bool collapse);
    bool ScrollIntoView(int x, int row, int mode);
    void PlaceCaret();
    void SetSel(int anchorCol, int anchorRow, int caretRow, int caretCol);
    void SelectAll();
    void ClearSelection();
    void ExtendSelection(int column, int row);
    void UpdateSelectionAfterMove();
    [[nodiscard]] bool HasSelection() const noexcept { return selecting || allSelected; }
    [[nodiscard]] SelectionSpan Selection() const noexcept;
    [[nodiscard]] std::string SelectedText() const;
    // The caret's client point, out of sight when scrolled away.
    [[nodiscard]] int CaretClientX() const noexcept;
    [[nodiscard]] int CaretClientY() const noexcept;

    // ---- input ----
    void KeyDown(int key, KeyModifiers modifiers);
    void KeyUp() noexcept { keyRepeat = 0; }
    // Typed bytes (one character, or a lead and trail byte joined by the window).
    void CharTyped(std::string_view bytes, bool ctrl);
    void ImeResult(std::string_view bytes);
    void ImeStartComposition();
    void ImeEndComposition();
    // Answers the rows moved.
    int VScroll(int request, int thumbPos = 0);
    void HScroll(int request, int thumbPos = 0);
    void MouseWheel(int delta);
    void MouseDown(int x, int y, bool shift);
    void MouseMove(int x, int y);
    // ctrl: a drag ending now copies instead of moving.
    void MouseUp(bool ctrl);
    void DoubleClick() noexcept { skipMouseDown = true; }
    void AutoScrollTick();
    [[nodiscard]] bool Dragging() const noexcept { return dragging; }

    // ---- editing ----
    void InsertAtCaret(std::string_view text, bool repaint);
    void DeleteSelection(bool repaint);
    void InsertTyped(std::string_view text);
    void Enter();
    void InsertTab();
    void DeleteChar();
    void Backspace();
    void DeleteWordAhead();
    void DeleteWordBack();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    void DropText(bool copy);
    void ToggleInsertMode();

    // ---- state the window paints from and tests read ----
    [[nodiscard]] int CaretRow() const noexcept { return caretRow; }
    [[nodiscard]] int CaretCol() const noexcept { return caretCol; }
    [[nodiscard]] int CaretX() const noexcept { return caretX; }
    [[nodiscard]] int DesiredCol() const noexcept { return desiredCol; }
    [[nodiscard]] RowPos Anchor() const noexcept { return {selAnchorRow, selAnchorCol}; }
    [[nodiscard]] RowPos SelEnd() const noexcept { return {selEndRow, selEndCol}; }
    [[nodiscard]] bool Selecting() const noexcept { return selecting; }
    [[nodiscard]] bool AllSelected() const noexcept { return allSelected; }
    [[nodiscard]] bool InsertMode() const noexcept { return insertMode; }
    [[nodiscard]] bool Modified() const noexcept { return modified; }
    [[nodiscard]] bool RedoEnable() const noexcept { return redoEnable; }
    [[nodiscard]] bool UndoTruncated() const noexcept { return undoTruncated; }
    [[nodiscard]] bool Composing() const noexcept { return composing; }
    [[nodiscard]] bool MouseSelecting() const noexcept { return mouseSelecting; }
    [[nodiscard]] int TopRow() const noexcept { return topRow; }
    [[nodiscard]] int HScrollPos() const noexcept { return hScroll; }
    [[nodiscard]] int MaxTopRow() const noexcept { return maxTopRow; }
    [[nodiscard]] int MaxRowWidth() const noexcept { return maxRowWidth; }
    [[nodiscard]] int VScrollUnit() const noexcept { return vScrollUnit; }
    [[nodiscard]] int HScrollUnit() const noexcept { return hScrollUnit; }
    [[nodiscard]] int KeyRepeat() const noexcept { return keyRepeat; }
    [[nodiscard]] int AutoScrollDir() const noexcept { return autoScrollDir; }
    [[nodiscard]] const UndoHistory& UndoList() const noexcept { return undoList; }
    [[nodiscard]] const UndoHistory& RedoList() const noexcept { return redoList; }
    [[nodiscard]] int ClientWidth() const noexcept { return clientWidth; }
    [[nodiscard]] int LastVisibleRow() const noexcept;
    [[nodiscard]] int RowCount() const noexcept { return lines.Count(); }

    // Updates the vertical range and the gutter; true when the gutter moved the text.
    bool UpdateVertRange(bool redraw);
    // The last row may show RowJump - 1 empty rows below it.
    [[nodiscard]] int ComputeMaxTopRow() const noexcept;
    void UpdateHorzRange(bool redraw);

private:
    VellEditView& view;
    LeadBytePredicate isLead;
    TVellStrings lines;
    TVellLayout layout;
    bool wordWrap = true;

    int clientWidth = 0;
    int caretRow = 0, caretCol = 0, caretX = 0;
    int desiredCol = 0, desiredX = 0, desiredXCol = -1;
    int selAnchorRow = 0, selAnchorCol = 0;
    int selEndRow = 0, selEndCol = 0;
    int prevSelEndRow = 0, prevSelEndCol = 0;
    bool selecting = false, allSelected = false;
    bool insertMode = true, modified = false, redoEnable = false;
    bool composing = false, dragging = false;
    std::int16_t autoScrollDir = 0;
    int lastCaretRow = 0, lastCaretCol = 0, lastCaretX = 0;
    int topRow = 0, hScroll = 0;
    int maxTopRow = 0, maxRowWidth = 0, vScrollUnit = 1, hScrollUnit = 1;
    UndoHistory undoList, redoList;
    bool undoTruncated = false;
    bool replaying = false;

    bool mouseSelecting = false, savedScrollFix = false, skipMouseDown = false;
    std::int16_t keyRepeat = 0;
    int caretFollow = 0;
    bool caretFollowsScroll = true, inKey = false, scrolling = false;
    int underlinedRow = -1;
    RowPos dragOrigin;

    // ---- helpers (VellEditModel.cpp) ----
    void ResetViewState();
    void RefreshAfterText();
    void Rewrap(bool repaint);
    [[nodiscard]] const std::string& RowText(int row) const { return lines.Row(row); }
    // Bytes of the row before its line break or end marker.
    [[nodiscard]] int TextLength(int row) const;
    [[nodiscard]] bool IsLastRow(int row) const noexcept { return row == lines.Count() - 1; }
    [[nodiscard]] bool IsTrail(const std::string& row, int col) const noexcept;
    [[nodiscard]] int CharLengthAt(const std::string& row, int col) const noexcept;
    [[nodiscard]] int ColumnX(int row, int col) const;
    [[nodiscard]] int SnapColumn(int row, int col) const;
    void RepaintPage();
    void RepaintFrom(int row);
    void EraseUnderline();
    void DrawUnderline();
    [[nodiscard]] bool UnderlineWanted() const noexcept;
    // Runs an operation that must not end the program; failures show text.
    void Guarded(std::string_view text, const std::function<void()>& operation);
    bool GuardedBool(std::string_view text, const std::function<bool()>& operation);
    [[nodiscard]] RowPos ToRecordPos(RowPos pos) const;
    [[nodiscard]] RowPos FromRecordPos(int col, int row) const;

    // ---- caret moves (VellCaret.cpp) ----
    void PointToCaret(int x, int y);
    void MoveRight(bool word);
    void MoveLeft(bool word);
    void Home();
    void End();
    void TextStart();
    void TextEnd();
    void StartOrEndSelection();
    void MoveUpDown(bool down);
    void VerticalMove(int rows);
    void PageKey(bool down);
    void ScrollRowsQuietly(int rows);
    void ScrollRight();
    void BringCaretIntoView(bool rememberDesired);
    void RequestReconversion();
    void StartDrag();
    [[nodiscard]] bool CaretInsideSelection() const noexcept;
    [[nodiscard]] int NextWordBoundary(const std::string& row, int col) const noexcept;
    [[nodiscard]] int PrevWordBoundary(const std::string& row, int col) const noexcept;
    [[nodiscard]] int CharClassAt(const std::string& row, int col) const noexcept;

    // ---- editing (VellEditing.cpp) ----
    void RecordUndo(UndoKind kind, std::string_view text, int row, int col);
    void DeleteRange(RowPos from, RowPos to, bool repaint);
    void RemoveAtCaret(UndoKind kind);
    // A command's deletion of the selection: placed caret and OnChange follow.
    void DeleteSelectionAndReport();
    void DeleteOnCaretRowTo(int col);
    void AfterRowEdit(int firstRow, int lastRow, bool repaint, bool severalRows);
    void RecutAfterEdit(int firstRow, int lastRow);
    void PutBackAtCaret(const std::string& text);
    [[nodiscard]] RowPos Advance(RowPos from, std::size_t bytes) const;
    void MoveToRedo(UndoKind kind);
    void FinishUndo();
};

// Class of the character at a place, for word moves: 0 hiragana, 1 katakana, 2 kanji and others,
// 3 full-width Latin, 4 full-width symbols, 5 half-width katakana, 6 ASCII letters, 7 symbols.
[[nodiscard]] int VellCharClass(unsigned lead, unsigned trail, bool doubleByte) noexcept;

// Lone CRs become CR LF, so that only whole line breaks end rows.
[[nodiscard]] std::string NormalizeLineBreaks(std::string_view text);

}  // namespace cvt
