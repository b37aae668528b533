// The editor window: construction, messages, and what the model asks of the window.
#include "editor/VellEdit.h"

#include <windowsx.h>
#include <imm.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "editor/VellIme.h"
#include "ui/MessageDialog.h"

namespace cvt {
namespace {

constexpr int kDefaultPoints = 14;

// The cursor table's entries: index 1 moves, index 2 copies.
std::array<HCURSOR, 3>& CursorTable() {
    static std::array<HCURSOR, 3> table{};
    return table;
}

// Another program may hold the clipboard for a moment.
bool OpenClipboardWithRetry(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(10);
    }
    return false;
}

void ApplyBar(HWND hwnd, int bar, const ScrollBarState& state, std::optional<ScrollBarState>& shown) {
    if (shown && shown->enabled == state.enabled && shown->max == state.max) {
        if (shown->pos != state.pos) {
            shown->pos = state.pos;
            SetScrollPos(hwnd, bar, state.pos, state.redraw);
        }
        return;
    }
    // Recorded first: a bar that appears or goes resizes the window, which asks for the bar again.
    shown = state;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    // An empty range keeps the bar, disabled, instead of removing it.
    info.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMax = state.max;
    info.nPos = state.pos;
    SetScrollInfo(hwnd, bar, &info, state.redraw);
    EnableScrollBar(hwnd, static_cast<UINT>(bar), state.enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

// A single border is the sunken client edge in the 3-D look, a plain line without it.
void ApplyBorder(TBorderStyle border, bool ctl3D, DWORD& style, DWORD& exStyle) noexcept {
    style &= ~static_cast<DWORD>(WS_BORDER);
    exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    if (border != TBorderStyle::bsSingle) return;
    if (ctl3D) exStyle |= WS_EX_CLIENTEDGE;
    else style |= WS_BORDER;
}

}  // namespace

COLORREF ColorToRGB(std::int32_t value) noexcept {
    if (value < 0) return GetSysColor(value & 0xFF);
    return static_cast<COLORREF>(value) & 0xFFFFFFu;
}

HCURSOR TVellEdit::CursorOf(int id) noexcept {
    if (id < 1 || id > 2) return nullptr;
    return CursorTable()[static_cast<std::size_t>(id)];
}

TVellEdit::TVellEdit() : model_(measurer_, AnsiLeadByte, *this) {
    CreateFonts();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    CursorTable()[1] = LoadCursorA(instance, "DragCur1");
    CursorTable()[2] = LoadCursorA(instance, "DragCur2");
    getCaretPosMessage_ = RegisterWindowMessageA("WM_TVELLEDIT_GETCARETPOS");
    setCaretPosMessage_ = RegisterWindowMessageA("WM_TVELLEDIT_SETCARETPOS");
}

TVellEdit::~TVellEdit() {
    // Destroyed here, while every member can still answer the messages destruction sends.
    if (Hwnd() != nullptr) DestroyWindow(Hwnd());
}

bool TVellEdit::Create(HWND parent, int x, int y, int width, int height, int id) {
    if (!RegisterClassOnce(kClassName, nullptr, nullptr, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW)) return false;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    DWORD exStyle = 0;
    ApplyBorder(borderStyle_, ctl3D_, style, exStyle);
    if (model_.VertScrollBar) style |= WS_VSCROLL;
    if (model_.HorzScrollBar) style |= WS_HSCROLL;
    return CreateWindowObject(exStyle, kClassName, "", style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

// ---- properties ----

void TVellEdit::CreateFonts() {
    fontColor_ = ColorToRGB(font_.Color);
    int height = font_.Height;
    if (height == 0) {
        HDC screen = GetDC(nullptr);
        height = -MulDiv(kDefaultPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
    }
    fontRecord_ = LOGFONTA{};
    fontRecord_.lfHeight = -height;
    fontRecord_.lfCharSet = DEFAULT_CHARSET;
    fontRecord_.lfPitchAndFamily = FIXED_PITCH;
    lstrcpynA(fontRecord_.lfFaceName, font_.Name.c_str(), LF_FACESIZE);
    UniqueFont plain(CreateFontIndirectA(&fontRecord_));
    LOGFONTA underlined = fontRecord_;
    underlined.lfUnderline = TRUE;
    UniqueFont underline(CreateFontIndirectA(&underlined));
    // The measurer lets go of the old font before it is deleted.
    measurer_.SetFont(plain.Get());
    plainFont_ = std::move(plain);
    underlineFont_ = std::move(underline);
}

void TVellEdit::SetFont(const TVellFont& font) {
    font_ = font;
    CreateFonts();
    if (Hwnd() == nullptr) return;
    TVellLayout& layout = model_.Layout();
    layout.MeasureFont();
    layout.InitGutter();
    const RECT client = ClientRect();
    model_.Resized(client.right, client.bottom);
    if (caretExists_) {
        DestroyCaret();
        CreateCaret(Hwnd(), nullptr, 2, layout.CharHeight());
        caretVisible_ = false;
        ShowCaret(true);
        model_.PlaceCaret();
    }
    RepaintAll();
}

void TVellEdit::SetColor(std::int32_t value) {
    color_ = ColorToRGB(value);
    RepaintAll();
}

void TVellEdit::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    UpdateStyle();
}

void TVellEdit::SetCtl3D(bool value) {
    if (value == ctl3D_) return;
    ctl3D_ = value;
    UpdateStyle();
}

void TVellEdit::UpdateStyle() {
    if (Hwnd() == nullptr) return;
    auto style = static_cast<DWORD>(GetWindowLongA(Hwnd(), GWL_STYLE));
    auto exStyle = static_cast<DWORD>(GetWindowLongA(Hwnd(), GWL_EXSTYLE));
    ApplyBorder(borderStyle_, ctl3D_, style, exStyle);
    SetWindowLongA(Hwnd(), GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongA(Hwnd(), GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TVellEdit::SetHorzScrollBarOn(bool value) {
    if (Hwnd() != nullptr) {
        horzBar_.reset();
        ShowScrollBar(Hwnd(), SB_HORZ, value);
    }
    model_.SetHorzScrollBar(value);
}

void TVellEdit::SetVertScrollBarOn(bool value) {
    if (Hwnd() != nullptr) {
        vertBar_.reset();
        ShowScrollBar(Hwnd(), SB_VERT, value);
    }
    model_.SetVertScrollBar(value);
}

// ---- operations of the owner ----

void TVellEdit::SetText(std::string_view text) { model_.SetText(text); }

void TVellEdit::ClearAll() {
    model_.ClearAll();
    if (Hwnd() != nullptr)
        ime::PlaceCompositionWindow(Hwnd(), fontRecord_, {model_.Layout().TextLeft(), model_.Layout().TopMargin()});
}

void TVellEdit::CutToClipboard() {
    if (!model_.ReadOnly) model_.CutToClipboard();
}

void TVellEdit::PasteFromClipboard() {
    if (!model_.ReadOnly) model_.PasteFromClipboard();
}

void TVellEdit::Undo() {
    if (!model_.ReadOnly) model_.Undo();
}

// ---- what the model asks of the window ----

RECT TVellEdit::ClientRect() const {
    RECT client{};
    if (Hwnd() != nullptr) GetClientRect(Hwnd(), &client);
    return client;
}

int TVellEdit::VertBarWidth() const noexcept { return model_.VertScrollBar ? GetSystemMetrics(SM_CXVSCROLL) : 0; }

void TVellEdit::TakeFocus() {
    if (Hwnd() != nullptr && GetFocus() != Hwnd()) SetFocus(Hwnd());
}

void TVellEdit::RepaintAll() {
    if (Hwnd() != nullptr) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void TVellEdit::RepaintRows(int first, int last) {
    if (Hwnd() == nullptr) return;
    const TVellLayout& layout = model_.Layout();
    const int top = model_.TopRow();
    const int lastVisible = model_.LastVisibleRow();
    first = std::max(first, top);
    if (std::int64_t{first} > std::int64_t{top} + layout.RowsPerPage()) return;
    const RECT client = ClientRect();
    RECT rows{0, layout.RowY(first, top), client.right, client.bottom};
    // Rows that reach the last one take the area below with them: rows deleted there must vanish.
    if (last < lastVisible) {
        if (last < first) return;
        rows.bottom = layout.RowY(last, top) + layout.LinePitch();
    }
    InvalidateRect(Hwnd(), &rows, FALSE);
}

void TVellEdit::RepaintRowFrom(int row, int x) {
    if (Hwnd() == nullptr || row < model_.TopRow() || row > model_.LastVisibleRow()) return;
    const TVellLayout& layout = model_.Layout();
    const RECT client = ClientRect();
    const int y = layout.RowY(row, model_.TopRow());
    const std::int64_t left = std::int64_t{layout.TextLeft()} + x - 1;
    RECT rest{static_cast<int>(std::clamp<std::int64_t>(left, 0, client.right)), y, client.right, y + layout.LinePitch()};
    InvalidateRect(Hwnd(), &rest, FALSE);
}

void TVellEdit::ScrollTextBand(int dx) {
    if (Hwnd() == nullptr) return;
    // What waits to be painted is painted where it is before the band moves under it.
    UpdateWindow(Hwnd());
    const RECT client = ClientRect();
    RECT band{model_.Layout().TextLeft(), 0, client.right, client.bottom};
    ScrollWindowEx(Hwnd(), dx, 0, &band, &band, nullptr, nullptr, SW_INVALIDATE);
    UpdateWindow(Hwnd());
    RaiseUserDraw();
}

void TVellEdit::DrawUnderline(int row, bool draw) {
    underlinedRow_ = draw ? row : -1;
    if (Hwnd() == nullptr || !IsWindowVisible(Hwnd())) return;
    const TVellLayout& layout = model_.Layout();
    const std::int64_t y = (std::int64_t{row} - model_.TopRow() + 1) * layout.LinePitch() + layout.TopMargin() -
                           (layout.LinePitch() - layout.CharHeight());
    if (y < INT_MIN || y > INT_MAX) return;
    if (!draw && y <= layout.TopMargin()) return;
    HDC dc = GetDC(Hwnd());
    if (dc == nullptr) return;
    UniqueHandle<HPEN, GdiCloser> pen(CreatePen(PS_SOLID, 1, draw ? ulineColor_ : color_));
    const HGDIOBJ old = SelectObject(dc, pen.Get());
    MoveToEx(dc, layout.LeftMargin(), static_cast<int>(y), nullptr);
    LineTo(dc, ClientRect().right, static_cast<int>(y));
    // The separator of the line numbers crosses the underline's row.
    if (!draw && layout.ShowLineNumber()) SetPixelV(dc, layout.TextLeft() - 4, static_cast<int>(y), crEofColor_);
    SelectObject(dc, old);
    ReleaseDC(Hwnd(), dc);
}

void TVellEdit::SetVertScrollBar(const ScrollBarState& state) {
    if (Hwnd() != nullptr && model_.VertScrollBar) ApplyBar(Hwnd(), SB_VERT, state, vertBar_);
}

void TVellEdit::SetHorzScrollBar(const ScrollBarState& state) {
    if (Hwnd() != nullptr && model_.HorzScrollBar) ApplyBar(Hwnd(), SB_HORZ, state, horzBar_);
}

void TVellEdit::SetHorzScrollPos(int pos) {
    if (Hwnd() == nullptr || !model_.HorzScrollBar) return;
    if (horzBar_) horzBar_->pos = pos;
    SetScrollPos(Hwnd(), SB_HORZ, pos, TRUE);
}

void TVellEdit::PlaceCaret(int x, int y) {
    if (Hwnd() == nullptr) return;
    if (caretExists_) SetCaretPos(x, y);
    ime::PlaceCompositionWindow(Hwnd(), fontRecord_, {x, y});
}

// The system counts hides and shows; the model asks for either at any time, so only changes go through.
void TVellEdit::ShowCaret(bool show) {
    if (Hwnd() == nullptr || !caretExists_ || show == caretVisible_) return;
    if (show) {
        caretVisible_ = ::ShowCaret(Hwnd()) != FALSE;
    } else {
        ::HideCaret(Hwnd());
        caretVisible_ = false;
    }
}

void TVellEdit::SetClipboardText(std::string_view bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    if (block == nullptr) throw std::runtime_error("Error:OC007");
    if (!OpenClipboardWithRetry(Hwnd())) {
        GlobalFree(block);
        throw std::runtime_error("Error:OC007");
    }
    const char* failure = nullptr;
    if (!EmptyClipboard()) {
        failure = "Error:OC007";
    } else if (auto* target = static_cast<char*>(GlobalLock(block)); target == nullptr) {
        failure = "Error:OC002";
    } else {
        std::memcpy(target, bytes.data(), bytes.size());
        target[bytes.size()] = '\0';
        GlobalUnlock(block);
        if (SetClipboardData(CF_TEXT, block) == nullptr) failure = "Error:OC002";
    }
    // The block is the clipboard's once placed, and ours to free otherwise.
    if (failure != nullptr) GlobalFree(block);
    const bool closed = CloseClipboard() != FALSE;
    if (failure != nullptr) throw std::runtime_error(failure);
    if (!closed) throw std::runtime_error("Error:OC007");
}

std::optional<std::string> TVellEdit::ClipboardText() {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboardWithRetry(Hwnd())) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            text.emplace(bytes, strnlen(bytes, GlobalSize(data)));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void TVellEdit::ShowError(std::string_view text) {
    ui::ShowMessage(Hwnd(), ui::MessageKind::Plain, std::string(text));
}

void TVellEdit::BeginDrag() {
    savedCursor_ = DragCursor;
    if (Hwnd() != nullptr && GetCapture() != Hwnd()) SetCapture(Hwnd());
    if (HCURSOR cursor = CursorOf(DragCursor)) SetCursor(cursor);
}

void TVellEdit::SwitchDragCursor() {
    if (!model_.Dragging()) return;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    if (HCURSOR cursor = CursorOf((keys[VK_CONTROL] & 0x80) != 0 ? 2 : savedCursor_)) SetCursor(cursor);
}

void TVellEdit::RaiseUserDraw() {
    if (!OnUserDraw || Hwnd() == nullptr) return;
    const TVellLayout& layout = model_.Layout();
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    const int width = window.right - window.left;
    const double charWidth = std::max(1, layout.CharWidth());
    const int c1 = std::max(static_cast<int>(std::nearbyint(model_.HScrollPos() / charWidth)), 1);
    const int limit = model_.WordWrap() ? model_.Column() : layout.MaxCols();
    const int c2 = std::min(static_cast<int>(std::nearbyint((width + model_.HScrollPos()) / charWidth)), limit);
    OnUserDraw(c1, c2, layout.TextLeft(), width - VertBarWidth());
}

// ---- messages ----

void TVellEdit::OnCreate() {
    model_.WindowCreated();
    SetScrollPos(Hwnd(), SB_VERT, 0, FALSE);
    SetScrollPos(Hwnd(), SB_HORZ, 0, FALSE);
}

void TVellEdit::OnSetFocus() {
    focused_ = true;
    timerRunning_ = SetTimer(Hwnd(), kAutoScrollTimer, kAutoScrollInterval, nullptr) != 0;
    caretExists_ = CreateCaret(Hwnd(), nullptr, 2, model_.Layout().CharHeight()) != FALSE;
    caretVisible_ = false;
    model_.FocusGained();
}

void TVellEdit::OnKillFocus() {
    focused_ = false;
    if (timerRunning_) KillTimer(Hwnd(), kAutoScrollTimer);
    timerRunning_ = false;
    if (caretExists_) {
        ::HideCaret(Hwnd());
        DestroyCaret();
    }
    caretExists_ = caretVisible_ = false;
    pendingLead_.reset();
}

void TVellEdit::OnChar(unsigned char c) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (pendingLead_) {
        const char pair[2] = {static_cast<char>(*pendingLead_), static_cast<char>(c)};
        pendingLead_.reset();
        if (c >= 64) model_.CharTyped(std::string_view(pair, 2), ctrl);
        return;
    }
    if (!AnsiLeadByte(c)) {
        const char single = static_cast<char>(c);
        model_.CharTyped(std::string_view(&single, 1), ctrl);
        return;
    }
    MSG next{};
    if (PeekMessageA(&next, Hwnd(), WM_CHAR, WM_CHAR, PM_NOREMOVE | PM_NOYIELD)) {
        const auto trail = static_cast<unsigned char>(next.wParam & 0xFF);
        if (trail >= 64) {
            PeekMessageA(&next, Hwnd(), WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD);
            const char pair[2] = {static_cast<char>(c), static_cast<char>(trail)};
            model_.CharTyped(std::string_view(pair, 2), ctrl);
        }
        return;
    }
    // A trail that is sent rather than queued comes as the very next message; a lone lead byte is
    // never inserted, or it would swallow the byte after it.
    pendingLead_ = c;
}

void TVellEdit::OnImeComposition(LPARAM lParam) {
    if (model_.ReadOnly || (lParam & GCS_RESULTSTR) == 0) return;
    if (const std::optional<std::string> result = ime::ResultString(Hwnd()); result && !result->empty())
        model_.ImeResult(*result);
}

LRESULT TVellEdit::OnGetDlgCode(WPARAM wParam, LPARAM lParam) {
    LRESULT code = DefWindowProcA(Hwnd(), WM_GETDLGCODE, wParam, lParam) | DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (model_.WantTabs) code |= DLGC_WANTTAB;
    else code &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    // In a window run through IsDialogMessage, Enter would press the default button instead of
    // breaking the line.
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && !model_.ReadOnly)
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT TVellEdit::OnGetText(WPARAM capacity, char* buffer) const {
    if (buffer == nullptr || capacity == 0) return 0;
    const std::string text = model_.GetText();
    const std::size_t count = std::min<std::size_t>(capacity - 1, text.size());
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT TVellEdit::TextLength() const {
    const TVellStrings& lines = model_.Lines();
    std::uint64_t total = 0;
    for (int i = 0; i < lines.Count(); ++i) total += lines.Row(i).size();
    total -= std::min<std::uint64_t>(total, 2);  // the end marker
    return static_cast<LRESULT>(std::min<std::uint64_t>(total, INT_MAX));
}

LRESULT TVellEdit::OnLineLength(WPARAM rowParam) const {
    const TVellStrings& lines = model_.Lines();
    const auto row = static_cast<int>(rowParam);
    if (row < 0 || row >= lines.Count()) return 0;
    const std::string& text = lines.Row(row);
    return static_cast<LRESULT>(std::min(text.find('\0'), text.size()));
}

LRESULT TVellEdit::OnGetLine(WPARAM rowParam, LPARAM bufferParam) const {
    auto* buffer = reinterpret_cast<char*>(bufferParam);
    const TVellStrings& lines = model_.Lines();
    const auto row = static_cast<int>(rowParam);
    if (buffer == nullptr || row < 0 || row >= lines.Count()) return 0;
    WORD capacity = 0;
    std::memcpy(&capacity, buffer, sizeof capacity);
    const std::string& text = lines.Row(row);
    const std::size_t count = std::min<std::size_t>({text.find('\0'), text.size(), capacity});
    std::copy_n(text.data(), count, buffer);  // EM_GETLINE copies no terminating NUL
    return static_cast<LRESULT>(count);
}

LRESULT TVellEdit::OnGetSel(WPARAM anchorOut, LPARAM endOut) const {
    const RowPos anchor = model_.Anchor();
    const RowPos end = model_.SelEnd();
    // A column needs all 16 bits of its word: one beyond them cannot be told and is not guessed at.
    if (anchor.Col > 0xFFFF || end.Col > 0xFFFF) return -1;
    const auto pack = [](RowPos p) {
        return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.Col), static_cast<WORD>(std::min(p.Row, 32767))));
    };
    if (auto* out = reinterpret_cast<DWORD*>(anchorOut)) *out = pack(anchor);
    if (auto* out = reinterpret_cast<DWORD*>(endOut)) *out = pack(end);
    return static_cast<LRESULT>(std::min<std::size_t>(model_.SelectedText().size(), INT_MAX));
}

void TVellEdit::EndMouseCapture() {
    if (GetCapture() != Hwnd()) return;
    releasingCapture_ = true;
    ReleaseCapture();
    releasingCapture_ = false;
}

void TVellEdit::OnPaintMessage() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(Hwnd(), &ps);
    if (dc == nullptr) return;
    PaintContent(dc, ps.rcPaint);
    EndPaint(Hwnd(), &ps);

    const RECT client = ClientRect();
    const TVellEditModel& m = model_;
    const TVellLayout& layout = m.Layout();
    const bool whole = ps.rcPaint.left <= 0 && ps.rcPaint.top <= 0 && ps.rcPaint.right >= client.right &&
                       ps.rcPaint.bottom >= client.bottom;
    if (whole) RaiseUserDraw();
    if (m.OnUserClientDraw) {
        const int x2 = client.right;
        if (whole) {
            const int last = static_cast<int>(
                std::min<std::int64_t>(m.RowCount(), std::int64_t{m.TopRow()} + layout.RowsPerPage()) - 1);
            m.OnUserClientDraw(layout.TextLeft(), x2, m.TopRow(), last);
        } else {
            const int pitch = std::max(1, layout.LinePitch());
            const int first = m.TopRow() + std::max(0, static_cast<int>(ps.rcPaint.top) - layout.TopMargin()) / pitch;
            const int last = std::min(m.LastVisibleRow(),
                                      m.TopRow() + std::max(0, static_cast<int>(ps.rcPaint.bottom) - 1 - layout.TopMargin()) / pitch);
            m.OnUserClientDraw(layout.TextLeft(), x2, std::max(0, first - 1), last);
        }
    }
    if (whole && OnPaint) OnPaint();
}

LRESULT TVellEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == getCaretPosMessage_ && message != 0) {
        if (model_.CaretCol() > 0xFFFF) return -1;
        return MAKELONG(static_cast<WORD>(model_.CaretCol()), static_cast<WORD>(std::min(model_.CaretRow(), 32767)));
    }
    if (message == setCaretPosMessage_ && message != 0)
        return model_.MoveCaretTo(LOWORD(lParam), HIWORD(lParam)) ? 1 : 0;

    switch (message) {
        case WM_CREATE: {
            const LRESULT result = Window::HandleMessage(message, wParam, lParam);
            OnCreate();
            return result;
        }
        case WM_SIZE:
            model_.Resized(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETFOCUS:
            Window::HandleMessage(message, wParam, lParam);
            OnSetFocus();
            return 0;
        case WM_KILLFOCUS:
            Window::HandleMessage(message, wParam, lParam);
            OnKillFocus();
            return 0;
        case WM_DESTROY:
            if (timerRunning_) KillTimer(Hwnd(), kAutoScrollTimer);
            timerRunning_ = focused_ = false;
            if (caretExists_) DestroyCaret();
            caretExists_ = caretVisible_ = false;
            break;
        case WM_ERASEBKGND:
            return 0;
        case WM_PAINT:
            OnPaintMessage();
            return 0;
        case WM_PRINTCLIENT: {
            const RECT client = ClientRect();
            PaintContent(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_GETDLGCODE:
            return OnGetDlgCode(wParam, lParam);
        case WM_GETTEXT:
            return OnGetText(wParam, reinterpret_cast<char*>(lParam));
        case WM_GETTEXTLENGTH:
            return TextLength();
        case EM_GETLINECOUNT:
            return model_.RowCount();
        case EM_GETFIRSTVISIBLELINE:
            return model_.TopRow();
        case EM_LINELENGTH:
            return OnLineLength(wParam);
        case EM_GETLINE:
            return OnGetLine(wParam, lParam);
        case EM_GETSEL:
            return OnGetSel(wParam, lParam);
        case EM_SETSEL:
            model_.SetSel(LOWORD(wParam), HIWORD(wParam), HIWORD(lParam), LOWORD(lParam));
            return 0;
        case WM_COPY:
            CopyToClipboard();
            return 0;
        case WM_CUT:
            CutToClipboard();
            return 0;
        case WM_PASTE:
            PasteFromClipboard();
            return 0;
        case WM_CLEAR:
            if (!model_.ReadOnly) ClearAll();
            return 0;
        case WM_IME_STARTCOMPOSITION:
            model_.ImeStartComposition();
            break;
        case WM_IME_ENDCOMPOSITION:
            model_.ImeEndComposition();
            break;
        case WM_IME_COMPOSITION: {
            const LRESULT result = Window::HandleMessage(message, wParam, lParam);
            OnImeComposition(lParam);
            return result;
        }
        case WM_IME_CHAR:
            return 0;
        case WM_SYSCHAR:
            Window::HandleMessage(message, wParam, lParam);
            return 0;
        case WM_KEYDOWN:
            pendingLead_.reset();
            model_.KeyDown(static_cast<int>(wParam),
                           {.Ctrl = GetKeyState(VK_CONTROL) < 0,
                            .Shift = GetKeyState(VK_SHIFT) < 0,
                            .Convert = GetKeyState(VK_CONVERT) < 0,
                            .NonConvert = GetKeyState(VK_NONCONVERT) < 0});
            SwitchDragCursor();
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam != VK_MENU) break;
            if (model_.CaretScrollFix) model_.SetCaret(model_.CaretCol(), model_.CaretRow(), 0, true, false);
            return 0;
        case WM_KEYUP:
            model_.KeyUp();
            SwitchDragCursor();
            break;
        case WM_CHAR:
            Window::HandleMessage(message, wParam, lParam);
            OnChar(static_cast<unsigned char>(wParam & 0xFF));
            return 0;
        case WM_MOUSEWHEEL:
            model_.MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_VSCROLL:
            if (lParam != 0) break;  // a scroll bar control's, not ours
            return model_.VScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        case WM_HSCROLL:
            if (lParam != 0) break;
            model_.HScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return 0;
        case WM_LBUTTONDOWN:
            if (model_.Composing()) ime::CompleteComposition(Hwnd());
            SetCapture(Hwnd());
            model_.MouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_LBUTTONDBLCLK:
            // The button-down of a double click selects nothing of its own.
            model_.DoubleClick();
            model_.MouseDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_MOUSEMOVE:
            model_.MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP: {
            const bool dragged = model_.Dragging();
            model_.MouseUp((wParam & MK_CONTROL) != 0);
            EndMouseCapture();
            if (dragged) SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM)));
            return 0;
        }
        case WM_CAPTURECHANGED:
            // Capture taken away mid-selection ends the selection; a drag still waits for its drop.
            if (!releasingCapture_ && model_.MouseSelecting() && !model_.Dragging()) model_.MouseUp(false);
            return 0;
        case WM_RBUTTONDOWN:
            if (PopupMenu != nullptr) {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ClientToScreen(Hwnd(), &at);
                TrackPopupMenu(PopupMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, GetParent(Hwnd()), nullptr);
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                HCURSOR cursor = model_.Dragging() ? CursorOf(savedCursor_) : nullptr;
                SetCursor(cursor != nullptr ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM)));
                return TRUE;
            }
            break;
        case WM_TIMER:
            if (wParam == kAutoScrollTimer) {
                model_.AutoScrollTick();
                return 0;
            }
            break;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace cvt
