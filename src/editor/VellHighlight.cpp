// Quote colouring and link underlining of the editor.
#include "editor/VellHighlight.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "editor/VellEditSub.h"

namespace cvt {

namespace {

constexpr std::size_t NotFound = std::string_view::npos;
// Enough of the next row to finish the longest prefix begun at the end of a row.
constexpr std::size_t LookAhead = 6;

[[nodiscard]] unsigned char Byte(char c) noexcept { return static_cast<unsigned char>(c); }

[[nodiscard]] bool IsUrlDelimiter(unsigned char c) noexcept {
    switch (c) {
    case '\t': case ' ': case '"': case '<': case '>': case '[': case ']':
    case '\\': case '`': case '{': case '}': case '|':
        return true;
    default:
        return false;
    }
}

// A blank does not end a tag name.
[[nodiscard]] bool IsTagDelimiter(unsigned char c) noexcept {
    switch (c) {
    case '\t': case '"': case '*': case ',': case '/': case ':': case ';':
    case '<': case '>': case '?': case '|':
        return true;
    default:
        return false;
    }
}

[[nodiscard]] std::size_t TextLength(std::string_view row) noexcept { return HasRowEnd(row) ? row.size() - 2 : row.size(); }

[[nodiscard]] int LineFirstRow(const TVellStrings& rows, int row) {
    while (row > 0 && !HasRowEnd(rows.Row(row - 1))) --row;
    return row;
}

// ASCII capitals only, and never the second byte of a double-byte character, whose code may be a capital.
void LowerInto(std::string_view row, std::string& out, bool singleByteMode, LeadBytePredicate isLeadByte) {
    out.assign(row);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = Byte(out[i]);
        if (!singleByteMode && isLeadByte(c)) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
}

enum class Pending { None, Url, TagWithoutDot, TagName };

// One row, lower-cased, with the start of the next row when it continues the same line.
class RowScan {
public:
    RowScan(std::string_view lowered, std::string_view nextHead, bool singleByteMode, LeadBytePredicate isLeadByte)
        : s(lowered), next(nextHead), len(TextLength(lowered)), single(singleByteMode), isLead(isLeadByte) {}

    [[nodiscard]] std::size_t Length() const noexcept { return len; }

    [[nodiscard]] bool LeadAt(std::size_t i) const noexcept { return !single && isLead(Byte(s[i])); }

    // Whether word stands at p of the row followed by the next row's start.
    [[nodiscard]] bool Matches(std::size_t p, std::string_view word) const noexcept {
        for (std::size_t k = 0; k < word.size(); ++k) {
            const std::size_t q = p + k;
            if (q < s.size()) {
                if (s[q] != word[k]) return false;
            } else if (q - s.size() >= next.size() || next[q - s.size()] != word[k]) {
                return false;
            }
        }
        return true;
    }

    [[nodiscard]] bool LinkAt(std::size_t p) const noexcept {
        return Matches(p, "http://") || Matches(p, "https:/") || Matches(p, "mailto:") || Matches(p, "mail:");
    }

    // A link runs to a delimiter or a double-byte character.
    [[nodiscard]] std::size_t UrlEnd(std::size_t i) const noexcept {
        while (i < len && !LeadAt(i) && !IsUrlDelimiter(Byte(s[i]))) ++i;
        return i;
    }

    // A tag name runs over double-byte characters whole: a second byte may have a delimiter's code.
    [[nodiscard]] std::size_t TagEnd(std::size_t i) const noexcept {
        while (i < len && !IsTagDelimiter(Byte(s[i]))) i += LeadAt(i) ? 2 : 1;
        return std::min(i, len);
    }

    [[nodiscard]] std::size_t DotFrom(std::size_t i) const noexcept {
        while (i < len) {
            if (LeadAt(i)) {
                i += 2;
            } else if (s[i] == '.') {
                return i;
            } else {
                ++i;
            }
        }
        return NotFound;
    }

private:
    std::string_view s;
    std::string_view next;
    std::size_t len;
    bool single;
    LeadBytePredicate isLead;
};

}  // namespace

bool IsQuotedRow(const TVellStrings& rows, int row, std::string_view inyostr, bool singleByteMode,
                 LeadBytePredicate isLeadByte) {
    if (row < 0 || row >= rows.Count() || inyostr.empty()) return false;
    // The first two bytes of the line's text; rows without text of their own do not hide it.
    std::string head;
    for (int r = LineFirstRow(rows, row); r < rows.Count() && head.size() < 2; ++r) {
        const std::string_view s = rows.Row(r);
        head.append(s.substr(0, std::min(TextLength(s), 2 - head.size())));
        if (HasRowEnd(s)) break;
    }
    if (head.empty()) return false;
    if (singleByteMode || !isLeadByte(Byte(head[0]))) head.resize(1);
    // Character by character, so that a single byte never matches half of a double-byte character.
    for (std::size_t i = 0; i < inyostr.size();) {
        const std::size_t n = !singleByteMode && isLeadByte(Byte(inyostr[i])) ? 2 : 1;
        if (inyostr.substr(i, n) == head) return true;
        i += n;
    }
    return false;
}

std::vector<LinkPiece> FindLinks(const TVellStrings& rows, int firstRow, int lastRow, bool singleByteMode,
                                 LeadBytePredicate isLeadByte) {
    std::vector<LinkPiece> pieces;
    const int count = rows.Count();
    const int first = std::max(firstRow, 0);
    const int last = std::min(lastRow, count - 1);
    if (first > last) return pieces;

    std::string lowered;
    std::string nextHead;
    Pending pending = Pending::None;
    for (int r = LineFirstRow(rows, first); r <= last; ++r) {
        const std::string_view row = rows.Row(r);
        const bool ends = HasRowEnd(row);
        LowerInto(row, lowered, singleByteMode, isLeadByte);
        nextHead.clear();
        if (!ends && r + 1 < count) {
            LowerInto(std::string_view(rows.Row(r + 1)).substr(0, LookAhead), nextHead, singleByteMode, isLeadByte);
        }
        const RowScan scan(lowered, nextHead, singleByteMode, isLeadByte);
        const std::size_t len = scan.Length();
        const auto mark = [&](std::size_t begin, std::size_t end) {
            if (begin < end && r >= first) pieces.push_back({r, static_cast<int>(begin), static_cast<int>(end)});
        };
        // What reaches the end of a row that continues its line goes on in the next row.
        const auto carry = [&](std::size_t end, Pending state) { return end >= len && !ends ? state : Pending::None; };

        std::size_t p = 0;
        switch (pending) {
        case Pending::None:
            break;
        case Pending::Url:
            p = scan.UrlEnd(0);
            mark(0, p);
            pending = carry(p, Pending::Url);
            break;
        case Pending::TagWithoutDot:
            if (const std::size_t dot = scan.DotFrom(0); dot != NotFound) {
                p = scan.TagEnd(dot);
                pending = carry(p, Pending::TagName);
            } else {
                p = len;
                pending = carry(p, Pending::TagWithoutDot);
            }
            mark(0, p);
            break;
        case Pending::TagName:
            p = scan.TagEnd(0);
            mark(0, p);
            pending = carry(p, Pending::TagName);
            break;
        }

        while (p < len) {
            if (scan.LeadAt(p)) {
                p += 2;
            } else if (scan.LinkAt(p)) {
                // The prefix may run on into the next row.
                const std::size_t end = scan.UrlEnd(std::min(p + 5, len));
                mark(p, end);
                pending = carry(end, Pending::Url);
                p = end;
            } else if (scan.Matches(p, "tag:")) {
                const std::size_t dot = scan.DotFrom(std::min(p + 4, len));
                const bool named = dot != NotFound;
                const std::size_t end = named ? scan.TagEnd(dot) : len;
                mark(p, end);
                pending = carry(end, named ? Pending::TagName : Pending::TagWithoutDot);
                p = end;
            } else {
                ++p;
            }
        }
    }
    return pieces;
}

}  // namespace cvt
