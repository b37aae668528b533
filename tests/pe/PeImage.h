// A PE32 or PE32+ file read from its bytes, without the system's loader, so
// that both builds' files can be checked on any host.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace cvt::pe {

inline constexpr uint16_t kMachineI386 = 0x014C;
inline constexpr uint16_t kMachineAmd64 = 0x8664;
inline constexpr uint16_t kMagicPe32 = 0x10B;
inline constexpr uint16_t kMagicPe32Plus = 0x20B;
inline constexpr uint16_t kSubsystemGui = 2;
inline constexpr uint16_t kFileDll = 0x2000;
inline constexpr uint16_t kDynamicBase = 0x0040;
inline constexpr uint16_t kNxCompat = 0x0100;
inline constexpr int kDirExport = 0, kDirImport = 1, kDirResource = 2, kDirBaseReloc = 5;

struct Import {
    std::string dll;
    std::string function;  // empty when imported by ordinal
    int ordinal = -1;      // -1 when imported by name
};

struct Header {
    uint16_t machine = 0;
    uint16_t characteristics = 0;
    uint16_t magic = 0;
    uint16_t majorSubsystem = 0, minorSubsystem = 0;
    uint16_t majorOs = 0, minorOs = 0;
    uint16_t subsystem = 0;
    uint16_t dllCharacteristics = 0;
};

struct DataDirectory {
    uint32_t rva = 0;
    uint32_t size = 0;
};

// Every read is bounds-checked: a damaged file gives empty answers, never a crash.
class Image {
public:
    explicit Image(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        Parse();
    }

    [[nodiscard]] bool Valid() const noexcept { return valid_; }
    [[nodiscard]] const Header& Headers() const noexcept { return header_; }
    [[nodiscard]] bool Is64() const noexcept { return header_.magic == kMagicPe32Plus; }
    [[nodiscard]] DataDirectory Directory(int index) const {
        return index < static_cast<int>(directories_.size()) ? directories_[static_cast<size_t>(index)] : DataDirectory{};
    }

    [[nodiscard]] std::vector<Import> Imports() const {
        std::vector<Import> imports;
        const DataDirectory dir = Directory(kDirImport);
        if (dir.rva == 0) return imports;
        for (uint32_t d = dir.rva;; d += 20) {  // IMAGE_IMPORT_DESCRIPTOR
            const auto lookup = U32(d), name = U32(d + 12), first = U32(d + 16);
            if (!name || *name == 0) break;
            const std::string dll = String(*name);
            const uint32_t thunkSize = Is64() ? 8 : 4;
            for (uint32_t t = (lookup && *lookup != 0) ? *lookup : first.value_or(0); t != 0; t += thunkSize) {
                const auto entry = Is64() ? U64(t) : (U32(t) ? std::optional<uint64_t>(*U32(t)) : std::nullopt);
                if (!entry || *entry == 0) break;
                const uint64_t ordinalFlag = Is64() ? (1ULL << 63) : (1ULL << 31);
                if (*entry & ordinalFlag) imports.push_back({dll, "", static_cast<int>(*entry & 0xFFFF)});
                else imports.push_back({dll, String(static_cast<uint32_t>(*entry) + 2), -1});  // past the hint
            }
        }
        return imports;
    }

    // Names in the export table and the number of exported functions.
    [[nodiscard]] std::vector<std::string> ExportNames(uint32_t* functionCount = nullptr) const {
        std::vector<std::string> names;
        const DataDirectory dir = Directory(kDirExport);
        if (dir.rva == 0) return names;
        if (functionCount != nullptr) *functionCount = U32(dir.rva + 20).value_or(0);
        const uint32_t count = U32(dir.rva + 24).value_or(0), table = U32(dir.rva + 32).value_or(0);
        for (uint32_t i = 0; i < count && i < 4096; ++i)
            if (const auto name = U32(table + 4 * i)) names.push_back(String(*name));
        return names;
    }

    // The data of a resource of this type and number; first language.
    [[nodiscard]] std::optional<std::vector<uint8_t>> Resource(uint32_t type, uint32_t id) const {
        return ResourceWhere(type, [&](uint32_t entry) { return U32(entry) == id; });
    }

private:
    void Parse() {
        const auto peAt = Raw32(0x3C);
        if (bytes_.size() < 2 || bytes_[0] != 'M' || bytes_[1] != 'Z' || !peAt) return;
        const uint32_t pe = *peAt;
        if (Raw32(pe) != 0x00004550u) return;  // "PE\0\0"
        const uint32_t file = pe + 4, optional = file + 20;
        header_.machine = Raw16(file).value_or(0);
        const uint16_t sections = Raw16(file + 2).value_or(0);
        const uint16_t optionalSize = Raw16(file + 16).value_or(0);
        header_.characteristics = Raw16(file + 18).value_or(0);
        header_.magic = Raw16(optional).value_or(0);
        if (header_.magic != kMagicPe32 && header_.magic != kMagicPe32Plus) return;
        header_.majorOs = Raw16(optional + 40).value_or(0);
        header_.minorOs = Raw16(optional + 42).value_or(0);
        header_.majorSubsystem = Raw16(optional + 48).value_or(0);
        header_.minorSubsystem = Raw16(optional + 50).value_or(0);
        header_.subsystem = Raw16(optional + 68).value_or(0);
        header_.dllCharacteristics = Raw16(optional + 70).value_or(0);
        const uint32_t directoryCountAt = optional + (Is64() ? 108 : 92);
        const uint32_t directoryCount = std::min<uint32_t>(Raw32(directoryCountAt).value_or(0), 16);
        for (uint32_t i = 0; i < directoryCount; ++i)
            directories_.push_back({Raw32(directoryCountAt + 4 + 8 * i).value_or(0), Raw32(directoryCountAt + 8 + 8 * i).value_or(0)});
        for (uint32_t s = 0, at = optional + optionalSize; s < sections; ++s, at += 40)
            sections_.push_back({Raw32(at + 12).value_or(0), std::max(Raw32(at + 8).value_or(0), Raw32(at + 16).value_or(0)),
                                 Raw32(at + 20).value_or(0)});
        valid_ = true;
    }

    template <typename Matches>
    std::optional<std::vector<uint8_t>> ResourceWhere(uint32_t type, Matches matches) const {
        const uint32_t root = Directory(kDirResource).rva;
        if (root == 0) return std::nullopt;
        const auto find = [&](uint32_t table, auto pick) -> std::optional<uint32_t> {
            const uint32_t entries = U16(table + 12).value_or(0) + U16(table + 14).value_or(0);
            for (uint32_t i = 0; i < entries && i < 4096; ++i) {
                const uint32_t entry = table + 16 + 8 * i;
                if (pick(entry)) return U32(entry + 4);
            }
            return std::nullopt;
        };
        const auto typeDir = find(root, [&](uint32_t entry) { return U32(entry) == type; });
        if (!typeDir || !(*typeDir & 0x80000000u)) return std::nullopt;
        const auto nameDir = find(root + (*typeDir & 0x7FFFFFFFu), matches);
        if (!nameDir || !(*nameDir & 0x80000000u)) return std::nullopt;
        const auto leaf = find(root + (*nameDir & 0x7FFFFFFFu), [](uint32_t) { return true; });
        if (!leaf || (*leaf & 0x80000000u)) return std::nullopt;
        const auto dataRva = U32(root + *leaf), size = U32(root + *leaf + 4);
        if (!dataRva || !size) return std::nullopt;
        const auto offset = Offset(*dataRva);
        if (!offset || *offset + static_cast<uint64_t>(*size) > bytes_.size()) return std::nullopt;
        return std::vector<uint8_t>(bytes_.begin() + *offset, bytes_.begin() + *offset + *size);
    }

    struct Section {
        uint32_t rva, size, rawOffset;
    };
    [[nodiscard]] std::optional<uint32_t> Offset(uint32_t rva) const {
        for (const Section& s : sections_)
            if (rva >= s.rva && rva - s.rva < s.size) return s.rawOffset + (rva - s.rva);
        return std::nullopt;
    }
    template <typename T>
    [[nodiscard]] std::optional<T> RawAt(uint64_t offset) const {
        if (offset + sizeof(T) > bytes_.size()) return std::nullopt;
        T value{};
        std::memcpy(&value, bytes_.data() + offset, sizeof(T));  // little-endian host
        return value;
    }
    [[nodiscard]] std::optional<uint16_t> Raw16(uint64_t offset) const { return RawAt<uint16_t>(offset); }
    [[nodiscard]] std::optional<uint32_t> Raw32(uint64_t offset) const { return RawAt<uint32_t>(offset); }
    template <typename T>
    [[nodiscard]] std::optional<T> At(uint32_t rva) const {
        const auto offset = Offset(rva);
        return offset ? RawAt<T>(*offset) : std::nullopt;
    }
    [[nodiscard]] std::optional<uint16_t> U16(uint32_t rva) const { return At<uint16_t>(rva); }
    [[nodiscard]] std::optional<uint32_t> U32(uint32_t rva) const { return At<uint32_t>(rva); }
    [[nodiscard]] std::optional<uint64_t> U64(uint32_t rva) const { return At<uint64_t>(rva); }
    [[nodiscard]] std::string String(uint32_t rva) const {
        std::string text;
        for (auto offset = Offset(rva); offset && *offset < bytes_.size() && bytes_[*offset] != 0 && text.size() < 512; ++*offset)
            text += static_cast<char>(bytes_[*offset]);
        return text;
    }

    std::vector<uint8_t> bytes_;
    bool valid_ = false;
    Header header_;
    std::vector<DataDirectory> directories_;
    std::vector<Section> sections_;
};

}  // namespace cvt::pe
