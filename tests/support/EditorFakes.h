// A window and a font for the editor model that need no platform: a fixed-pitch font and a view
// that keeps what it was asked to do, so tests and benchmarks can drive the model alone.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/TextMeasurer.h"
#include "editor/VellEditView.h"

namespace cvt::testing {

// Every byte charWidth pixels: a double-byte character is two cells, as in the report's font.
class FixedMeasurer : public TextMeasurer {
public:
    int charWidth = 8;
    int height = 13;
    int TextWidth(std::string_view bytes) const override {
        return static_cast<int>(std::min<std::int64_t>(static_cast<std::int64_t>(bytes.size()) * charWidth, INT_MAX));
    }
    int AverageCharWidth() const override { return charWidth; }
    int CharHeight() const override { return height; }
};

class FakeView : public VellEditView {
public:
    bool focused = true;
    bool shift = false;
    bool clipboardFails = false;
    std::optional<std::string> clipboard;
    std::vector<std::string> errors;
    int fullRepaints = 0;
    int rowRepaints = 0;
    int bandScrolls = 0;
    int drags = 0;
    ScrollBarState vert, horz;
    int caretX = 0, caretY = 0;
    bool caretShown = false;
    int underlinedRow = -1;

    bool HasFocus() const override { return focused; }
    bool ShiftDown() const override { return shift; }
    void TakeFocus() override { focused = true; }
    void RepaintAll() override { ++fullRepaints; }
    void RepaintRows(int, int) override { ++rowRepaints; }
    void RepaintRowFrom(int, int) override { ++rowRepaints; }
    void ScrollTextBand(int) override { ++bandScrolls; }
    void DrawUnderline(int row, bool draw) override { underlinedRow = draw ? row : -1; }
    void SetVertScrollBar(const ScrollBarState& s) override { vert = s; }
    void SetHorzScrollBar(const ScrollBarState& s) override { horz = s; }
    void SetHorzScrollPos(int pos) override { horz.pos = pos; }
    void PlaceCaret(int x, int y) override {
        caretX = x;
        caretY = y;
    }
    void ShowCaret(bool show) override { caretShown = show; }
    void SetClipboardText(std::string_view bytes) override {
        if (clipboardFails) throw std::runtime_error("Error:OC007");
        clipboard = std::string(bytes);
    }
    std::optional<std::string> ClipboardText() override { return clipboard; }
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
    void BeginDrag() override { ++drags; }
};

}  // namespace cvt::testing
