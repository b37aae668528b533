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
    EXPECT_EQ(l.MaxCols(), 2047);
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
    f.layout.SetColumn(10);  // a TAB's cells run to the next stop
    EXPECT_EQ(f.Wrapped("ab\tcdefghijkl\r\n"), (Rows{"ab\tcdef", "ghijkl\r\n"}));
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
