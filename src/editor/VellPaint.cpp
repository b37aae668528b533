// Painting of the editor: rows with their selection segments and marks, quote colour and links,
// the area below the rows, the line numbers, the caret-row underline and the top margin.
// Nothing is erased beforehand, so every step covers its whole area.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/VellEdit.h"
#include "editor/VellEditSub.h"
#include "editor/VellHighlight.h"

namespace cvt {

namespace {

constexpr std::string_view kEofMark = "[EOF]";
constexpr std::string_view kDoubleSpace = "\x81\x40";

enum class RowEnd { None, LineBreak, EndMarker };

RowEnd RowEndOf(std::string_view row) noexcept {
    if (!HasRowEnd(row)) return RowEnd::None;
    return row[row.size() - 2] == '\r' ? RowEnd::LineBreak : RowEnd::EndMarker;
}

int Clamp(std::int64_t v) noexcept { return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

class VellPainter {
public:
    VellPainter(const TVellEdit& edit, HDC dc, const RECT& client)
        : edit_(edit), m_(edit.model_), layout_(m_.Layout()), lines_(m_.Lines()), dc_(dc), client_(client) {
        saved_ = SaveDC(dc_);
        SelectObject(dc_, edit_.plainFont_.Get());
        SetBkMode(dc_, OPAQUE);
        SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        top_ = m_.TopRow();
        pitch_ = std::max(1, layout_.LinePitch());
        textLeft_ = layout_.TextLeft();
        textRight_ = Clamp(std::int64_t{textLeft_} + layout_.TextAreaWidth());
        x0_ = Clamp(std::int64_t{textLeft_} - m_.HScrollPos());
    }
    ~VellPainter() {
        RestoreDC(dc_, saved_);
        for (const Pen& pen : pens_) DeleteObject(pen.handle);
    }
    VellPainter(const VellPainter&) = delete;
    VellPainter& operator=(const VellPainter&) = delete;

    void Paint(const RECT& area) {
        const int last = m_.LastVisibleRow();
        // Only the rows the area touches; the clip keeps the rest of the window as it is.
        const int first = Clamp(std::int64_t{top_} + std::max(0, static_cast<int>(area.top) - layout_.TopMargin()) / pitch_);
        const int lastTouched = std::min(
            last, Clamp(std::int64_t{top_} + std::max(0, static_cast<int>(area.bottom) - 1 - layout_.TopMargin()) / pitch_));
        if (first <= lastTouched) {
            if (m_.ColorPrintF) links_ = FindLinks(lines_, first, lastTouched, m_.SingleByteMode(), AnsiLeadByte);
            if (m_.Selecting()) selection_ = m_.Selection();
            for (int r = first; r <= lastTouched; ++r) PaintRow(r);
        }
        PaintBelowAndGutter(first, lastTouched);
        PaintUnderline(first, lastTouched);
        Fill({0, 0, client_.right, layout_.TopMargin()}, edit_.color_);
    }

private:
    struct Pen {
        COLORREF color;
        HPEN handle;
    };

    const TVellEdit& edit_;
    const TVellEditModel& m_;
    const TVellLayout& layout_;
    const TVellStrings& lines_;
    HDC dc_;
    RECT client_;
    int saved_ = 0;
    int top_ = 0, pitch_ = 1, textLeft_ = 0, textRight_ = 0, x0_ = 0;
    std::vector<LinkPiece> links_;
    std::optional<SelectionSpan> selection_;
    std::vector<Pen> pens_;

    [[nodiscard]] int Width(std::string_view s) const { return edit_.measurer_.TextWidth(s); }

    void Fill(const RECT& rect, COLORREF color) {
        if (rect.left >= rect.right || rect.top >= rect.bottom) return;
        SetBkColor(dc_, color);
        ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
    }

    // With a clip rectangle, the text is drawn into it and the rest of it filled with bg.
    void Text(int x, int y, const RECT* clip, std::string_view text, COLORREF fg, COLORREF bg) {
        if (clip != nullptr && (clip->left >= clip->right || clip->top >= clip->bottom)) return;
        SetTextColor(dc_, fg);
        SetBkColor(dc_, bg);
        if (clip != nullptr) ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, clip, "", 0, nullptr);
        // A long row goes out in pieces, and only the pieces that reach the clip at all.
        std::int64_t left = x;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = AnsiPieceEnd(text, start);
            const std::string_view piece = text.substr(start, end - start);
            const bool whole = piece.size() == text.size();
            const int width = whole ? 0 : Width(piece);
            if (whole || clip == nullptr || (left <= clip->right && left + width >= clip->left))
                ExtTextOutA(dc_, Clamp(left), y, clip != nullptr ? ETO_CLIPPED : 0, clip, piece.data(),
                            static_cast<UINT>(piece.size()), nullptr);
            if (whole) break;
            left += width;
            if (clip != nullptr && left > clip->right) break;
            start = end;
        }
    }

    void Line(int x1, int y1, int x2, int y2, COLORREF color) {
        SelectObject(dc_, PenOf(color));
        MoveToEx(dc_, x1, y1, nullptr);
        LineTo(dc_, x2, y2);
    }

    HPEN PenOf(COLORREF color) {
        for (const Pen& pen : pens_)
            if (pen.color == color) return pen.handle;
        pens_.push_back({color, CreatePen(PS_SOLID, 1, color)});
        return pens_.back().handle;
    }

    // ---- rows ----

    // The selected bytes [from, to) of a row; empty when none of it is selected.
    [[nodiscard]] std::pair<int, int> SelectedPart(int r, int size) const {
        if (m_.AllSelected()) return {0, size};
        if (!selection_) return {0, 0};
        if (r < selection_->Start.Row || r > selection_->End.Row) return {0, 0};
        const int from = r == selection_->Start.Row ? std::clamp(selection_->Start.Col, 0, size) : 0;
        const int to = r == selection_->End.Row ? std::clamp(selection_->End.Col, 0, size) : size;
        return {from, to};
    }

    void PaintRow(int r) {
        const std::string& row = lines_.Row(r);
        const int size = static_cast<int>(row.size());
        const int y = layout_.RowY(r, top_);
        const COLORREF rowColor =
            m_.ColorPrintF && IsQuotedRow(lines_, r, m_.Inyostr, m_.SingleByteMode(), AnsiLeadByte) ? edit_.inyoColor_
                                                                                                   : edit_.fontColor_;
        const auto [selFrom, selTo] = SelectedPart(r, size);
        if (selFrom >= selTo) {
            PaintWholeRow(r, row, y, rowColor);
            return;
        }
        PaintSegment(r, row, y, 0, selFrom, false, rowColor);
        PaintSegment(r, row, y, selFrom, selTo, true, rowColor);
        PaintSegment(r, row, y, selTo, size, false, rowColor);
    }

    [[nodiscard]] std::string Expand(std::string_view s, std::vector<int>& tabX) const {
        tabX.clear();
        return m_.ShowTAB ? layout_.ExpandTabs(s, tabX) : layout_.ExpandTabs(s);
    }

    void PaintWholeRow(int r, const std::string& row, int y, COLORREF rowColor) {
        std::vector<int> tabX;
        std::string shown = Expand(row, tabX);
        const RowEnd end = RowEndOf(row);
        if (end != RowEnd::None) shown.resize(shown.size() - 2);
        // One opaque output clears the rest of the row band as well.
        const RECT band{textLeft_ - 1, y, textRight_, y + pitch_};
        Text(x0_, y, &band, shown, rowColor, edit_.color_);
        const int xEnd = Clamp(std::int64_t{x0_} + Width(shown));
        if (end == RowEnd::EndMarker && m_.ShowEOF) Text(xEnd, y, nullptr, kEofMark, edit_.crEofColor_, edit_.color_);
        if (end == RowEnd::LineBreak && m_.ShowCR) ReturnArrow(xEnd, y, edit_.crEofColor_);
        Marks(shown, x0_, y, band, edit_.crEofColor_, tabX, INT_MIN);
        Links(r, row, shown, y, band);
    }

    // Bytes [from, to) of a row, selected or not; the part that reaches the row's end also draws its end.
    void PaintSegment(int r, const std::string& row, int y, int from, int to, bool selected, COLORREF rowColor) {
        if (from >= to) return;
        const std::string_view whole(row);
        std::vector<int> tabX;
        const std::string before = layout_.ExpandTabs(whole.substr(0, static_cast<std::size_t>(from)));
        const std::string upTo = Expand(whole.substr(0, static_cast<std::size_t>(to)), tabX);
        std::string_view text = std::string_view(upTo).substr(std::min(before.size(), upTo.size()));
        const RowEnd end = to >= static_cast<int>(row.size()) ? RowEndOf(row) : RowEnd::None;
        if (end != RowEnd::None) text.remove_suffix(std::min<std::size_t>(2, text.size()));
        const int beforeWidth = Width(before);
        const int leftX = Clamp(std::int64_t{x0_} + beforeWidth);
        const int rightX = Clamp(std::int64_t{leftX} + Width(text));
        const COLORREF marks = selected ? InvertColor(edit_.crEofColor_) : edit_.crEofColor_;
        const RECT box{std::max(leftX, textLeft_), y, rightX, y + pitch_};
        if (selected) {
            Text(leftX, y, &box, text, InvertColor(edit_.fontColor_), edit_.selColor_);
        } else {
            Text(leftX, y, &box, text, rowColor, edit_.color_);
        }
        Marks(text, leftX, y, box, marks, tabX, beforeWidth);
        if (!selected && HasLinks(r)) {
            std::string shown = layout_.ExpandTabs(row);
            if (RowEndOf(row) != RowEnd::None) shown.resize(shown.size() - 2);
            Links(r, row, shown, y, box);
        }
        if (to < static_cast<int>(row.size())) return;

        const int xEnd = rightX;
        if (end == RowEnd::LineBreak) {
            const int boxLeft = std::max(xEnd, textLeft_);
            const int boxRight = std::max(Clamp(std::int64_t{xEnd} + 8), textLeft_);
            Fill({boxLeft, y, boxRight, y + pitch_}, selected || m_.AllSelected() ? edit_.selColor_ : edit_.color_);
            if (m_.ShowCR) ReturnArrow(xEnd, y, marks);
            Fill({boxRight, y, textRight_, y + pitch_}, edit_.color_);
        } else if (end == RowEnd::EndMarker && m_.ShowEOF) {
            // The end of the text is never shown selected.
            const RECT rest{std::max(xEnd, textLeft_), y, textRight_, y + pitch_};
            Text(xEnd, y, &rest, kEofMark, edit_.crEofColor_, edit_.color_);
        } else {
            Fill({std::max(xEnd, textLeft_), y, textRight_, y + pitch_}, edit_.color_);
        }
    }

    void ReturnArrow(int xEnd, int y, COLORREF color) {
        const int h2 = layout_.MarkHeightShort();
        const int h8 = layout_.MarkHeightTall();
        Line(xEnd + 4, y + h2, xEnd + 4, y + h8, color);
        LineTo(dc_, xEnd + 1, y + h8 - 3);
        Line(xEnd + 4, y + h8, xEnd + 7, y + h8 - 3, color);
    }

    // Dotted boxes on double-width spaces and arrows on tabs; tabs left of minTabX belong to an earlier segment.
    void Marks(std::string_view text, int originX, int y, const RECT& clip, COLORREF color, const std::vector<int>& tabX,
               int minTabX) {
        if (m_.ShowDblSpace && !m_.SingleByteMode() && text.find(kDoubleSpace) != std::string_view::npos) {
            for (std::size_t i = 0; i + 1 < text.size(); ++i) {
                if (!AnsiLeadByte(static_cast<unsigned char>(text[i]))) continue;
                if (text.substr(i, 2) == kDoubleSpace) {
                    const int x = Clamp(std::int64_t{originX} + Width(text.substr(0, i + 2)));
                    if (x >= clip.left && std::int64_t{x} - layout_.DoubleSpaceWidth() <= clip.right)
                        DottedBox(x, y, color);
                }
                ++i;
            }
        }
        if (!m_.ShowTAB) return;
        for (const int t : tabX) {
            if (t < 0) break;
            if (t < minTabX) continue;
            const int x = Clamp(std::int64_t{t} - m_.HScrollPos() + textLeft_ + 1);
            const int x2 = Clamp(std::int64_t{x} + layout_.SpaceWidth());
            if (x2 < clip.left || x > clip.right) continue;
            const int xr = x2 - 2;
            const int ym = y + layout_.DoubleSpaceHeight() / 2;
            Line(x, ym, xr, ym, color);
            Line(xr, ym, xr - 3, ym - 3, color);
            Line(xr, ym, xr - 3, ym + 3, color);
        }
    }

    // Every second pixel of each edge, right, bottom, left, top, each edge without its last pixel.
    void DottedBox(int x, int y, COLORREF color) {
        const int right = x - 3;
        const int left = x - layout_.DoubleSpaceWidth() + 3;
        const int upper = y + 2;
        const int lower = y + layout_.DoubleSpaceHeight() - 2;
        const std::array<std::array<int, 4>, 4> edges{{{right, upper, right, lower},
                                                       {right, lower, left, lower},
                                                       {left, lower, left, upper},
                                                       {left, upper, right, upper}}};
        for (const auto& e : edges) {
            const int dx = e[2] > e[0] ? 1 : (e[2] < e[0] ? -1 : 0);
            const int dy = e[3] > e[1] ? 1 : (e[3] < e[1] ? -1 : 0);
            const int steps = std::max(std::abs(e[2] - e[0]), std::abs(e[3] - e[1]));
            for (int i = 0; i < steps; i += 2) SetPixelV(dc_, e[0] + dx * i, e[1] + dy * i, color);
        }
    }

    [[nodiscard]] bool HasLinks(int r) const {
        return std::any_of(links_.begin(), links_.end(), [r](const LinkPiece& piece) { return piece.Row == r; });
    }

    // Links of row r drawn again underlined, cut to clip.
    void Links(int r, const std::string& row, std::string_view shown, int y, const RECT& clip) {
        bool fontSwitched = false;
        for (const LinkPiece& piece : links_) {
            if (piece.Row != r) continue;
            int x1 = std::max<int>(textLeft_, Clamp(std::int64_t{x0_} + layout_.ColumnX(row, piece.Begin)));
            int x2 = Clamp(std::int64_t{x0_} + layout_.ColumnX(row, piece.End));
            x1 = std::max<int>(x1, clip.left);
            x2 = std::min<int>(x2, clip.right);
            if (x1 >= x2) continue;
            if (!fontSwitched) {
                SelectObject(dc_, edit_.underlineFont_.Get());
                fontSwitched = true;
            }
            // The underline is no part of the glyphs, and some systems draw it across the whole output
            // whatever the clip rectangle: only a clip region holds it to the piece.
            const RECT pieceRect{x1, y, x2, y + pitch_};
            const int saved = SaveDC(dc_);
            IntersectClipRect(dc_, x1, y, x2, y + pitch_);
            Text(x0_, y, &pieceRect, shown, edit_.urlColor_, edit_.color_);
            RestoreDC(dc_, saved);
        }
        if (fontSwitched) SelectObject(dc_, edit_.plainFont_.Get());
    }

    // ---- below the rows ----

    void PaintBelowAndGutter(int first, int last) {
        const int spacing = layout_.LinePitch() - layout_.CharHeight();
        const std::int64_t shownRows =
            std::clamp<std::int64_t>(std::min<std::int64_t>(layout_.RowsPerPage(), std::int64_t{lines_.Count()} - top_), 0,
                                     INT_MAX);
        const int below = Clamp(layout_.TopMargin() + shownRows * layout_.LinePitch() - spacing);
        Fill({0, below, client_.right, client_.bottom}, edit_.color_);
        if (first > last) return;
        const int gutterTop = std::max(layout_.TopMargin(), layout_.RowY(first, top_));
        const int gutterBottom = static_cast<int>(std::min<std::int64_t>(
            client_.bottom,
            (std::int64_t{last} - top_ + 1) * layout_.LinePitch() + layout_.TopMargin() - spacing));
        Fill({0, gutterTop, textLeft_, gutterBottom}, edit_.color_);
        if (!layout_.ShowLineNumber()) return;
        Line(textLeft_ - 4, layout_.TopMargin(), textLeft_ - 4, gutterBottom, edit_.crEofColor_);
        for (int r = first; r <= last; ++r) {
            const std::string number = std::to_string(std::int64_t{r} + 1);
            Text(textLeft_ - Width(number) - 7, layout_.RowY(r, top_), nullptr, number, edit_.crEofColor_, edit_.color_);
        }
    }

    void PaintUnderline(int first, int last) {
        const int row = edit_.underlinedRow_;
        if (row < 0 || row < first || row > last || m_.HasSelection() || m_.MouseSelecting()) return;
        const int y = Clamp((std::int64_t{row} - top_ + 1) * layout_.LinePitch() + layout_.TopMargin() -
                            (layout_.LinePitch() - layout_.CharHeight()));
        Line(layout_.LeftMargin(), y, client_.right, y, edit_.ulineColor_);
    }
};

void TVellEdit::PaintContent(HDC dc, const RECT& area) {
    if (dc == nullptr) return;
    VellPainter painter(*this, dc, ClientRect());
    painter.Paint(area);
}

}  // namespace cvt
