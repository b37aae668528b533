// The one-line English name of the running Windows, from a plain record of version facts.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace cvt {

// Which GetVersionExA call filled the record.
enum class VersionRecordPath {
    Extended,  // the 156-byte record: suite mask and product type are known
    Basic,     // only the 148-byte record: the edition comes from the registry
    Failed,    // both calls failed
};

inline constexpr uint32_t kPlatformWin32s = 0;
inline constexpr uint32_t kPlatformWindows = 1;  // 95/98/Me
inline constexpr uint32_t kPlatformNt = 2;

inline constexpr uint16_t kSuiteEnterprise = 0x0002;
inline constexpr uint16_t kSuiteDatacenter = 0x0080;
inline constexpr uint16_t kSuitePersonal = 0x0200;
inline constexpr uint16_t kSuiteBlade = 0x0400;

inline constexpr uint8_t kProductWorkstation = 1;
inline constexpr uint8_t kProductDomainController = 2;
inline constexpr uint8_t kProductServer = 3;

inline constexpr uint16_t kArchitectureItanium = 6;
inline constexpr uint16_t kArchitectureX64 = 9;

struct OsFacts {
    VersionRecordPath path = VersionRecordPath::Failed;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    uint32_t platformId = 0;
    std::string servicePack;  // szCSDVersion up to its NUL
    uint16_t suiteMask = 0;   // extended record only
    uint8_t productType = 0;  // extended record only
    // Read only on 5.2 (see ReadsVersion52Facts); elsewhere ignored.
    uint16_t processorArchitecture = 0;
    int serverR2Metric = 0;
    // ProductOptions "ProductType", read only on the basic path; nullopt when the key or value was unreadable.
    std::optional<std::string> productOptionsType;
    // Looked at only for "Service Pack 6" on major 4 (see ChecksHotfixQ246009).
    bool hotfixQ246009Present = false;
};

// Which optional facts a gatherer reads, so that it asks the system only what the name depends on.
[[nodiscard]] bool ReadsVersion52Facts(const OsFacts& facts);     // processor architecture and SM_SERVERR2
[[nodiscard]] bool ReadsProductOptions(const OsFacts& facts);
[[nodiscard]] bool ChecksHotfixQ246009(const OsFacts& facts);  // needs productOptionsType already filled

// "Unknown" when both version calls failed; empty for an unknown platform or
// an unreadable ProductOptions key on the basic path.
[[nodiscard]] std::string GetOSNameFrom(const OsFacts& facts);

}  // namespace cvt
