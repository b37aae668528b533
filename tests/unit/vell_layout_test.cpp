// The editor's layout: metrics, gutter, tab expansion, column at x, wrapping and position conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "editor/VellEditSub.h"
#include "editor/VellLayout.h"

using namespace std::string_literals;
using cvt::ColumnHit;
using cvt::PhysicalPos;
using cvt::RowPos;
using cvt::TVellLayout;
using cvt::TVellStrings;
using Rows = std::vector<std::string>;

namespace {

// Every byte charWidth pixels wide, except 'W', which is wideWidth: a fixed-pitch font unless told.
class FakeMeasurer : public cvt::TextMeasurer {
public:
    int charWidth = 8;
    int wideWidth = 8;
    int height = 13;
    int TextWidth(std::string_view bytes) const override {
        std::int64_t w = 0;
        for (const char c : bytes) w += c == 'W' ? wideWidth : charWidth;
        return static_cast<int>(std::min<std::int64_t>(w, INT_MAX));
    }
    int AverageCharWidth() const override { return charWidth; }
    int CharHeight() const override { return height; }
};

const std::string Kana = "\x82\xa0";    // a double-byte character
const std::string Sjis5c = "\x95\x5c";  // its trail byte is a backslash
const std::string End("\0\0", 2);

Rows RowsOf(const TVellStrings& store) {
    Rows rows;
    for (int i = 0; i < store.Count(); ++i) rows.push_back(store.Get(i));
    return rows;
}

std::vector<std::size_t> Lengths(const Rows& rows) {
    std::vector<std::size_t> lengths;
    for (const auto& r : rows) lengths.push_back(r.size());
    return lengths;
}

// A layout over m, font measured, in a window of the given client size.
struct Fixture {
    FakeMeasurer m;
    TVellLayout layout{m, cvt::IsCp932LeadByte};
    explicit Fixture(int clientWidth = 1000, int clientHeight = 500) {
        layout.MeasureFont();
        layout.InitGutter();
        layout.SetClientSize(clientWidth, clientHeight);
    }
    Rows Wrapped(const std::string& text) {
        TVellStrings store;
        store.SetText(text);
        return layout.Wrap(store);
    }
};

bool OnTrailByte(std::string_view row, int col) {
    return col > 0 && cvt::GetByteType(row, col + 1, false, cvt::IsCp932LeadByte) == cvt::ByteType::Trail;
}

}  // namespace

TEST(VellLayoutMetrics, FontLineSpacingAndPage) {
    Fixture f(400, 300);
    auto& l = f.layout;
    EXPECT_EQ(l.CharWidth(), 8);
    EXPECT_EQ(l.CharHeight(), 13);
    EXPECT_EQ(l.LinePitch(), 14);  // 13 + Round(1.3)
    EXPECT_EQ(l.MarkHeightTall(), 10);
    EXPECT_EQ(l.MarkHeightShort(), 3);
    EXPECT_EQ(l.MaxCols(), 2047);
    EXPECT_EQ(l.DoubleSpaceWidth(), 16);
    EXPECT_EQ(l.SpaceWidth(), 8);
    EXPECT_EQ(l.TextLeft(), 10);
    EXPECT_EQ(l.TextAreaWidth(), 390);
    EXPECT_EQ(l.TextAreaHeight(), 296);
    EXPECT_EQ(l.RowsPerPage(), 21);
    EXPECT_EQ(l.RowJump(), 5);
    EXPECT_EQ(l.HJump(), 78);
    EXPECT_EQ(l.CaretJump(), 10);
    l.SetCurSetMode(false);
    EXPECT_EQ(l.CaretJump(), 78);
    EXPECT_EQ(l.RowY(7, 5), 2 * 14 + 4);

    l.SetLineSpace(50);  // 6.5 rounds to even
    EXPECT_EQ(l.LinePitch(), 19);
    EXPECT_EQ(l.RowsPerPage(), 15);
    l.SetLineSpace(250);
    EXPECT_EQ(l.LineSpace(), 100);
    EXPECT_EQ(l.LinePitch(), 26);
    l.SetLineSpace(-3);
    EXPECT_EQ(l.LinePitch(), 13);
    l.SetLineSpace(7);
    l.SetLineSpaceUnit(cvt::TLineSizeUnit::uPixel);
    EXPECT_EQ(l.LinePitch(), 20);

    f.m.height = 15;
    l.SetLineSpaceUnit(cvt::TLineSizeUnit::uPercent);
    l.SetLineSpace(10);
    l.MeasureFont();
    EXPECT_EQ(l.LinePitch(), 17);  // 1.5 rounds to even
}

TEST(VellLayoutMetrics, WindowSmallerThanMarginsLeavesAnEmptyPage) {
    Fixture f(5, 2);
    EXPECT_EQ(f.layout.TextAreaWidth(), 0);
    EXPECT_EQ(f.layout.TextAreaHeight(), 0);
    EXPECT_EQ(f.layout.RowsPerPage(), 0);
    EXPECT_EQ(f.layout.RowJump(), 0);
    EXPECT_EQ(f.layout.HJump(), 0);
}

TEST(VellLayoutMetrics, ZeroSizedFontDividesNothingByZero) {
    Fixture f;
    f.m.charWidth = 0;
    f.m.height = 0;
    f.layout.MeasureFont();
    f.layout.SetClientSize(300, 200);
    EXPECT_EQ(f.layout.MaxCols(), 16383);
    EXPECT_EQ(f.layout.RowsPerPage(), 0);
    f.layout.SetAutoWrap(true);
    EXPECT_EQ(f.layout.FitRow(std::string(100, 'a')), 72);
}

TEST(VellLayoutMetrics, LimitsDoNotOverflow) {
    Fixture f;
    f.m.charWidth = 1 << 30;
    f.m.height = 1 << 30;
    auto& l = f.layout;
    l.SetShowLineNumber(true);
    l.SetLineSpace(100);
    l.MeasureFont();
    EXPECT_EQ(l.LinePitch(), INT_MAX);
    EXPECT_EQ(l.MarkHeightTall(), 255);
    EXPECT_EQ(l.MaxCols(), 0);
    l.SetLeftMargin(1000);
    l.SetTopMargin(1000);
    EXPECT_EQ(l.LeftMargin(), 30);
    l.InitGutter();
    EXPECT_EQ(l.GutterWidth(), 107);
    l.SetClientSize(INT_MAX, INT_MAX);
    EXPECT_EQ(l.TextAreaHeight(), INT_MAX - 30);
    EXPECT_EQ(l.RowsPerPage(), 0);
    EXPECT_TRUE(l.SizeGutter(INT_MAX));
    EXPECT_EQ(l.TextLeft(), INT_MAX);
    EXPECT_EQ(l.TextAreaWidth(), 0);
    EXPECT_EQ(l.RowY(INT_MAX, INT_MIN), INT_MAX);
    EXPECT_EQ(l.RowY(INT_MIN, INT_MAX), INT_MIN);
    EXPECT_EQ(l.ExpandedWidth("abc"), INT_MAX);
    l.SetColumn(INT_MAX);
    l.SetAutoWrap(true);
    EXPECT_EQ(l.FitRow(std::string(30, 'a')), 30);
}

TEST(VellLayoutGutter, WidensByTensAndNarrowsWithSpareDigits) {
    Fixture f(400, 300);
    auto& l = f.layout;
    l.SetShowLineNumber(true);
    l.InitGutter();  // Min(100, 5 × 8) + 7
    EXPECT_EQ(l.GutterWidth(), 47);
    EXPECT_EQ(l.TextLeft(), 57);
    EXPECT_EQ(l.TextAreaWidth(), 343);
    EXPECT_FALSE(l.SizeGutter(99999));  // 40 + 17 fits exactly
    EXPECT_TRUE(l.SizeGutter(100000));  // 65 needed
    EXPECT_EQ(l.TextLeft(), 67);
    EXPECT_EQ(l.GutterWidth(), 57);
    EXPECT_EQ(l.TextAreaWidth(), 333);
    EXPECT_FALSE(l.SizeGutter(100001));
    EXPECT_TRUE(l.SizeGutter(12345678));  // 81 needed
    EXPECT_EQ(l.TextLeft(), 87);
    EXPECT_FALSE(l.SizeGutter(12345679));
    EXPECT_TRUE(l.SizeGutter(1234567));  // 73 needed: 14 to spare is 1.5 digits
    EXPECT_EQ(l.TextLeft(), 77);
    EXPECT_FALSE(l.SizeGutter(1234567));
    EXPECT_TRUE(l.SizeGutter(12));  // never below the first width
    EXPECT_EQ(l.TextLeft(), 57);
    l.SetShowLineNumber(false);
    EXPECT_FALSE(l.SizeGutter(123456789));
}

TEST(VellLayoutGutter, NeverNarrowerThanTheRowCount) {
    Fixture f;
    f.m.charWidth = 4;
    f.layout.MeasureFont();
    f.layout.SetShowLineNumber(true);
    f.layout.SetLineNoColumn(0);
    f.layout.SetLeftMargin(9);
    f.layout.InitGutter();
    EXPECT_EQ(f.layout.TextLeft(), 20);
    // 16 + 9 + 7 = 32 needed: 40, which has 1.5 digits to spare but cannot lose 10 pixels.
    EXPECT_TRUE(f.layout.SizeGutter(1000));
    EXPECT_EQ(f.layout.TextLeft(), 40);
    EXPECT_FALSE(f.layout.SizeGutter(1000));
}

TEST(VellLayoutTabs, ExpandsToTabStopsCountingBytes) {
    Fixture f;
    auto& l = f.layout;
    EXPECT_EQ(l.ExpandTabs("a\tb"), "a     b");
    EXPECT_EQ(l.ExpandTabs("abcdef\tg"), "abcdef      g");
    EXPECT_EQ(l.ExpandTabs("\t\t"), std::string(12, ' '));
    EXPECT_EQ(l.ExpandTabs(Kana + "\tx"), Kana + "    x");
    EXPECT_EQ(l.ExpandedWidth("a\tb"), 7 * 8);
    l.SetTabCount(12);
    EXPECT_EQ(l.TabCount(), 8);
    EXPECT_EQ(l.ExpandTabs("abc\t"), "abc     ");
    l.SetTabCount(0);
    EXPECT_EQ(l.ExpandTabs("a\t\t"), "a  ");
}

TEST(VellLayoutTabs, PaintingVariantListsTabPositions) {
    Fixture f;
    std::vector<int> tabX{5, 5};
    EXPECT_EQ(f.layout.ExpandTabs("a\tbcdefgh\t", tabX), "a     bcdefgh     ");
    EXPECT_EQ(tabX, (std::vector<int>{8, 13 * 8, -1}));
    EXPECT_EQ(f.layout.ExpandTabs("none", tabX), "none");
    EXPECT_EQ(tabX, std::vector<int>{-1});

    const std::string many(150, '\t');
    EXPECT_EQ(f.layout.ExpandTabs(many, tabX), std::string(150 * 6, ' '));
    ASSERT_EQ(tabX.size(), 101u);
    EXPECT_EQ(tabX[99], 99 * 6 * 8);
    EXPECT_EQ(tabX[100], -1);
}

TEST(VellLayoutColumnAtX, HalvesOfCharactersAndTabs) {
    Fixture f;
    const auto& l = f.layout;
    const std::string row = "a" + Kana + "\tb\r\n";  // a [0,8] kana [8,24] tab [24,48] b [48,56]
    EXPECT_EQ(l.ColumnAtX(row, -5), (ColumnHit{0, 0}));
    EXPECT_EQ(l.ColumnAtX(row, 4), (ColumnHit{0, 0}));
    EXPECT_EQ(l.ColumnAtX(row, 5), (ColumnHit{1, 8}));
    EXPECT_EQ(l.ColumnAtX(row, 16), (ColumnHit{1, 8}));
    EXPECT_EQ(l.ColumnAtX(row, 17), (ColumnHit{3, 24}));
    EXPECT_EQ(l.ColumnAtX(row, 36), (ColumnHit{3, 24}));
    EXPECT_EQ(l.ColumnAtX(row, 37), (ColumnHit{4, 48}));
    EXPECT_EQ(l.ColumnAtX(row, 53), (ColumnHit{5, 56}));
    EXPECT_EQ(l.ColumnAtX(row, 5000), (ColumnHit{5, 56}));  // the terminator is not a column
    EXPECT_EQ(l.ColumnAtX("ab" + End, 15), (ColumnHit{2, 16}));
    EXPECT_EQ(l.ColumnX(row, 3), 24);
    EXPECT_EQ(l.ColumnX(row, 99), 56);
}

TEST(VellLayoutColumnAtX, NeverInsideADoubleByteCharacter) {
    Fixture f;
    // Trail bytes that are also lead-byte values or backslashes, among single bytes and TABs.
    const std::string row = Kana + "\x81\x81" + Sjis5c + "a\t" + Kana + "\x81\x81\x81\x81" + "z\r\n";
    const std::string_view text(row.data(), row.size() - 2);
    int lastCol = 0;
    for (int x = 0; x <= f.layout.ExpandedWidth(text) + 10; ++x) {
        const ColumnHit hit = f.layout.ColumnAtX(row, x);
        ASSERT_FALSE(OnTrailByte(text, hit.Col)) << "x " << x;
        ASSERT_EQ(hit.X, f.layout.ColumnX(row, hit.Col)) << "x " << x;
        ASSERT_GE(hit.Col, lastCol) << "x " << x;
        // The caret goes to the nearer edge of the character under x.
        const ColumnHit left = f.layout.ColumnAtX(row, hit.X);
        ASSERT_EQ(left.Col, hit.Col);
        lastCol = hit.Col;
    }
    EXPECT_EQ(lastCol, static_cast<int>(text.size()));
}

TEST(VellLayoutColumnAtX, SingleByteModeSplitsEveryByte) {
    Fixture f;
    f.layout.SetSingleByteMode(true);
    EXPECT_EQ(f.layout.ColumnAtX(Kana, 13), (ColumnHit{2, 16}));
    EXPECT_EQ(f.layout.ColumnAtX(Kana, 12), (ColumnHit{1, 8}));
}

TEST(VellLayoutWrap, CutsAtColumnKeepingCharactersAndTerminatorsWhole) {
    Fixture f;
    const std::string longLine(200, 'a');
    EXPECT_EQ(Lengths(f.Wrapped(longLine + "\r\nx" + End.substr(1))), (std::vector<std::size_t>{72, 72, 58, 3}));
    // A double-byte character at bytes 72-73 moves whole to the next row.
    const Rows straddle = f.Wrapped(std::string(71, 'a') + Kana + "bc\r\n");
    EXPECT_EQ(straddle, (Rows{std::string(71, 'a'), Kana + "bc\r\n"}));
    // The CR is one cell of its row.
    EXPECT_EQ(f.Wrapped(std::string(71, 'a') + "\r\n").size(), 1u);
    EXPECT_EQ(f.Wrapped(std::string(72, 'a') + "\r\n"), (Rows{std::string(72, 'a'), "\r\n"}));
    EXPECT_EQ(f.Wrapped(std::string(72, 'a') + End.substr(1)), (Rows{std::string(72, 'a'), End}));
    EXPECT_EQ(f.Wrapped(std::string(71, 'a') + End.substr(1)).size(), 1u);
}

TEST(VellLayoutWrap, ColumnCountsExpandedCells) {
    Fixture f;
    f.layout.SetColumn(5);
    EXPECT_EQ(f.layout.Column(), 10);
    EXPECT_EQ(f.Wrapped("ab\tcdefghijkl\r\n"), (Rows{"ab\tcdef", "ghijkl\r\n"}));
    EXPECT_EQ(f.Wrapped("\t\t\t\r\n"), (Rows{"\t", "\t", "\t\r\n"}));
}

TEST(VellLayoutWrap, AutoWrapFollowsTheWindowButNeverUnderTenCharacters) {
    Fixture f(10 + 204, 300);  // 25 characters and 4 pixels
    f.layout.SetAutoWrap(true);
    EXPECT_EQ(Lengths(f.Wrapped(std::string(60, 'a') + "\r\n")), (std::vector<std::size_t>{25, 25, 12}));
    f.layout.SetClientSize(10 + 50, 300);
    EXPECT_EQ(Lengths(f.Wrapped(std::string(25, 'a') + "\r\n")), (std::vector<std::size_t>{10, 10, 7}));
    f.layout.SetAutoWrap(false);
    EXPECT_EQ(f.Wrapped(std::string(25, 'a') + "\r\n").size(), 1u);
}

TEST(VellLayoutWrap, AutoWrapWithUnevenWidthsFillsTheRow) {
    Fixture f(10 + 300, 300);
    f.m.wideWidth = 20;
    f.layout.SetAutoWrap(true);
    std::mt19937 rng(7);
    std::string line;
    for (int i = 0; i < 400; ++i) line += "aW"[rng() % 2];
    const Rows rows = f.Wrapped(line + "\r\n");
    ASSERT_GT(rows.size(), 2u);
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        EXPECT_LE(f.layout.ExpandedWidth(rows[i]), 300) << i;
        EXPECT_GT(f.layout.ExpandedWidth(rows[i] + rows[i + 1][0]), 300) << i;
    }
}

TEST(VellLayoutWrap, UnwrapRestoresTextAndRowsKeepTheirShape) {
    std::mt19937 rng(20240611);
    const std::vector<std::string> pieces = {"a", "b", " ", "\t", Kana, Sjis5c, "\x81\x81", "W", "\r\n"};
    for (int round = 0; round < 60; ++round) {
        Fixture f(10 + 80 + static_cast<int>(rng() % 400), 300);
        f.m.wideWidth = round % 3 == 0 ? 19 : 8;
        f.layout.SetColumn(static_cast<int>(10 + rng() % 40));
        f.layout.SetTabCount(static_cast<int>(1 + rng() % 8));
        f.layout.SetAutoWrap(round % 2 == 1);
        std::string text;
        const int n = static_cast<int>(rng() % 300);
        for (int i = 0; i < n; ++i) text += pieces[rng() % pieces.size()];
        TVellStrings store;
        store.SetText(text + '\0');
        const Rows lines = RowsOf(store);
        const Rows wrapped = f.layout.Wrap(store);
        TVellStrings wrappedStore;
        wrappedStore.Assign(Rows(wrapped));
        EXPECT_EQ(cvt::Unwrap(wrappedStore), lines) << "round " << round;
        EXPECT_EQ(wrappedStore.GetText(), text);
        for (std::size_t i = 0; i < wrapped.size(); ++i) {
            const std::string& row = wrapped[i];
            const bool last = i + 1 == wrapped.size();
            EXPECT_EQ(row.size() >= 2 && row.substr(row.size() - 2) == End, last) << i;
            if (cvt::HasRowEnd(row)) continue;
            EXPECT_FALSE(row.empty());
            EXPECT_LE(f.layout.ExpandTabs(row).size(), static_cast<std::size_t>(f.layout.Column()));
            EXPECT_NE(cvt::GetByteType(row, static_cast<std::ptrdiff_t>(row.size()), false, cvt::IsCp932LeadByte),
                      cvt::ByteType::Lead)
                << "row " << i << " splits a character";
        }
    }
}

TEST(VellLayoutPositions, PhysicalAndRowPlacesRoundTrip) {
    Fixture f;
    f.layout.SetColumn(10);
    TVellStrings store;
    store.Assign(f.Wrapped(std::string(25, 'a') + "\r\n\r\n" + Kana + std::string(9, 'b') + "\r\nlast" + '\0'));
    ASSERT_EQ(Lengths(RowsOf(store)), (std::vector<std::size_t>{10, 10, 7, 2, 10, 3, 6}));
    // A place at a soft break stands at the start of the following row.
    EXPECT_EQ(cvt::PhysicalToRow(store, {0, 10}), (RowPos{1, 0}));
    EXPECT_EQ(cvt::PhysicalToRow(store, {0, 25}), (RowPos{2, 5}));
    EXPECT_EQ(cvt::PhysicalToRow(store, {2, 11}), (RowPos{5, 1}));
    EXPECT_EQ(cvt::RowToPhysical(store, {2, 3}), (PhysicalPos{0, 23}));
    EXPECT_EQ(cvt::RowToPhysical(store, {6, 4}), (PhysicalPos{3, 4}));
    // Places past a line, past the text or before it are clamped.
    EXPECT_EQ(cvt::PhysicalToRow(store, {0, 999}), (RowPos{2, 5}));
    EXPECT_EQ(cvt::PhysicalToRow(store, {9, 2}), (RowPos{6, 2}));
    EXPECT_EQ(cvt::PhysicalToRow(store, {-1, -1}), (RowPos{0, 0}));
    EXPECT_EQ(cvt::RowToPhysical(store, {99, 99}), (PhysicalPos{3, 6}));
    EXPECT_EQ(cvt::PhysicalToRow(TVellStrings{}, {3, 3}), (RowPos{0, 0}));

    for (int r = 0; r < store.Count(); ++r) {
        const std::string row = store.Get(r);
        const int end = static_cast<int>(row.size()) - (cvt::HasRowEnd(row) ? 2 : 1);
        for (int c = 0; c <= end; ++c)
            ASSERT_EQ(cvt::PhysicalToRow(store, cvt::RowToPhysical(store, {r, c})), (RowPos{r, c})) << r << "," << c;
    }
    const Rows lines = cvt::Unwrap(store);
    for (int line = 0; line < static_cast<int>(lines.size()); ++line)
        for (int o = 0; o + 2 <= static_cast<int>(lines[line].size()); ++o)
            ASSERT_EQ(cvt::RowToPhysical(store, cvt::PhysicalToRow(store, {line, o})), (PhysicalPos{line, o}));
}

TEST(VellLayoutRecut, EditsLeaveTheRowsOfAFullRewrap) {
    std::mt19937 rng(99);
    const std::vector<std::string> pieces = {"a", "\t", Kana, "xyz", std::string(30, 'q')};
    Fixture f;
    f.layout.SetColumn(12);
    TVellStrings store;
    store.Assign(f.Wrapped(std::string(40, 'a') + "\r\n" + std::string(50, 'b') + "\r\nc" + '\0'));
    for (int step = 0; step < 300; ++step) {
        RowPos caret{static_cast<int>(rng() % static_cast<unsigned>(store.Count())), 0};
        std::string row = store.Get(caret.Row);
        const std::size_t body = row.size() - (cvt::HasRowEnd(row) ? 2 : 0);
        auto col = body == 0 ? 0 : rng() % (body + 1);
        if (OnTrailByte(row, static_cast<int>(col))) --col;
        if (rng() % 3 == 0 && col < body) {  // delete one character
            const std::size_t len = cvt::IsCp932LeadByte(static_cast<unsigned char>(row[col])) ? 2 : 1;
            row.erase(col, len);
        } else {
            const std::string& add = pieces[rng() % pieces.size()];
            row.insert(col, add);
            col += add.size();
        }
        caret.Col = static_cast<int>(col);
        store.Put(caret.Row, row);
        const Rows lines = cvt::Unwrap(store);
        TVellStrings flat;
        flat.Assign(Rows(lines));
        const PhysicalPos place = cvt::RowToPhysical(store, caret);

        const int before = store.Count();
        const cvt::RecutResult result = f.layout.Recut(store, caret.Row, caret.Row, caret);
        EXPECT_EQ(store.Count() - before, result.NewRows - result.OldRows);
        ASSERT_EQ(RowsOf(store), f.layout.Wrap(flat)) << "step " << step;
        ASSERT_EQ(cvt::RowToPhysical(store, caret), place) << "step " << step;
        ASSERT_LT(caret.Col, static_cast<int>(store.Get(caret.Row).size()) + (cvt::HasRowEnd(store.Get(caret.Row)) ? -1 : 1));
    }
}

TEST(VellLayoutRecut, CaretAtASoftBreakMovesToTheNextRow) {
    Fixture f;
    f.layout.SetColumn(10);
    TVellStrings store;
    store.Assign(Rows{"aaaaaaaaa", "b\r\n", std::string("c") + End});
    RowPos caret{0, 9};
    store.Put(0, "aaaaaaaaaX");
    caret.Col = 10;
    const cvt::RecutResult result = f.layout.Recut(store, 0, 0, caret);
    EXPECT_EQ(RowsOf(store), (Rows{"aaaaaaaaaX", "b\r\n", std::string("c") + End}));
    EXPECT_EQ(caret, (RowPos{1, 0}));
    EXPECT_EQ(result.FirstRow, 0);
    EXPECT_EQ(result.OldRows, 2);
    EXPECT_EQ(result.NewRows, 2);

    // A row after the re-cut lines keeps its place in the text.
    store.Put(0, "aaaaaaaaaXYZWVUTSRQPONMLK");
    RowPos below{2, 1};
    f.layout.Recut(store, 0, 0, below);
    EXPECT_EQ(RowsOf(store), (Rows{"aaaaaaaaaX", "YZWVUTSRQP", "ONMLKb\r\n", std::string("c") + End}));
    EXPECT_EQ(below, (RowPos{3, 1}));
}

TEST(VellLayoutRecut, RowBeforeTheEditTakesBackWhatNowFits) {
    Fixture f;
    f.layout.SetColumn(10);
    TVellStrings store;
    store.Assign(f.Wrapped(std::string(9, 'a') + Kana + "b\r\n" + "c" + '\0'));
    ASSERT_EQ(RowsOf(store), (Rows{std::string(9, 'a'), Kana + "b\r\n", std::string("c") + End}));
    store.Put(1, "b\r\n");  // the double-byte character deleted
    RowPos caret{1, 0};
    const cvt::RecutResult result = f.layout.Recut(store, 1, 1, caret);
    EXPECT_EQ(RowsOf(store), (Rows{std::string(9, 'a') + "b", "\r\n", std::string("c") + End}));
    EXPECT_EQ(caret, (RowPos{0, 9}));
    EXPECT_EQ(result.FirstRow, 0);
}
