// The editor model driven as the window drives it: text, caret moves, selection, editing and undo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/VellEditModel.h"
#include "support/EditorDriver.h"
#include "support/EditorFakes.h"

using namespace std::string_literals;
using cvt::KeyModifiers;
using cvt::RowPos;
using cvt::TVellEditModel;
namespace Key = cvt::VellKey;

namespace {

const std::string Hira = "\x82\xa0";   // a hiragana: class 0
const std::string Kanji = "\x88\x9f";  // a kanji: class 2

// A report-like editor: 8-pixel cells, 13-pixel rows (pitch 14), 640x400 client, no wrapping.
struct Editor {
    cvt::testing::FixedMeasurer font;
    cvt::testing::FakeView view;
    TVellEditModel model{font, cvt::IsCp932LeadByte, view};
    int changes = 0;
    std::vector<bool> modifyEvents;

    explicit Editor(bool wrap = false, int width = 640, int height = 400) {
        model.WindowCreated();
        model.Resized(width, height);
        model.SetWordWrap(wrap);
        model.OnChange = [this] { ++changes; };
        model.OnChangeModify = [this](bool m) { modifyEvents.push_back(m); };
    }
    void Key(int key, bool ctrl = false) {
        KeyModifiers m;
        m.Ctrl = ctrl;
        m.Shift = view.shift;
        model.KeyDown(key, m);
        model.KeyUp();
    }
    void Type(const std::string& text) {
        for (std::size_t i = 0; i < text.size();) {
            const bool lead = cvt::IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
            model.CharTyped(text.substr(i, lead ? 2 : 1), false);
            i += lead ? 2 : 1;
        }
    }
    std::string Text() const { return model.GetText(); }
    RowPos Caret() const { return {model.CaretRow(), model.CaretCol()}; }
};

TEST(VellEditModelCaret, WordMovesStopWhereTheCharacterClassChanges) {
    Editor e;
    e.model.SetText("abc?def\r\n" + Hira + Hira + Kanji + Kanji + "x");
    std::vector<int> stops;
    for (int i = 0; i < 3; ++i) {
        e.Key(Key::Right, true);
        stops.push_back(e.model.CaretCol());
    }
    EXPECT_EQ(stops, (std::vector<int>{3, 4, 7}));
    e.Key(Key::Right, true);  // over the line break
    EXPECT_EQ(e.Caret(), (RowPos{1, 0}));
    e.Key(Key::Right, true);
    EXPECT_EQ(e.model.CaretCol(), 4);
    e.Key(Key::Right, true);
    EXPECT_EQ(e.model.CaretCol(), 8);
    e.Key(Key::Left, true);
    EXPECT_EQ(e.model.CaretCol(), 4);
    e.Key(Key::Left);
    EXPECT_EQ(e.model.CaretCol(), 2);  // a whole double-byte character
}

TEST(VellEditModelEditing, UndoBufferKeepsTheNewestRecordsAndMarksLostHistory) {
    Editor e;
    e.model.UndoBuf = 10;
    e.Type("abcdefghij~");
    EXPECT_EQ(e.model.UndoList().Size(), 10u);
    EXPECT_TRUE(e.model.UndoTruncated());
    for (int i = 0; i < 12; ++i) e.Key(Key::Z, true);
    EXPECT_EQ(e.Text(), "a");
    EXPECT_TRUE(e.model.Modified());

    Editor p;
    p.model.UndoBuf = 10;
    p.Type("ab");
    p.view.clipboard = "01234567\r";  // a lone CR pastes as a line break: ten bytes, just recorded
    p.Key(Key::V, true);
    EXPECT_EQ(p.Text(), "ab01234567\r\n");
    EXPECT_FALSE(p.model.UndoList().Empty());
    p.Key(Key::Z, true);
    EXPECT_EQ(p.Text(), "ab");
    EXPECT_TRUE(p.model.Modified());
}

TEST(VellEditModelEditing, EnterCopiesLeadingBlanksBeforeTheCaret) {
    Editor e;
    e.model.AutoIndent = true;
    e.model.SetText("  \tabc");
    e.model.MoveCaretTo(6, 0);
    e.Key(Key::Return);
    EXPECT_EQ(e.Text(), "  \tabc\r\n  \t");
    EXPECT_EQ(e.Caret(), (RowPos{1, 3}));
    e.model.MoveCaretTo(1, 0);
    e.Key(Key::Return);
    EXPECT_EQ(e.Text(), " \r\n  \tabc\r\n  \t");
    e.Key(Key::Z, true);
    e.Key(Key::Z, true);
    EXPECT_EQ(e.Text(), "  \tabc");
}

TEST(VellEditModelRandom, TwentyThousandRandomStepsKeepEveryInvariant) {
    cvt::testing::EditorDriver driver(20261206);
    for (int i = 0; i < 20000; ++i) driver.Step();
    EXPECT_EQ(driver.violations, 0) << (driver.firstViolations.empty() ? "" : driver.firstViolations.front());
    EXPECT_GT(driver.undoChecks, 20);
}

}  // namespace
