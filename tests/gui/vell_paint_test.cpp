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

TEST(VellEditPaint, QuotedLinesAreGrayAndLinksBlueUnderlinedOutsideTheSelection) {
    EditorHost host;
    host.edit.SetText("> quoted line\r\nsee http://example.org/x now\r\nplain\r\n");
    Picture picture = Render(host.Hwnd());
    const RECT quoted = Band(Cells(host, 0, 0, 0), 0, 420);
    const RECT plain = Band(Cells(host, 2, 0, 0), 0, 420);
    EXPECT_GT(picture.Count(quoted, kGray), 10);
    EXPECT_EQ(picture.Count(quoted, kBlack), 0);
    EXPECT_GT(picture.Count(plain, kBlack), 10);
    EXPECT_EQ(picture.Count(plain, kGray), 0);

    // Bytes [4, 24) of row 1 are the link; its underline lies under it and nowhere else.
    RECT link = Cells(host, 1, 4, 24);
    link.bottom = link.top + host.edit.Model().Layout().LinePitch();
    EXPECT_EQ(picture.Count(link, kBlack), 0);
    EXPECT_EQ(picture.Count(Band(link, 0, link.left), kBlue), 0);
    EXPECT_EQ(picture.Count(Band(link, link.right, 420), kBlue), 0);
    EXPECT_GT(picture.Count(Band(link, link.right, 420), kBlack), 5);
    int longestRun = 0;
    for (int y = link.top; y < link.bottom; ++y)
        longestRun = std::max(longestRun, picture.Count({link.left, y, link.right, y + 1}, kBlue));
    EXPECT_GE(longestRun, (link.right - link.left) * 9 / 10);

    host.SetSel(1, 0, 1, 10);  // the selected part is selected text, the rest stays a link
    picture = Render(host.Hwnd());
    EXPECT_EQ(picture.Count(Cells(host, 1, 4, 10), kBlue), 0);
    EXPECT_GT(picture.Count(Cells(host, 1, 10, 24), kBlue), 10);
}

TEST(VellEditPaint, LineNumbersEndSevenPixelsLeftOfTheTextBesideTheSeparator) {
    EditorHost host([](TVellEdit& edit) { edit.Model().Layout().SetShowLineNumber(true); });
    std::string text;
    for (int i = 0; i < 12; ++i) text += "row\r\n";
    host.edit.SetText(text);
    const Picture picture = Render(host.Hwnd());
    const TVellLayout& layout = host.edit.Model().Layout();
    const int textLeft = layout.TextLeft();
    const auto tealSpan = [&](int row) {  // of the number, left of the separator
        const RECT cells = Cells(host, row, 0, 0);
        std::pair<int, int> span{INT_MAX, INT_MIN};
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = 0; x < textLeft - 4; ++x)
                if (picture.At(x, y) == kTeal) span = {std::min(span.first, x), std::max(span.second, x)};
        return span;
    };
    const auto one = tealSpan(0);
    const auto ten = tealSpan(9);
    for (const int right : {one.second, ten.second}) {
        EXPECT_LT(right, textLeft - 7);
        EXPECT_GE(right, textLeft - 7 - layout.DigitWidth());
    }
    EXPECT_LE(ten.first, one.first - layout.DigitWidth() / 2);  // the longer number grows leftwards
    const int bottom = Cells(host, 12, 0, 0).bottom;
    EXPECT_EQ(picture.Count({textLeft - 4, layout.TopMargin(), textLeft - 3, bottom}, kTeal), bottom - layout.TopMargin());
}

TEST(VellEditPaint, MarksForLineBreaksDoubleWidthSpacesAndTabs) {
    EditorHost host([](TVellEdit& edit) { edit.Model().ShowTAB = true; });
    host.edit.SetText("ab\r\na　b\tc\r\n");
    const Picture picture = Render(host.Hwnd());
    const TVellLayout& layout = host.edit.Model().Layout();
    // The return arrow's stem: one teal column from 0.2 to 0.8 of the character height.
    const RECT first = Cells(host, 0, 2, 2);
    const int stem = first.left + 4;
    EXPECT_EQ(picture.Count({stem, first.top + layout.MarkHeightShort(), stem + 1, first.top + layout.MarkHeightTall()}, kTeal),
              layout.MarkHeightTall() - layout.MarkHeightShort());
    // The dotted box's right edge, 3 pixels in from the double-width space's right: every second pixel.
    const RECT space = Cells(host, 1, 1, 3);
    EXPECT_EQ(picture.At(space.right - 3, space.top + 2), kTeal);
    EXPECT_EQ(picture.At(space.right - 3, space.top + 3), kWhite);
    EXPECT_EQ(picture.At(space.right - 3, space.top + 4), kTeal);
    // The tab's arrow: a teal line at half height from one pixel right of the tab's start.
    const int tab = Cells(host, 1, 4, 4).left + 1;
    const int middle = space.top + layout.DoubleSpaceHeight() / 2;
    EXPECT_EQ(picture.Count({tab, middle, tab + layout.SpaceWidth() - 2, middle + 1}, kTeal), layout.SpaceWidth() - 2);
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

// What a form hooks onto the painting: a full repaint raises all three hooks with the
// visible columns and rows; a partial one only the rows it repainted; a horizontal
// scroll the visible columns again.
TEST(VellEditPaint, UserDrawHooksSeeTheVisibleColumnsAndTheRepaintedRows) {
    struct Call {
        int a, b, c, d;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> userDraws, clientDraws;
    int paints = 0;
    EditorHost host([&](TVellEdit& edit) {
        edit.OnUserDraw = [&](int c1, int c2, int x1, int x2) { userDraws.push_back({c1, c2, x1, x2}); };
        edit.OnPaint = [&] { ++paints; };
        edit.Model().OnUserClientDraw = [&](int x1, int x2, int r1, int r2) {
            clientDraws.push_back({x1, x2, r1, r2});
        };
    });
    std::string text;
    for (int i = 0; i < 60; ++i) text += std::string(static_cast<size_t>(i) * 8, 'x') + "\r\n";
    host.edit.SetText(text);
    PumpMessages();
    const TVellLayout& layout = host.edit.Model().Layout();
    RECT window{}, client{};
    GetWindowRect(host.Hwnd(), &window);
    GetClientRect(host.Hwnd(), &client);
    const int width = window.right - window.left;
    const int x2 = width - (host.edit.Model().VertScrollBar ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const int lastRow = std::min(host.edit.Lines().Count(), layout.RowsPerPage()) - 1;
    const int visibleCols = static_cast<int>(std::nearbyint(static_cast<double>(width) / layout.CharWidth()));

    userDraws.clear(), clientDraws.clear(), paints = 0;
    InvalidateRect(host.Hwnd(), nullptr, FALSE);
    UpdateWindow(host.Hwnd());
    EXPECT_EQ(paints, 1);
    EXPECT_THAT(userDraws, ::testing::ElementsAre(Call{1, visibleCols, layout.TextLeft(), x2}));
    EXPECT_THAT(clientDraws, ::testing::ElementsAre(Call{layout.TextLeft(), client.right, 0, lastRow}));

    // Rows 3 and 4 alone: the row above is handed over too, for what reaches up into it.
    userDraws.clear(), clientDraws.clear(), paints = 0;
    RECT rows{0, layout.RowY(3, 0), client.right, layout.RowY(4, 0) + layout.LinePitch() - 1};
    InvalidateRect(host.Hwnd(), &rows, FALSE);
    UpdateWindow(host.Hwnd());
    EXPECT_EQ(paints, 0);
    EXPECT_TRUE(userDraws.empty());
    EXPECT_THAT(clientDraws, ::testing::ElementsAre(Call{layout.TextLeft(), client.right, 2, 4}));

    userDraws.clear();
    host.Send(WM_HSCROLL, SB_LINERIGHT);
    ASSERT_GT(host.edit.Model().HScrollPos(), 0);
    const double scrolled = static_cast<double>(host.edit.Model().HScrollPos()) / layout.CharWidth();
    const double shown = static_cast<double>(width) / layout.CharWidth();
    ASSERT_FALSE(userDraws.empty());
    EXPECT_EQ(userDraws.back(), (Call{std::max(1, static_cast<int>(std::nearbyint(scrolled))),
                                      static_cast<int>(std::nearbyint(scrolled + shown)), layout.TextLeft(), x2}));
}
