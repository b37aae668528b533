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

TEST(VellEditInput, KeysAndCharactersIncludingDoubleByteOnesEditAtTheCaret) {
    EditorHost host;
    host.Type("ab\x01");  // control characters insert nothing
    host.Key(VK_RETURN);
    host.Type("c\x81\x40");  // a full-width blank as its lead and trail byte, the lowest trail
    EXPECT_EQ(host.Text(), "ab\r\nc\x81\x40");
    EXPECT_EQ(host.Caret(), std::make_pair(1, 3));
    host.Key(VK_HOME, false, true);
    EXPECT_EQ(host.edit.Model().SelectedText(), "c\x81\x40");
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
    host.edit.Model().ReadOnly = true;
    host.Send(WM_PASTE);
    EXPECT_EQ(host.Text(), "aうXY12\r\n");
}
