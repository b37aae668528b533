// The value that means "none" throughout the program: no remembered selection,
// a column kind a list does not show, or, as a row number, the selected row.
#pragma once

namespace cvt {

inline constexpr int kNone = 2147483647;

}  // namespace cvt
