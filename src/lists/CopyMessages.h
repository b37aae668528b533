// What the user is told after a copy to the clipboard, from whichever page.
#pragma once

namespace cvt {

inline constexpr char kCopiedMessage[] = "クリップボードにコピーしました。";
inline constexpr char kCopyFailedMessage[] = "クリップボードにコピーできませんでした。";

}  // namespace cvt
