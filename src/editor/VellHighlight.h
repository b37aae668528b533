// Quote colouring and link underlining of the editor: which rows and bytes the painter marks.
#pragma once

#include <string_view>
#include <vector>

#include "base/LeadByte.h"
#include "editor/VellStrings.h"

namespace cvt {

// Bytes [Begin, End) of row Row, 0-based offsets into the row as stored (tabs not expanded);
// Begin < End <= the row's length without its row end.
struct LinkPiece {
    int Row = 0;
    int Begin = 0;
    int End = 0;
    friend bool operator==(const LinkPiece&, const LinkPiece&) = default;
};

// Whether the physical line holding row begins with one of the characters of inyostr, so that all
// its rows take the quote colour. Rows outside the store are not quoted. Whether quote colouring is
// on at all is the caller's test.
[[nodiscard]] bool IsQuotedRow(const TVellStrings& rows, int row, std::string_view inyostr, bool singleByteMode,
                               LeadBytePredicate isLeadByte);

// Links ("http://", "https:/", "mailto:", "mail:", any case) and "tag:" names to underline on rows
// firstRow..lastRow (clamped to the store), in row and byte order. Reading starts at the first row of
// firstRow's physical line, so that a link begun on an earlier row of that line carries on; only
// pieces on firstRow..lastRow are returned. Whether link highlighting is on at all is the caller's test.
[[nodiscard]] std::vector<LinkPiece> FindLinks(const TVellStrings& rows, int firstRow, int lastRow,
                                               bool singleByteMode, LeadBytePredicate isLeadByte);

}  // namespace cvt
