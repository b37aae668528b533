// Drives the editor model with seeded random input and checks its invariants after every step.
// The unit tests run a short drive; bench/fuzz-editor runs a long one and counts violations.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/LeadByte.h"
#include "editor/VellEditModel.h"
#include "editor/VellEditSub.h"
#include "support/EditorFakes.h"

namespace cvt::testing {

// What the model must keep true whatever it was asked to do; an empty answer means all held.
inline std::vector<std::string> CheckEditorInvariants(const TVellEditModel& model) {
    std::vector<std::string> broken;
    const TVellStrings& lines = model.Lines();
    const int count = lines.Count();
    if (count < 1) return {"no rows"};
    for (int i = 0; i < count; ++i) {
        const std::string& row = lines.Row(i);
        const bool last = i == count - 1;
        const bool hasEnd = HasRowEnd(row);
        if (last) {
            if (row.size() < 2 || row.compare(row.size() - 2, 2, EndMarker) != 0)
                broken.push_back("last row lacks the end marker");
            if (row.find('\0') != row.size() - 2) broken.push_back("NUL inside the last row");
        } else {
            if (row.find('\0') != std::string::npos) broken.push_back("NUL in row " + std::to_string(i));
            if (hasEnd && row.compare(row.size() - 2, 2, LineBreak) != 0)
                broken.push_back("row " + std::to_string(i) + " ends with a broken line break");
            if (!model.WordWrap() && !hasEnd) broken.push_back("unwrapped row " + std::to_string(i) + " has no row end");
            if (row.empty()) broken.push_back("empty row " + std::to_string(i));
        }
        if (row.find('\r') < row.size() - 2) broken.push_back("CR inside row " + std::to_string(i));
    }

    const int caretRow = model.CaretRow();
    if (caretRow < 0 || caretRow >= count) {
        broken.push_back("caret row outside the text");
        return broken;
    }
    const std::string& row = lines.Row(caretRow);
    const int limit = static_cast<int>(row.size()) - (HasRowEnd(row) ? 2 : 0);
    const int col = model.CaretCol();
    if (col < 0 || col > limit) broken.push_back("caret column outside its row's text");
    else if (col > 0 && GetByteType(row, col + 1, model.SingleByteMode(), IsCp932LeadByte) == ByteType::Trail)
        broken.push_back("caret on a trail byte");

    // The rows are exactly what cutting the whole text afresh gives.
    const std::vector<std::string> joined = Unwrap(lines);
    if (model.WordWrap()) {
        TVellStrings unwrapped;
        unwrapped.Assign(std::vector<std::string>(joined));
        const std::vector<std::string> fresh = model.Layout().Wrap(unwrapped);
        bool same = static_cast<int>(fresh.size()) == count;
        for (int i = 0; same && i < count; ++i) same = fresh[static_cast<std::size_t>(i)] == lines.Row(i);
        if (!same) broken.push_back("rows differ from a fresh wrap of the text");
    }

    // Row and physical places convert into each other.
    if (col >= 0 && col <= limit && (col < static_cast<int>(row.size()) || HasRowEnd(row))) {
        const PhysicalPos p = RowToPhysical(lines, {caretRow, col});
        const RowPos back = PhysicalToRow(lines, p);
        if (!(back == RowPos{caretRow, col}) && col != static_cast<int>(row.size()))
            broken.push_back("caret does not survive row/physical conversion");
    }
    if (model.TopRow() < 0 || model.TopRow() >= count) broken.push_back("top row outside the text");
    if (model.HScrollPos() < 0) broken.push_back("negative horizontal scroll");
    return broken;
}

class EditorDriver {
public:
    explicit EditorDriver(std::uint32_t seed) : random(seed) {
        model.WindowCreated();
        model.Resized(640, 400);
        model.SetWordWrap(false);
        StartSegment();
    }

    FixedMeasurer measurer;
    FakeView view;
    TVellEditModel model{measurer, IsCp932LeadByte, view};
    std::int64_t violations = 0;
    std::int64_t undoChecks = 0;
    std::vector<std::string> firstViolations;
    std::int64_t segmentStart = 0;  // the step whose text the undo check goes back to

    // One random action, then the invariants; every few hundred steps everything recorded is
    // undone and the text compared with the segment's start.
    [[nodiscard]] const std::string& LastAction() const noexcept { return lastAction; }

    void Step() {
        ++steps;
        Act();
        Check(CheckEditorInvariants(model));
        if (steps % 256 == 0) EndSegment();
    }

private:
    std::mt19937 random;
    std::int64_t steps = 0;
    std::string baseline;
    std::string lastAction;

    int Pick(int n) { return static_cast<int>(random() % static_cast<std::uint32_t>(n)); }

    void Check(const std::vector<std::string>& broken) {
        if (broken.empty()) return;
        ++violations;
        if (firstViolations.size() < 10)
            firstViolations.push_back("step " + std::to_string(steps) + " (" + lastAction + "): " + broken.front());
    }

    std::string RandomPiece() {
        static const char* const pieces[] = {"a", "Z", "0", " ", ",", "\t", "\x82\xa0", "\x88\x9f", "\x83\x41",
                                             "\x81\x40", "\xb1", "http://x.jp/", "tag:a.b", ">", "\x95\x5c"};
        return pieces[Pick(static_cast<int>(std::size(pieces)))];
    }

    std::string RandomText(int maxPieces) {
        std::string text;
        const int n = Pick(maxPieces + 1);
        for (int i = 0; i < n; ++i) {
            if (Pick(8) == 0) text += "\r\n";
            else text += RandomPiece();
        }
        return text;
    }

    void StartSegment() {
        model.SetText(RandomText(400));
        baseline = model.GetText();
        segmentStart = steps;
    }

    void EndSegment() {
        if (!model.UndoTruncated() && !model.ReadOnly) {
            model.ClearSelection();
            for (std::size_t guard = model.UndoList().Size() + 1; guard > 0 && !model.UndoList().Empty(); --guard)
                model.Undo();
            ++undoChecks;
            if (model.GetText() != baseline) Check({"undoing every change did not restore the text"});
        }
        StartSegment();
    }

    void Act() {
        view.shift = Pick(5) == 0;
        const int choice = Pick(100);
        lastAction = std::to_string(choice);
        static const int keys[] = {VellKey::Left, VellKey::Right, VellKey::Up, VellKey::Down, VellKey::Home,
                                   VellKey::End, VellKey::Prior, VellKey::Next, VellKey::Delete, VellKey::Back,
                                   VellKey::Return, VellKey::Tab, VellKey::Insert, VellKey::A, VellKey::C,
                                   VellKey::X, VellKey::V, VellKey::Z, VellKey::OemComma, VellKey::OemPeriod};
        if (choice < 40) {
            KeyModifiers m;
            m.Ctrl = Pick(4) == 0;
            m.Shift = view.shift;
            const int key = keys[Pick(static_cast<int>(std::size(keys)))];
            lastAction = "key " + std::to_string(key) + (m.Ctrl ? " ctrl" : "") + (m.Shift ? " shift" : "");
            model.KeyDown(key, m);
            model.KeyUp();
        } else if (choice < 60) {
            model.CharTyped(RandomPiece(), false);
        } else if (choice < 66) {
            const int x = Pick(700) - 20, y = Pick(420) - 10;
            model.MouseDown(x, y, view.shift);
            if (Pick(2) == 0) model.MouseMove(Pick(700) - 20, Pick(420) - 10);
            if (Pick(3) == 0) model.AutoScrollTick();
            model.MouseUp(Pick(2) == 0);
        } else if (choice < 70) {
            view.clipboard = RandomText(12);
            model.PasteFromClipboard();
        } else if (choice < 74) {
            model.Undo();
        } else if (choice < 76) {
            model.MouseWheel(Pick(2) == 0 ? 120 : -240);
        } else if (choice < 78) {
            model.VScroll(Pick(9), Pick(50));
        } else if (choice < 80) {
            model.HScroll(Pick(6), Pick(50));
        } else if (choice < 82) {
            model.SetWordWrap(!model.WordWrap());
        } else if (choice < 83) {
            model.SetColumn(8 + Pick(80));
        } else if (choice < 85) {
            model.MoveCaretTo(Pick(60), Pick(model.RowCount() + 2));
        } else if (choice < 87) {
            model.SetSel(Pick(40), Pick(model.RowCount()), Pick(model.RowCount()), Pick(40));
        } else if (choice < 88) {
            model.AutoIndent = !model.AutoIndent;
        } else if (choice < 89) {
            model.Resized(100 + Pick(700), 30 + Pick(500));
        } else if (choice < 90) {
            model.SetAutoWrap(!model.AutoWrap());
        } else if (choice < 91) {
            model.UndoBuf = Pick(4) == 0 ? 10 : 0xF8000;
        } else if (choice < 92) {
            model.ImeResult(RandomText(3));
        } else if (choice < 93) {
            EndSegment();
        } else {
            model.CharTyped(RandomPiece(), false);
        }
    }
};

}  // namespace cvt::testing
