// Fills the version-facts record from GetVersionExA, kernel32, the metrics and the registry.
#include "sysinfo/OsNameWin32.h"

#include <windows.h>

#include <cstring>

#include "base/Handles.h"
#include "base/SystemLibrary.h"

namespace cvt {
namespace {

constexpr DWORD kExtendedRecordSize = 156;
constexpr DWORD kBasicRecordSize = 148;
static_assert(sizeof(OSVERSIONINFOEXA) == kExtendedRecordSize);
static_assert(sizeof(OSVERSIONINFOA) == kBasicRecordSize);

constexpr int kServerR2Metric = 89;  // SM_SERVERR2
constexpr DWORD kProductTypeBufferSize = 255;

UniqueRegKey OpenMachineKeyForQuery(const char* path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return {};
    return UniqueRegKey(raw);
}

std::optional<std::string> ReadProductOptionsType() {
    const UniqueRegKey key = OpenMachineKeyForQuery("SYSTEM\\CurrentControlSet\\Control\\ProductOptions");
    if (!key) return std::nullopt;
    char buffer[kProductTypeBufferSize] = {};
    DWORD size = sizeof buffer;
    // A longer value fails with ERROR_MORE_DATA, which counts as unreadable.
    if (RegQueryValueExA(key.Get(), "ProductType", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    // A stored value need not end in a NUL: never read beyond what was returned.
    return std::string(buffer, strnlen(buffer, size < sizeof buffer ? size : sizeof buffer));
}

uint16_t NativeProcessorArchitecture() {
    using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    // Absent before XP; the architecture then counts as neither Itanium nor x64.
    const auto getNativeSystemInfo =
        LookUpFunction<GetNativeSystemInfoFn>(GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo");
    if (getNativeSystemInfo == nullptr) return 0;
    SYSTEM_INFO info = {};
    getNativeSystemInfo(&info);
    return info.wProcessorArchitecture;
}

}  // namespace

OsFacts GatherOsFacts() {
    OsFacts facts;
    OSVERSIONINFOEXA version = {};
    auto* basic = reinterpret_cast<OSVERSIONINFOA*>(&version);
    version.dwOSVersionInfoSize = kExtendedRecordSize;
    if (GetVersionExA(basic)) {
        facts.path = VersionRecordPath::Extended;
    } else {
        version = {};
        version.dwOSVersionInfoSize = kBasicRecordSize;
        if (!GetVersionExA(basic)) return facts;
        facts.path = VersionRecordPath::Basic;
    }
    facts.major = version.dwMajorVersion;
    facts.minor = version.dwMinorVersion;
    facts.build = version.dwBuildNumber;
    facts.platformId = version.dwPlatformId;
    facts.servicePack.assign(version.szCSDVersion, strnlen(version.szCSDVersion, sizeof version.szCSDVersion));
    if (facts.path == VersionRecordPath::Extended) {
        facts.suiteMask = version.wSuiteMask;
        facts.productType = version.wProductType;
    }

    if (ReadsVersion52Facts(facts)) {
        facts.processorArchitecture = NativeProcessorArchitecture();
        facts.serverR2Metric = GetSystemMetrics(kServerR2Metric);
    }
    if (ReadsProductOptions(facts)) facts.productOptionsType = ReadProductOptionsType();
    if (ChecksHotfixQ246009(facts))
        facts.hotfixQ246009Present =
            static_cast<bool>(OpenMachineKeyForQuery("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009"));
    return facts;
}

std::string GetOSName() { return GetOSNameFrom(GatherOsFacts()); }

}  // namespace cvt
