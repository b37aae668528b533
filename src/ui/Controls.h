// Creation of the standard child controls the windows use, and their Tag values.
#pragma once
#include <windows.h>

namespace ui {

struct Bounds {
    int x, y, width, height;
};

// The program's user-interface font: a face at a size in points, Shift-JIS character set.
[[nodiscard]] HFONT CreatePointFont(const char* face, int points);

HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, DWORD exStyle,
                 Bounds bounds, int id, HFONT font);
HWND CreateButton(HWND parent, int id, const char* caption, Bounds bounds, HFONT font);
HWND CreateCheckBox(HWND parent, int id, const char* caption, Bounds bounds, HFONT font);
HWND CreateGroupBox(HWND parent, const char* caption, Bounds bounds, HFONT font);
enum class TextAlign { Left, Right, Center };
HWND CreateLabel(HWND parent, const char* text, Bounds bounds, HFONT font, TextAlign align = TextAlign::Left);
// Grows a label to its text in its font (never shrinks it), so that no font
// substitute clips what was laid out for another font's widths.
void FitLabelToText(HWND label);

struct TrackBarRange {
    int minimum, maximum, position, lineSize, pageSize, tickFrequency;
};
HWND CreateTrackBar(HWND parent, int id, Bounds bounds, const TrackBarRange& range);

// Tag: a number that several controls sharing one handler are told apart by.
void SetControlTag(HWND control, int tag) noexcept;
[[nodiscard]] int ControlTag(HWND control) noexcept;

[[nodiscard]] bool IsChecked(HWND checkBox) noexcept;
void SetChecked(HWND checkBox, bool checked) noexcept;

}  // namespace ui
