// Compatibility texts: the first OS layer, the display layers in order, the input layer.
#include "details/DetailText.h"

namespace cvt {

std::array<std::string, 3> CompatibilityTexts(const TCompatLayers& layers) {
    std::array<std::string, 3> texts;
    if (layers.NT4SP5) texts[0] = "Windows NT 4.0 (Service Pack 5)";
    else if (layers.Win2000) texts[0] = "Windows 2000";
    else if (layers.Win98) texts[0] = "Windows 98 / Windows Me";
    else if (layers.Win95) texts[0] = "Windows 95";
    if (layers.Res640x480) texts[1] += "解像度:640x480 ";
    if (layers.Color256) texts[1] += "色数:256色 ";
    if (layers.DisableThemes) texts[1] += "視覚テーマ:無効 ";
    if (layers.DisableCicero) texts[2] = "詳細なテキストサービス:無効";
    return texts;
}

}  // namespace cvt
