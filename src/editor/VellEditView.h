// What the editor model asks of its window: repaints, scroll bars, the caret, the clipboard.
// The model decides; the window only draws and forwards messages, so the model runs without one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cvt {

// One scroll bar as the model wants it shown.
struct ScrollBarState {
    bool enabled = false;  // both arrows
    int max = 0;           // range is 0..max, in scroll units
    int pos = 0;
    bool redraw = true;
    friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

class VellEditView {
public:
    virtual ~VellEditView() = default;

    // The window holds the focus (its auto-scroll timer runs): the caret exists only then.
    [[nodiscard]] virtual bool HasFocus() const = 0;
    [[nodiscard]] virtual bool ShiftDown() const = 0;
    virtual void TakeFocus() = 0;

    // Every visible row, the margins, the gutter and the area below the rows.
    virtual void RepaintAll() = 0;
    // Rows first..last, clipped by the window to the page and to the last row.
    virtual void RepaintRows(int first, int last) = 0;
    // The rest of one row from x (client pixels from the text origin, after scrolling).
    virtual void RepaintRowFrom(int row, int x) = 0;
    // Moves the text band's contents by dx pixels; the uncovered strip is painted afterwards.
    virtual void ScrollTextBand(int dx) = 0;
    // The caret-row underline drawn at row or erased there.
    virtual void DrawUnderline(int row, bool draw) = 0;

    virtual void SetVertScrollBar(const ScrollBarState& state) = 0;
    virtual void SetHorzScrollBar(const ScrollBarState& state) = 0;
    // Horizontal position only; the range is left as it is.
    virtual void SetHorzScrollPos(int pos) = 0;

    // Client point of the caret; the window moves the system caret and the IME window there.
    virtual void PlaceCaret(int x, int y) = 0;
    virtual void ShowCaret(bool show) = 0;

    // CF_TEXT. Throw std::runtime_error with the box's text when the clipboard fails.
    virtual void SetClipboardText(std::string_view bytes) = 0;
    // Up to the first NUL; nothing when no text is offered.
    [[nodiscard]] virtual std::optional<std::string> ClipboardText() = 0;

    // A guarded operation failed: an OK box with the text and no icon.
    virtual void ShowError(std::string_view text) = 0;
    // A drag of the selection begins (cursor and capture are the window's).
    virtual void BeginDrag() = 0;
};

}  // namespace cvt
