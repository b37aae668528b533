// Reading values out of a version resource block.
#include "details/VersionBlock.h"

#include <cstdio>
#include <cstring>

namespace cvt {

std::optional<ByteSpan> ValueWithin(ByteSpan block, const void* value, size_t length) noexcept {
    if (value == nullptr || block.empty()) return std::nullopt;
    // Addresses as integers: the value may point anywhere if the block is broken.
    const auto begin = reinterpret_cast<uintptr_t>(block.data());
    const auto at = reinterpret_cast<uintptr_t>(value);
    if (at < begin || at - begin > block.size()) return std::nullopt;
    const size_t offset = at - begin;
    if (length > block.size() - offset) return std::nullopt;
    return block.subspan(offset, length);
}

std::optional<FixedFileInfoWords> ReadFixedFileInfo(ByteSpan value) noexcept {
    FixedFileInfoWords words{};
    if (value.size() < sizeof words) return std::nullopt;
    std::memcpy(words.data(), value.data(), sizeof words);
    return words;
}

std::optional<Translation> FirstTranslation(ByteSpan value) noexcept {
    if (value.size() < 4) return std::nullopt;
    // Little-endian words: the language, then the code page.
    Translation translation;
    translation.language = static_cast<uint16_t>(value[0] | (value[1] << 8));
    translation.codePage = static_cast<uint16_t>(value[2] | (value[3] << 8));
    return translation;
}

std::string StringFilePrefix(Translation translation) {
    char text[40];
    (void)std::snprintf(text, sizeof text, "\\StringFileInfo\\%4.4X%4.4X\\", unsigned{translation.language},
                  unsigned{translation.codePage});
    return text;
}

std::string TextWithin(ByteSpan bytes, LeadBytePredicate isLeadByte) {
    size_t end = 0;
    while (end < bytes.size() && bytes[end] != 0) {
        if (isLeadByte(bytes[end])) {
            if (end + 1 >= bytes.size() || bytes[end + 1] == 0) break;  // half a character
            ++end;
        }
        ++end;
    }
    return std::string(reinterpret_cast<const char*>(bytes.data()), end);
}

std::optional<std::string> TextValueWithin(ByteSpan block, const void* value, size_t length,
                                           LeadBytePredicate isLeadByte) {
    const std::optional<ByteSpan> checked = ValueWithin(block, value, length);
    if (!checked) return std::nullopt;
    const size_t offset = static_cast<size_t>(checked->data() - block.data());
    return TextWithin(block.subspan(offset), isLeadByte);
}

}  // namespace cvt
