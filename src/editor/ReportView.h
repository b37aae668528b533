// What the Report page needs of the control that shows the process report; the editor provides it.
#pragma once
#include <string>
#include <string_view>

namespace cvt {

class ReportView {
public:
    virtual ~ReportView() = default;
    // Replaces the whole text; the view starts afresh with it (caret at the start, no undo).
    virtual void SetText(std::string_view text) = 0;
    // The whole text as the user has left it, edits included, byte for byte.
    [[nodiscard]] virtual std::string GetText() const = 0;
};

}  // namespace cvt
