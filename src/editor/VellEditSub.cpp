// Double-byte text routines and line-break detection.
#include "editor/VellEditSub.h"

#include <fstream>
#include <vector>

namespace cvt {

namespace {

[[nodiscard]] bool IsRowEndByte(char c) noexcept { return c == '\r' || c == '\0'; }

}  // namespace

ByteType GetByteType(std::string_view s, std::ptrdiff_t position, bool singleByteMode,
                     LeadBytePredicate isLeadByte) noexcept {
    if (singleByteMode || position < 1 || static_cast<std::size_t>(position) > s.size()) return ByteType::Single;
    const auto at = [&](std::ptrdiff_t p) { return static_cast<unsigned char>(s[static_cast<std::size_t>(p - 1)]); };
    // A run of lead-byte values pairs up from its first byte, so count back to the nearest byte that cannot lead.
    std::ptrdiff_t j = position - 1;
    while (j > 0 && isLeadByte(at(j))) --j;
    if ((position - j) % 2 == 0) return ByteType::Trail;
    return isLeadByte(at(position)) ? ByteType::Lead : ByteType::Single;
}

bool HasRowEnd(std::string_view row) noexcept { return row.size() >= 2 && IsRowEndByte(row[row.size() - 2]); }

std::string StripRowEnd(std::string_view row) {
    return std::string(HasRowEnd(row) ? row.substr(0, row.size() - 2) : row);
}

std::string StripEndMarker(std::string_view row) {
    const bool marked = row.size() >= 2 && row[row.size() - 2] == '\0';
    return std::string(marked ? row.substr(0, row.size() - 2) : row);
}

LineBreakStyle DetectLineBreak(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) throw InOutError("ファイル \"" + fileName + "\" を開けません");
    // The whole file may be scanned: a CR LF file whose first line is long must still be seen as CR LF.
    std::vector<char> block(std::size_t{16} * 1024);
    bool anyRead = false;
    bool afterCr = false;
    for (;;) {
        file.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(file.gcount());
        if (got == 0) break;
        anyRead = true;
        for (std::size_t i = 0; i < got; ++i) {
            const char c = block[i];
            if (afterCr) return c == '\n' ? LineBreakStyle::CrLf : LineBreakStyle::Cr;
            if (c == '\n') return LineBreakStyle::Lf;
            if (c == '\0') return LineBreakStyle::Cr;
            if (c == '\r') afterCr = true;
        }
    }
    if (file.bad()) throw InOutError("ファイル \"" + fileName + "\" を読めません");
    return anyRead ? LineBreakStyle::Cr : LineBreakStyle::Empty;
}

}  // namespace cvt
