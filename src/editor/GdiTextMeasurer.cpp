// Text widths of the editor font through GetTextExtentPoint32A.
#include "editor/GdiTextMeasurer.h"

#include <array>
#include <climits>
#include <cstdint>

namespace cvt {

bool AnsiLeadByte(unsigned char c) noexcept {
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = IsDBCSLeadByte(static_cast<BYTE>(i)) != FALSE;
        return t;
    }();
    return table[c];
}

std::size_t AnsiPieceEnd(std::string_view bytes, std::size_t start) noexcept {
    if (bytes.size() - start <= kAnsiPieceBytes) return bytes.size();
    std::size_t end = start;
    while (end < bytes.size() && end - start < kAnsiPieceBytes - 1)
        end += AnsiLeadByte(static_cast<unsigned char>(bytes[end])) && end + 1 < bytes.size() ? 2 : 1;
    return end;
}

GdiTextMeasurer::GdiTextMeasurer() : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_ != nullptr) {
        originalFont_ = SelectObject(dc_, GetStockObject(SYSTEM_FIXED_FONT));
        GetTextMetricsA(dc_, &metrics_);
    }
}

GdiTextMeasurer::~GdiTextMeasurer() {
    if (dc_ == nullptr) return;
    SelectObject(dc_, originalFont_);
    DeleteDC(dc_);
}

void GdiTextMeasurer::SetFont(HFONT font) {
    if (dc_ == nullptr) return;
    SelectObject(dc_, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FIXED_FONT));
    if (!GetTextMetricsA(dc_, &metrics_)) metrics_ = TEXTMETRICA{};
}

int GdiTextMeasurer::TextWidth(std::string_view bytes) const {
    if (dc_ == nullptr || bytes.empty()) return 0;
    std::int64_t total = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = AnsiPieceEnd(bytes, start);
        SIZE size{};
        if (GetTextExtentPoint32A(dc_, bytes.data() + start, static_cast<int>(end - start), &size) && size.cx > 0)
            total += size.cx;
        if (total >= INT_MAX) return INT_MAX;
        start = end;
    }
    return static_cast<int>(total);
}

}  // namespace cvt
