// Texts of the detail window's compatibility rows.
#pragma once
#include <array>
#include <string>

#include "details/FileInfoText.h"

namespace cvt {

// Rows "互換:OS", "互換:ﾃﾞｨｽﾌﾟﾚｲ設定" and "互換:入力設定"; every display piece keeps its trailing blank.
[[nodiscard]] std::array<std::string, 3> CompatibilityTexts(const TCompatLayers& layers);

}  // namespace cvt
