// TVellEdit: the editor model in a child window of its own class. The window turns messages into
// model calls and draws what the model asks for; caret, selection and editing rules are the model's.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Handles.h"
#include "editor/GdiTextMeasurer.h"
#include "editor/VellEditModel.h"
#include "editor/VellEditView.h"
#include "editor/ReportView.h"
#include "ui/Window.h"

namespace cvt {

enum class TBorderStyle { bsNone, bsSingle };

// The font as its owner describes it. Height < 0 is the character height in pixels, > 0 the cell height.
struct TVellFont {
    std::string Name = "FixedSys";
    int Height = 0;  // 0: 14 points on the screen
    BYTE CharSet = DEFAULT_CHARSET;
    std::int32_t Color = 0;
};

// A colour property's value: red in the low byte; a negative value names a system colour (its index in
// the low byte), resolved now.
[[nodiscard]] COLORREF ColorToRGB(std::int32_t value) noexcept;
// All 24 bits complemented.
[[nodiscard]] constexpr COLORREF InvertColor(COLORREF c) noexcept { return ~c & 0xFFFFFFu; }

class TVellEdit final : public ui::Window, public ReportView, private VellEditView {
public:
    static constexpr char kClassName[] = "TVellEdit";
    static constexpr char kVersion[] = "TVellEdit Ver1.29";
    static constexpr UINT_PTR kAutoScrollTimer = 1;
    static constexpr UINT kAutoScrollInterval = 40;
    static constexpr int kDefaultWidth = 185;
    static constexpr int kDefaultHeight = 89;

    // Defaults of every property, the end-marker row, the drag cursors and the two caret messages.
    TVellEdit();
    ~TVellEdit() override;

    // The window itself; border, scroll bars and font are taken from the properties as they are now.
    bool Create(HWND parent, int x, int y, int width = kDefaultWidth, int height = kDefaultHeight, int id = 0);

    [[nodiscard]] TVellEditModel& Model() noexcept { return model_; }
    [[nodiscard]] const TVellEditModel& Model() const noexcept { return model_; }
    [[nodiscard]] TVellStrings& Lines() noexcept { return model_.Lines(); }
    [[nodiscard]] const TVellStrings& Lines() const noexcept { return model_.Lines(); }

    void SetText(std::string_view text) override;
    [[nodiscard]] std::string GetText() const override { return model_.GetText(); }
    void ClearAll();
    void SelectAll() { model_.SelectAll(); }
    void CopyToClipboard() { model_.CopyToClipboard(); }
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool MoveCaretTo(int column, int row) { return model_.MoveCaretTo(column, row); }

    // ---- properties the window holds ----
    [[nodiscard]] COLORREF Color() const noexcept { return color_; }
    void SetColor(std::int32_t value);
    [[nodiscard]] COLORREF SelColor() const noexcept { return selColor_; }
    void SetSelColor(std::int32_t value) { selColor_ = ColorToRGB(value); }
    [[nodiscard]] COLORREF CREOFcolor() const noexcept { return crEofColor_; }
    void SetCREOFcolor(std::int32_t value) { crEofColor_ = ColorToRGB(value); }
    [[nodiscard]] COLORREF URLColor() const noexcept { return urlColor_; }
    void SetURLColor(std::int32_t value) { urlColor_ = ColorToRGB(value); }
    [[nodiscard]] COLORREF InyoColor() const noexcept { return inyoColor_; }
    void SetInyoColor(std::int32_t value) { inyoColor_ = ColorToRGB(value); }
    [[nodiscard]] COLORREF UlineColor() const noexcept { return ulineColor_; }
    void SetUlineColor(std::int32_t value) { ulineColor_ = ColorToRGB(value); }
    [[nodiscard]] COLORREF FontColor() const noexcept { return fontColor_; }

    [[nodiscard]] const TVellFont& Font() const noexcept { return font_; }
    // Measured afresh at once when the window exists.
    void SetFont(const TVellFont& font);
    // The record every paint and the IME use: cell height, any character set, fixed pitch.
    [[nodiscard]] const LOGFONTA& FontRecord() const noexcept { return fontRecord_; }
    [[nodiscard]] const TextMeasurer& Measurer() const noexcept { return measurer_; }

    [[nodiscard]] TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    [[nodiscard]] bool Ctl3D() const noexcept { return ctl3D_; }
    void SetCtl3D(bool value);
    // The bars come and go with the window's style.
    void SetHorzScrollBarOn(bool value);
    void SetVertScrollBarOn(bool value);

    // Cursor shown while the selection is dragged: an id of CursorOf.
    int DragCursor = 1;
    // Opened by the right button when set; its commands go to the parent.
    HMENU PopupMenu = nullptr;

    // ---- events of the window; the model's own are on Model() ----
    std::function<void()> OnPaint;
    std::function<void(int c1, int c2, int x1, int x2)> OnUserDraw;

    // The cursor table: 1 "DragCur1" (move), 2 "DragCur2" (copy); null for an unknown id.
    [[nodiscard]] static HCURSOR CursorOf(int id) noexcept;
    [[nodiscard]] UINT GetCaretPosMessage() const noexcept { return getCaretPosMessage_; }
    [[nodiscard]] UINT SetCaretPosMessage() const noexcept { return setCaretPosMessage_; }

    // The whole client area as a paint would leave it, into any DC (WM_PRINTCLIENT comes here too).
    void PaintContent(HDC dc, const RECT& area);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class VellPainter;

    // ---- VellEditView ----
    [[nodiscard]] bool HasFocus() const override { return focused_; }
    [[nodiscard]] bool ShiftDown() const override { return GetKeyState(VK_SHIFT) < 0; }
    void TakeFocus() override;
    void RepaintAll() override;
    void RepaintRows(int first, int last) override;
    void RepaintRowFrom(int row, int x) override;
    void ScrollTextBand(int dx) override;
    void DrawUnderline(int row, bool draw) override;
    void SetVertScrollBar(const ScrollBarState& state) override;
    void SetHorzScrollBar(const ScrollBarState& state) override;
    void SetHorzScrollPos(int pos) override;
    void PlaceCaret(int x, int y) override;
    void ShowCaret(bool show) override;
    void SetClipboardText(std::string_view bytes) override;
    [[nodiscard]] std::optional<std::string> ClipboardText() override;
    void ShowError(std::string_view text) override;
    void BeginDrag() override;

    // ---- messages ----
    void OnCreate();
    void OnSetFocus();
    void OnKillFocus();
    void OnChar(unsigned char c);
    void OnImeComposition(LPARAM lParam);
    void OnPaintMessage();
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM capacity, char* buffer) const;
    [[nodiscard]] LRESULT TextLength() const;
    LRESULT OnLineLength(WPARAM row) const;
    LRESULT OnGetLine(WPARAM row, LPARAM buffer) const;
    LRESULT OnGetSel(WPARAM anchorOut, LPARAM endOut) const;
    void SwitchDragCursor();
    void EndMouseCapture();
    void UpdateStyle();
    void CreateFonts();
    void RaiseUserDraw();
    [[nodiscard]] RECT ClientRect() const;
    [[nodiscard]] int VertBarWidth() const noexcept;

    // Fonts before the measurer: it is destroyed first and gives the font back before it goes.
    TVellFont font_;
    LOGFONTA fontRecord_{};
    UniqueFont plainFont_;
    UniqueFont underlineFont_;
    GdiTextMeasurer measurer_;
    TVellEditModel model_;

    COLORREF color_ = RGB(255, 255, 255);
    COLORREF fontColor_ = RGB(0, 0, 0);
    COLORREF selColor_ = RGB(0, 0, 0);
    COLORREF crEofColor_ = RGB(0, 128, 128);
    COLORREF urlColor_ = RGB(0, 0, 255);
    COLORREF inyoColor_ = RGB(128, 128, 128);
    COLORREF ulineColor_ = RGB(0, 0, 0);
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    bool ctl3D_ = true;

    UINT getCaretPosMessage_ = 0;
    UINT setCaretPosMessage_ = 0;
    bool focused_ = false;  // from WM_SETFOCUS to WM_KILLFOCUS: the caret exists only then
    bool timerRunning_ = false;
    bool caretExists_ = false;
    bool caretVisible_ = false;
    int underlinedRow_ = -1;
    int savedCursor_ = 1;
    std::optional<unsigned char> pendingLead_;  // a lead byte whose trail is still to come
    std::optional<ScrollBarState> vertBar_, horzBar_;  // as last shown, to skip repeated bar updates
    bool releasingCapture_ = false;
};

}  // namespace cvt
