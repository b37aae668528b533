// What the editor's layout needs from a font: the platform measures, the model only asks.
#pragma once

#include <string_view>

namespace cvt {

// One fixed editor font. Widths are pixels, never negative, and at most INT_MAX however long the text.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Width of the bytes as one run in the font, ANSI code page bytes as they are.
    [[nodiscard]] virtual int TextWidth(std::string_view bytes) const = 0;
    [[nodiscard]] virtual int AverageCharWidth() const = 0;
    [[nodiscard]] virtual int CharHeight() const = 0;
};

}  // namespace cvt
