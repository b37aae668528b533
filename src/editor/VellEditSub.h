// Double-byte text routines and row ends shared by the editor's line store and model.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/LeadByte.h"

namespace cvt {

// A row ends a line with CR and one more byte (LF from the loaders); the last row ends with two NULs.
inline constexpr std::string_view LineBreak{"\r\n", 2};
inline constexpr std::string_view EndMarker{"\0\0", 2};

// A file or stream that could not be opened, read or written; what() names the file.
class InOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ByteType { Single = 0, Lead = 1, Trail = 2 };

// Type of the byte at 1-based position; Single outside the text or in single-byte mode.
[[nodiscard]] ByteType GetByteType(std::string_view s, std::ptrdiff_t position, bool singleByteMode,
                                   LeadBytePredicate isLeadByte) noexcept;

// At least two bytes and the second-to-last is CR or NUL; the last byte is not looked at.
[[nodiscard]] bool HasRowEnd(std::string_view row) noexcept;
// The row without its line break or end marker.
[[nodiscard]] std::string StripRowEnd(std::string_view row);
// The row without its end marker; a line break stays.
[[nodiscard]] std::string StripEndMarker(std::string_view row);

enum class LineBreakStyle { CrLf = 0, Cr = 1, Lf = 2, Empty = 3 };

// Style of the file's first line break, however far into the file it is; Cr when it has none.
[[nodiscard]] LineBreakStyle DetectLineBreak(const std::string& fileName);

}  // namespace cvt
