// The report editor's painting, read back as pixels at places computed from its metrics.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "VellEditHost.h"

using namespace cvt;
using namespace cvt::test;

namespace {

constexpr COLORREF kTeal = RGB(0, 128, 128), kGray = RGB(128, 128, 128), kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kNavy = RGB(0, 0, 128);

// From the text's left edge at column from to column to, over the character cells of a row.
RECT Cells(EditorHost& host, int row, int from, int to) {
    const int top = host.edit.Model().Layout().RowY(row, host.edit.Model().TopRow());
    return {host.PointOf(row, from).x, top, host.PointOf(row, to).x, top + host.edit.Model().Layout().CharHeight()};
}

RECT Band(const RECT& cells, int left, int right) { return {left, cells.top, right, cells.bottom}; }

// Empty when both are the same; otherwise how many pixels differ and the first of them.
std::string Difference(const Picture& screen, const Picture& painted) {
    int count = 0;
    char first[96] = "";
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x)
            if (screen.At(x, y) != painted.At(x, y) && count++ == 0)
                std::snprintf(first, sizeof first, " first at (%d, %d): %06lx on the screen, %06lx painted whole", x, y,
                              screen.At(x, y), painted.At(x, y));
    return count == 0 ? "" : std::to_string(count) + " pixels differ," + first;
}

}  // namespace

TEST(VellEditPaint, EofFollowsTheTextAndSelectedSegmentsAreInvertedOnSelColor) {
    EditorHost host([](TVellEdit& edit) { edit.SetSelColor(kNavy); });
    host.edit.SetText("abcdef");
    const RECT text = Cells(host, 0, 0, 6);
    const RECT eof = Band(text, text.right, text.right + host.edit.Measurer().TextWidth("[EOF]"));
    Picture picture = Render(host.Hwnd());
    EXPECT_GT(picture.Count(eof, kTeal), 10);
    EXPECT_EQ(picture.Count(Band(text, 0, text.right), kTeal), 0);
    EXPECT_GT(picture.Count(text, kBlack), 10);

    host.SetSel(0, 2, 0, 4);  // normal [0, 2), selected [2, 4), normal [4, 6)
    picture = Render(host.Hwnd());
    const RECT selected = Cells(host, 0, 2, 4);
    EXPECT_GT(picture.Count(selected, kNavy), (selected.right - selected.left) * (selected.bottom - selected.top) / 2);
    EXPECT_GT(picture.Count(selected, kWhite), 5);
    EXPECT_EQ(picture.Count(selected, kBlack), 0);
    for (const RECT plain : {Cells(host, 0, 0, 2), Cells(host, 0, 4, 6)}) {
        EXPECT_EQ(picture.Count(plain, kNavy), 0);
        EXPECT_GT(picture.Count(plain, kBlack), 5);
    }

    // A row longer than one text output is drawn in pieces, each where its bytes stand.
    host.edit.SetText(std::string(8200, ' ') + "#");
    host.Key(VK_END);
    const RECT mark = Cells(host, 0, 8200, 8201);
    picture = Render(host.Hwnd());
    EXPECT_GT(picture.Count(mark, kBlack), 3);
    EXPECT_EQ(picture.Count(Band(mark, 0, mark.left), kBlack), 0);
    host.edit.SetText("abcdef");

    host.Key('A', true);  // the whole text is selected, its end mark never
    picture = Render(host.Hwnd());
    EXPECT_EQ(picture.Count(text, kBlack), 0);
    EXPECT_GT(picture.Count(eof, kTeal), 10);
    EXPECT_EQ(picture.Count(eof, kNavy), 0);
}

TEST(VellEditPaint, TheReturnArrowStandsRightAfterTheTextOfItsRow) {
    EditorHost host;
    host.edit.SetText("ab\r\n");
    const Picture picture = Render(host.Hwnd());
    const TVellLayout& layout = host.edit.Model().Layout();
    // Its stem: one teal column from 0.2 to 0.8 of the character height, in the cell after "ab".
    const RECT cell = Cells(host, 0, 2, 2);
    const int stem = cell.left + 4;
    EXPECT_EQ(picture.Count({stem, cell.top + layout.MarkHeightShort(), stem + 1, cell.top + layout.MarkHeightTall()}, kTeal),
              layout.MarkHeightTall() - layout.MarkHeightShort());
}

TEST(VellEditPaint, WhatChangesIsPaintedOnTheScreenAsAFullPaintWouldPaintIt) {
    EditorHost host([](TVellEdit& edit) {
        edit.Model().HorzScrollBar = true;
        edit.Model().ShowUnderLine = true;
    });
    std::string text = "> quote http://example.org/a/b\r\n\tタブ　と全角\r\n";
    for (int i = 0; i < 40; ++i) text += "行 " + std::to_string(i) + " mailto:x@example.org " + std::string(i * 3, 'w') + "\r\n";
    host.edit.SetText(text);
    const auto check = [&](const char* step) {
        PumpMessages();
        EXPECT_EQ(Difference(Screen(host.Hwnd()), Render(host.Hwnd())), "") << step;
    };
    check("first paint");
    host.SetSel(1, 2, 3, 5);
    check("selection set");
    host.Key(VK_DOWN, false, true);
    host.Key(VK_RIGHT, false, true);
    check("selection grown");
    host.Key(VK_UP, false, true);
    host.Key(VK_UP, false, true);
    check("selection shrunk");
    host.Key(VK_HOME);
    host.Type("typed あ");
    check("typing");
    const int underline = Cells(host, 2, 0, 0).bottom;  // the caret row's, across the window
    EXPECT_GT(Render(host.Hwnd()).Count({10, underline, 380, underline + 1}, kBlack), 360);
    host.Key(VK_BACK);
    host.Key(VK_BACK);
    check("backspace");
    host.Key(VK_END);
    host.Key(VK_DELETE);
    check("lines joined");
    host.Key(VK_RETURN);
    check("line broken");
    for (int i = 0; i < 4; ++i) host.Send(WM_HSCROLL, SB_LINERIGHT);
    check("scrolled right");
    host.Send(WM_HSCROLL, SB_PAGELEFT);
    check("scrolled left");
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)));
    check("wheel");
    host.Mouse(WM_LBUTTONDOWN, host.PointOf(6, 2));
    host.Mouse(WM_MOUSEMOVE, host.PointOf(8, 7), MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, host.PointOf(8, 7));
    check("mouse selection");
    host.Key('A', true);
    check("all selected");
    host.Key(VK_RIGHT);
    check("all deselected");
    host.Key(VK_END, true);
    for (int i = 0; i < 3; ++i) host.Key(VK_UP, false, true);
    host.Key(VK_DELETE);
    check("last rows deleted");
}
