// The report editor as a window: its messages, keys and characters, the IME, the clipboard,
// scrolling, the mouse, and its place on the Report page.
#include <windows.h>
#include <imm.h>
#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "VellEditHost.h"
#include "lists/CommandIds.h"
#include "ui/Clipboard.h"

using namespace cvt;
using namespace cvt::test;

namespace {

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

std::string RowByMessage(EditorHost& host, int row, WORD capacity = 200) {
    std::string buffer(std::max<WORD>(capacity, 2), '#');
    std::memcpy(buffer.data(), &capacity, sizeof capacity);
    return buffer.substr(0, static_cast<size_t>(host.Send(EM_GETLINE, static_cast<WPARAM>(row),
                                                          reinterpret_cast<LPARAM>(buffer.data()))));
}

DWORD WINAPI HoldClipboardUntilSignalled(void* release) {
    const BOOL opened = OpenClipboard(nullptr);
    WaitForSingleObject(static_cast<HANDLE>(release), 10000);
    if (opened) CloseClipboard();
    return 0;
}

}  // namespace

TEST(VellEditMessages, TextRowsAndClearAsTheEditMessagesGiveThem) {
    EditorHost host;
    host.edit.SetText("abc\r\nあい\r\n");
    EXPECT_EQ(host.Send(WM_GETTEXTLENGTH), 11);
    char small[6] = "#####";
    EXPECT_EQ(host.Send(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_EQ(std::string(small, 5), std::string("abc\0#", 5));  // nothing written past the capacity
    EXPECT_EQ(host.Send(EM_GETLINECOUNT), 3);
    EXPECT_EQ(host.Send(EM_LINELENGTH, 1), 6);
    EXPECT_EQ(RowByMessage(host, 1), "あい\r\n");
    EXPECT_EQ(RowByMessage(host, 1, 4), "あい");
    EXPECT_EQ(RowByMessage(host, 2), "");  // the end-marker row
    EXPECT_EQ(RowByMessage(host, 9), "");

    host.SetSel(0, 1, 0, 2);
    host.Send(WM_CLEAR);  // the whole text, not the selection
    EXPECT_EQ(host.Text(), "");
    EXPECT_EQ(host.Send(EM_GETLINECOUNT), 1);
    EXPECT_EQ(RowByMessage(host, 0), "");
}

TEST(VellEditMessages, CaretAndSelectionMessagesCapRowsStepOffTrailBytesAndRefuseWideColumns) {
    EditorHost host;
    host.edit.SetText("abc\r\nあいう\r\n" + Lines(40000));
    EXPECT_EQ(host.Send(host.edit.SetCaretPosMessage(), 0, MAKELONG(3, 1)), 0);
    EXPECT_EQ(host.Caret(), std::make_pair(1, 2));  // column 3 is the second byte of い
    EXPECT_EQ(host.Send(host.edit.SetCaretPosMessage(), 0, MAKELONG(0, 150)), 1);  // the view scrolled
    EXPECT_GT(host.Send(EM_GETFIRSTVISIBLELINE), 100);

    host.SetSel(5, 1, 39990, 2);
    DWORD anchor = 0, end = 0;
    EXPECT_EQ(host.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&end)),
              static_cast<LRESULT>(host.edit.Model().SelectedText().size()));
    EXPECT_EQ(anchor, static_cast<DWORD>(MAKELONG(1, 5)));
    EXPECT_EQ(end, static_cast<DWORD>(MAKELONG(2, 32767)));
    EXPECT_EQ(host.Caret(), std::make_pair(32767, 2));

    // A column past 16 bits cannot be packed: the answer says so and nothing is written.
    host.edit.SetText(std::string(70000, 'x'));
    host.Key(VK_END);
    anchor = end = 7;
    EXPECT_EQ(host.Send(host.edit.GetCaretPosMessage()), -1);
    EXPECT_EQ(host.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&anchor), reinterpret_cast<LPARAM>(&end)), -1);
    EXPECT_EQ(anchor + end, 14u);
}

TEST(VellEditInput, KeysAndCharactersIncludingDoubleByteOnesEditAtTheCaret) {
    EditorHost host;
    host.Type("ab\x01");  // control characters insert nothing
    host.Key(VK_RETURN);
    host.Type("c\x82\xa0");  // あ as its lead and trail byte
    EXPECT_EQ(host.Text(), "ab\r\ncあ");
    EXPECT_EQ(host.Caret(), std::make_pair(1, 3));
    host.Key(VK_HOME, false, true);
    EXPECT_EQ(host.edit.Model().SelectedText(), "cあ");
    host.Key(VK_BACK);
    host.Key(VK_BACK);
    host.Key(VK_TAB);
    host.Key(VK_LEFT);
    host.Key(VK_LEFT);
    host.Key(VK_DELETE);
    host.Key('Z', true);
    host.Key(VK_INSERT);  // overwrite mode
    host.Type("X");
    EXPECT_EQ(host.Text(), "aX\t");

    // Sent rather than queued, the trail comes as the next message; a lead without one is dropped.
    host.Key(VK_END);
    host.Send(WM_CHAR, 0x88);
    host.Send(WM_CHAR, 0x9f);
    host.Send(WM_CHAR, 0x82);
    host.Key(VK_END);
    host.Type("z");
    EXPECT_EQ(host.Text(), "aX\t\x88\x9fz");
    EditorHost::Hold(true, false);  // with Ctrl, characters are commands
    host.Type("q");
    EditorHost::Hold(false, false);
    EXPECT_EQ(host.Text(), "aX\t\x88\x9fz");
}

TEST(VellEditInput, ImeResultIsInsertedOnceAndTheCompositionWindowFollowsTheCaret) {
    EditorHost host;
    host.edit.SetText("ab\r\n");
    host.Key(VK_END);
    HIMC context = ImmGetContext(host.Hwnd());
    ASSERT_NE(context, nullptr);
    COMPOSITIONFORM form{};
    ASSERT_TRUE(ImmGetCompositionWindow(context, &form));
    EXPECT_EQ(form.dwStyle, static_cast<DWORD>(CFS_POINT));
    EXPECT_EQ(form.ptCurrentPos.x, host.PointOf(0, 2).x);
    LOGFONTA font{};
    ASSERT_TRUE(ImmGetCompositionFontA(context, &font));
    EXPECT_STREQ(font.lfFaceName, "ＭＳ ゴシック");
    // The wide form: Wine's narrow one halves the length it is given.
    ASSERT_TRUE(ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(L"かな"), 2 * sizeof(wchar_t), nullptr, 0));
    ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(host.Hwnd(), context);
    PumpMessages(100);
    EXPECT_EQ(host.Text(), "abかな\r\n");
    EXPECT_EQ(host.Caret(), std::make_pair(0, 6));
}

TEST(VellEditClipboard, CopyCutAndPasteGoThroughTheSystemClipboard) {
    EditorHost host;
    MessageLog messages;
    host.edit.SetText("abc\r\nあいう\r\n");
    ASSERT_TRUE(ui::SetClipboardText(host.Parent(), "before"));
    host.Send(WM_COPY);  // nothing selected
    EXPECT_EQ(ui::ClipboardText(host.Parent()), "before");
    host.SetSel(0, 1, 1, 4);
    host.Send(WM_COPY);
    EXPECT_EQ(ui::ClipboardText(host.Parent()), "bc\r\nあい");
    host.Send(WM_CUT);
    EXPECT_EQ(host.Text(), "aう\r\n");
    ASSERT_TRUE(ui::SetClipboardText(host.Parent(), "XY"));
    host.Key(VK_END);
    host.Key(VK_INSERT, false, true);  // Shift+Insert pastes
    EXPECT_EQ(host.Text(), "aうXY\r\n");

    // The clipboard's text ends at its first NUL.
    ASSERT_TRUE(OpenClipboard(host.Parent()));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(block), "12\0" "34", 6);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    host.Send(WM_PASTE);
    EXPECT_EQ(host.Text(), "aうXY12\r\n");

    // Held open by another thread, the clipboard cannot be had: the box says so and nothing changes.
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE holder = CreateThread(nullptr, 0, HoldClipboardUntilSignalled, release, 0, nullptr);
    Sleep(200);
    host.SetSel(0, 0, 0, 1);
    host.Send(WM_COPY);
    SetEvent(release);
    WaitForSingleObject(holder, 5000);
    CloseHandle(holder);
    CloseHandle(release);
    ASSERT_EQ(messages.Records().size(), 1u);
    EXPECT_EQ(messages.Records()[0].text, "Error:OC007");
    EXPECT_EQ(messages.Records()[0].kind, ui::MessageKind::Plain);
    EXPECT_EQ(ui::ClipboardText(host.Parent()), "12");
}

TEST(VellEditScrolling, WheelAndBothScrollBarsMoveTheView) {
    EditorHost host([](TVellEdit& edit) { edit.Model().HorzScrollBar = true; });
    host.edit.SetText(std::string(300, 'w') + "\r\n" + Lines(100));
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)));
    EXPECT_EQ(host.Send(EM_GETFIRSTVISIBLELINE), 2);  // two rows a notch
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)));
    EXPECT_EQ(host.Send(EM_GETFIRSTVISIBLELINE), 2);
    EXPECT_EQ(GetScrollPos(host.Hwnd(), SB_VERT), 2);
    host.Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40));
    EXPECT_EQ(host.Send(EM_GETFIRSTVISIBLELINE), 40);
    host.Send(WM_VSCROLL, SB_PAGEDOWN);
    const TVellLayout& layout = host.edit.Model().Layout();
    EXPECT_EQ(host.Send(EM_GETFIRSTVISIBLELINE), 40 + layout.TextAreaHeight() / layout.LinePitch());
    host.Send(WM_VSCROLL, SB_TOP);
    host.Send(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(host.edit.Model().HScrollPos(), layout.HJump());
    EXPECT_EQ(GetScrollPos(host.Hwnd(), SB_HORZ), layout.HJump());

    // A text shorter than the page keeps its bar, disabled.
    host.edit.SetText("short");
    SCROLLBARINFO bar{sizeof bar};
    ASSERT_TRUE(GetScrollBarInfo(host.Hwnd(), OBJID_VSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    EXPECT_TRUE(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

TEST(VellEditMouse, DraggingSelectsTheMarginTakesWholeRowsAndSelectionsMoveOrCopy) {
    EditorHost host;
    host.edit.SetText("abc\r\ndef\r\nghi\r\n");
    host.Mouse(WM_LBUTTONDOWN, host.PointOf(0, 1));
    EXPECT_EQ(GetCapture(), host.Hwnd());
    host.Mouse(WM_MOUSEMOVE, host.PointOf(1, 2), MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, host.PointOf(1, 2));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(host.edit.Model().SelectedText(), "bc\r\nde");

    // Left of the text: the row with its line break; dragging down the margin adds whole rows.
    const int margin = host.edit.Model().Layout().TextLeft() - 6;
    host.Mouse(WM_LBUTTONDOWN, {margin, host.PointOf(1, 0).y});
    EXPECT_EQ(host.edit.Model().SelectedText(), "def\r\n");
    for (const int row : {2, 3}) host.Mouse(WM_MOUSEMOVE, {margin, host.PointOf(row, 0).y}, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, {margin, host.PointOf(3, 0).y});
    EXPECT_EQ(host.edit.Model().SelectedText(), "def\r\nghi\r\n");

    // Pressed inside the selection, the button drags it; Ctrl shows the copy cursor and copies.
    host.SetSel(0, 0, 0, 2);
    host.Mouse(WM_LBUTTONDOWN, host.PointOf(0, 1));
    EXPECT_EQ(GetCursor(), TVellEdit::CursorOf(1));
    EditorHost::Hold(true, false);
    host.Send(WM_KEYDOWN, VK_CONTROL);
    EXPECT_EQ(GetCursor(), TVellEdit::CursorOf(2));
    EditorHost::Hold(false, false);
    host.Mouse(WM_MOUSEMOVE, host.PointOf(2, 3), MK_LBUTTON | MK_CONTROL);
    host.Mouse(WM_LBUTTONUP, host.PointOf(2, 3), MK_CONTROL);
    EXPECT_EQ(host.Text(), "abc\r\ndef\r\nghiab\r\n");
    host.SetSel(2, 3, 2, 5);
    host.Mouse(WM_LBUTTONDOWN, host.PointOf(2, 4));
    host.Mouse(WM_MOUSEMOVE, host.PointOf(0, 0), MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, host.PointOf(0, 0));
    EXPECT_EQ(host.Text(), "ababc\r\ndef\r\nghi\r\n");
}

TEST(VellEditMouse, SelectingBelowTheWindowScrollsOnTheTimerWhileFocused) {
    EditorHost host;
    host.edit.SetText(Lines(100));
    const POINT below{40, 300};
    host.Mouse(WM_LBUTTONDOWN, host.PointOf(2, 1));
    host.Mouse(WM_MOUSEMOVE, below, MK_LBUTTON);
    // The caret, 2 pixels wide and a character high, and the timer exist only while the editor is focused.
    SetFocus(host.Hwnd());
    GUITHREADINFO gui{sizeof gui};
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &gui));
    EXPECT_EQ(gui.hwndCaret, host.Hwnd());
    EXPECT_EQ(gui.rcCaret.right - gui.rcCaret.left, 2);
    EXPECT_EQ(gui.rcCaret.bottom - gui.rcCaret.top, host.edit.Model().Layout().CharHeight());
    const int start = host.edit.Model().SelEnd().Row;
    for (int waited = 0; waited < 1000 && host.edit.Model().SelEnd().Row == start; waited += 20) PumpMessages(20);
    EXPECT_GT(host.edit.Model().SelEnd().Row, start);
    SetFocus(host.Parent());
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &gui));
    EXPECT_NE(gui.hwndCaret, host.Hwnd());
    const int stopped = host.edit.Model().SelEnd().Row;
    PumpMessages(200);
    EXPECT_EQ(host.edit.Model().SelEnd().Row, stopped);

    // Each tick moves the caret at least a row further down, and the view once the caret is near its bottom.
    for (int tick = 0; tick < 25; ++tick) host.Send(WM_TIMER, TVellEdit::kAutoScrollTimer);
    host.Mouse(WM_LBUTTONUP, below);
    EXPECT_GT(host.Send(EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_GE(host.edit.Model().SelEnd().Row, stopped + 25);
    EXPECT_EQ(host.edit.Model().Anchor(), (RowPos{2, 1}));
}

TEST(VellEditProperties, BorderBarsAndFontChangedOnALiveWindowTakeEffect) {
    EditorHost host([](TVellEdit& edit) { edit.Model().VertScrollBar = false; });
    host.edit.SetText("abc");
    const auto style = [&] { return static_cast<DWORD>(GetWindowLongA(host.Hwnd(), GWL_STYLE)); };
    const auto exStyle = [&] { return static_cast<DWORD>(GetWindowLongA(host.Hwnd(), GWL_EXSTYLE)); };
    EXPECT_FALSE(style() & (WS_VSCROLL | WS_BORDER));
    host.edit.SetBorderStyle(TBorderStyle::bsSingle);
    EXPECT_TRUE(exStyle() & WS_EX_CLIENTEDGE);
    host.edit.SetCtl3D(false);
    EXPECT_TRUE(style() & WS_BORDER);
    EXPECT_FALSE(exStyle() & WS_EX_CLIENTEDGE);
    host.edit.SetVertScrollBarOn(true);
    EXPECT_TRUE(style() & WS_VSCROLL);
    RECT client{};
    GetClientRect(host.Hwnd(), &client);
    const TVellLayout& layout = host.edit.Model().Layout();
    EXPECT_EQ(layout.TextAreaWidth(), client.right - layout.TextLeft());

    const int before = layout.CharHeight();
    host.edit.SetFont({.Name = "ＭＳ ゴシック", .Height = -26, .CharSet = SHIFTJIS_CHARSET, .Color = 0});
    EXPECT_GE(layout.CharHeight(), before + 10);
    EXPECT_EQ(layout.RowsPerPage(), layout.TextAreaHeight() / layout.LinePitch());
    GUITHREADINFO gui{sizeof gui};
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &gui));
    EXPECT_EQ(gui.rcCaret.bottom - gui.rcCaret.top, layout.CharHeight());
}

TEST(VellEditReportPage, SedReportFillsThePageAndShowsTheReport) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    MessageLog messages;
    MainFormHost host(folder);
    TFrmCVT& form = host.Form();
    TVellEdit& sed = form.Report().SedReport();
    ASSERT_EQ(form.Control(cmd::SedReport), sed.Hwnd());
    EXPECT_EQ(sed.FontRecord().lfHeight, 13);
    EXPECT_FALSE(sed.Model().WordWrap());
    EXPECT_TRUE(GetWindowLongA(sed.Hwnd(), GWL_STYLE) & WS_HSCROLL);
    EXPECT_TRUE(GetWindowLongA(sed.Hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    const auto bounds = [&](HWND hwnd) {
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        MapWindowPoints(HWND_DESKTOP, form.PageWindow(kPageReport), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    const RECT before = bounds(sed.Hwnd());
    EXPECT_GE(before.top, 20);  // under the label
    EXPECT_LT(before.bottom, bounds(form.Control(cmd::BtnReportSave)).top);
    RECT window{};
    GetWindowRect(form.Hwnd(), &window);
    SetWindowPos(form.Hwnd(), nullptr, 0, 0, window.right - window.left + 50, window.bottom - window.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    const RECT after = bounds(sed.Hwnd());
    EXPECT_EQ(after.right - after.left, before.right - before.left + 50);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 30);

    // The report lands in the editor, and what the user changes there is what the button copies.
    SendMessageA(form.Control(cmd::BtnProcessSnapShot), BM_CLICK, 0, 0);
    PumpMessages();
    ASSERT_EQ(sed.GetText().rfind("[Process Report]\r\n", 0), 0u);
    SetFocus(sed.Hwnd());
    // Enter reaches the editor through the main window's dialog keys, not a default button.
    MSG enter{sed.Hwnd(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    if (!form.PreTranslateMessage(enter)) DispatchMessageA(&enter);
    EXPECT_EQ(sed.GetText().rfind("\r\n[Process Report]\r\n", 0), 0u);
    SendMessageA(form.Control(cmd::BtnReportClipboard), BM_CLICK, 0, 0);
    PumpMessages();
    EXPECT_EQ(ui::ClipboardText(form.Hwnd()), sed.GetText());
}
