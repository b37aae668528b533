// Display texts of a file's facts.
#include "details/FileInfoText.h"

#include <array>
#include <utility>

namespace cvt {

namespace {

struct AttributeName {
    uint32_t bit;
    const char* text;
};

// The directory comes first although its bit is not the lowest.
constexpr std::array<AttributeName, 14> kAttributeNames{{
    {0x0010, "ﾃﾞｨﾚｸﾄﾘ"},
    {0x0001, "読み取り専用"},
    {0x0002, "隠しﾌｧｲﾙ"},
    {0x0004, "ｼｽﾃﾑﾌｧｲﾙ"},
    {0x0020, "ｱｰｶｲﾌﾞ"},
    {0x0040, "ﾃﾞﾊﾞｲｽ"},
    {0x0080, "属性無し"},
    {0x0100, "一時ﾌｧｲﾙ"},
    {0x0200, "ｽﾊﾟｰｽﾌｧｲﾙ"},
    {0x0400, "再解析ﾎﾟｲﾝﾄ関連済"},
    {0x0800, "圧縮済"},
    {0x1000, "ｵﾌﾗｲﾝ"},
    {0x2000, "ｲﾝﾃﾞｯｸｽｻｰﾋﾞｽ対象外"},
    {0x4000, "暗号化ﾌｧｲﾙ"},
}};

constexpr uint64_t kFourGiB = uint64_t{1} << 32;

}  // namespace

std::string FormatAttributes(uint32_t attributes) {
    std::string text;
    for (const AttributeName& name : kAttributeNames) {
        if ((attributes & name.bit) == 0) continue;
        if (!text.empty()) text += ", ";
        text += name.text;
    }
    return text;
}

std::string ComposeSizeText(uint64_t size, const ByteSizeFormatters& formatters) {
    const std::string decimal = std::to_string(size);
    std::string shortForm;
    if (size < kFourGiB) {
        if (formatters.format32) shortForm = formatters.format32(static_cast<uint32_t>(size));
    } else if (formatters.format64) {
        shortForm = formatters.format64(size);
    }
    if (shortForm.empty()) return decimal + "バイト";
    return shortForm + "（" + decimal + "バイト）";
}

std::string ComposeFileTimeText(std::optional<std::string_view> date, std::optional<std::string_view> time) {
    if (!date) return {};
    std::string text(*date);
    if (time) {
        text += "、";
        text += *time;
    }
    return text;
}

bool HasCompatLayerStore(uint32_t platformId, uint32_t major, uint32_t minor) noexcept {
    return platformId == 2 && major == 5 && minor == 1;
}

TCompatLayers ParseCompatLayers(std::string_view text) {
    TCompatLayers layers;
    if (text == "none") {
        layers.None = true;
        return layers;
    }
    const std::array<std::pair<bool TCompatLayers::*, std::string_view>, 8> tokens{{
        {&TCompatLayers::NT4SP5, "NT4SP5"},
        {&TCompatLayers::Win2000, "WIN2000"},
        {&TCompatLayers::Win98, "WIN98"},
        {&TCompatLayers::Win95, "WIN95"},
        {&TCompatLayers::Res640x480, "640X480"},
        {&TCompatLayers::Color256, "256COLOR"},
        {&TCompatLayers::DisableThemes, "DISABLETHEMES"},
        {&TCompatLayers::DisableCicero, "DISABLECICERO"},
    }};
    // A plain substring test: separators are not required around a token.
    for (const auto& [flag, token] : tokens) layers.*flag = text.find(token) != std::string_view::npos;
    return layers;
}

}  // namespace cvt
