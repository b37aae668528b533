// The editor font measured by GDI on a memory DC, so widths are known before the window exists.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string_view>

#include "base/LeadByte.h"
#include "editor/TextMeasurer.h"

namespace cvt {

// The system's ANSI code page test, read once into a table: the editor asks for every byte it walks.
[[nodiscard]] bool AnsiLeadByte(unsigned char c) noexcept;

// Windows 9x measures and draws at most this many bytes in one call.
inline constexpr std::size_t kAnsiPieceBytes = 8192;
// End of the piece of bytes that starts at start: at most kAnsiPieceBytes long, never between the two
// bytes of a character.
[[nodiscard]] std::size_t AnsiPieceEnd(std::string_view bytes, std::size_t start) noexcept;

class GdiTextMeasurer final : public TextMeasurer {
public:
    GdiTextMeasurer();
    ~GdiTextMeasurer() override;
    GdiTextMeasurer(const GdiTextMeasurer&) = delete;  // owns a DC
    GdiTextMeasurer& operator=(const GdiTextMeasurer&) = delete;

    // The font stays the caller's; it must outlive its use here or be replaced first.
    void SetFont(HFONT font);

    [[nodiscard]] int TextWidth(std::string_view bytes) const override;
    [[nodiscard]] int AverageCharWidth() const override { return static_cast<int>(metrics_.tmAveCharWidth); }
    [[nodiscard]] int CharHeight() const override { return static_cast<int>(metrics_.tmHeight); }

private:
    HDC dc_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    TEXTMETRICA metrics_{};
};

}  // namespace cvt
