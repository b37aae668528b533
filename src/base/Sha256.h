// SHA-256 (FIPS 180-4) of our own: Windows 2000 has no provider for it and
// XP's is a prototype, yet it is the hash users look files up by.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cvt {

class Sha256 {
public:
    Sha256() noexcept { Reset(); }
    void Reset() noexcept;
    // Bytes may come in pieces of any size: a file is read in chunks.
    void Update(const void* data, size_t size) noexcept;
    // The digest of everything given since the last Reset; the object must be Reset before reuse.
    [[nodiscard]] std::array<uint8_t, 32> Final() noexcept;

private:
    void Block(const uint8_t* block) noexcept;

    std::array<uint32_t, 8> state_{};
    std::array<uint8_t, 64> pending_{};
    size_t pendingSize_ = 0;
    uint64_t totalBytes_ = 0;
};

// Lower-case hexadecimal digits of a digest of any length.
[[nodiscard]] std::string HexDigits(const uint8_t* bytes, size_t size);
[[nodiscard]] std::string Sha256Hex(std::string_view bytes);

}  // namespace cvt
