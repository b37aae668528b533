// The one-line English name of the running Windows, from a plain record of version facts.
#include "sysinfo/OsName.h"

#include <string_view>

#include "base/AsciiText.h"

namespace cvt {
namespace {

bool IsVersion(const OsFacts& facts, uint32_t major, uint32_t minor) {
    return facts.major == major && facts.minor == minor;
}

bool HasSuite(const OsFacts& facts, uint16_t bit) { return (facts.suiteMask & bit) != 0; }

// The second character of szCSDVersion tells the 95/98 releases apart; a shorter text has none.
char SecondServicePackCharacter(const OsFacts& facts) {
    return facts.servicePack.size() >= 2 ? facts.servicePack[1] : '\0';
}

std::string WindowsFamilyName(const OsFacts& facts) {
    const char marker = SecondServicePackCharacter(facts);
    if (IsVersion(facts, 4, 0)) return (marker == 'B' || marker == 'C') ? "Windows 95 OSR2" : "Windows 95";
    if (IsVersion(facts, 4, 10)) return (marker == 'A' || marker == 'B') ? "Windows 98 Second Edition" : "Windows 98";
    if (IsVersion(facts, 4, 90)) return "Windows Millennium Edition";
    return "";
}

// Only 5.2 learns the architecture; 0 is neither Itanium nor x64.
uint16_t Architecture(const OsFacts& facts) {
    return ReadsVersion52Facts(facts) ? facts.processorArchitecture : 0;
}

std::string NtBaseName(const OsFacts& facts) {
    if (IsVersion(facts, 6, 0))
        return facts.productType == kProductWorkstation ? "Windows Vista" : "Windows Server \"Longhorn\"";
    if (IsVersion(facts, 5, 2)) {
        if (facts.serverR2Metric != 0) return "Windows Server 2003 \"R2\"";
        if (facts.productType == kProductWorkstation && Architecture(facts) == kArchitectureX64)
            return "Windows XP Professional x64 Edition";
        return "WIndows Server 2003";
    }
    if (IsVersion(facts, 5, 1)) return "Windows XP";
    if (IsVersion(facts, 5, 0)) return "Windows 2000";
    if (facts.major <= 4) return "Windows NT";
    return "";
}

std::string Server2003Edition(const OsFacts& facts) {
    switch (Architecture(facts)) {
    case kArchitectureItanium:
        if (HasSuite(facts, kSuiteDatacenter)) return " Datacenter Edition for Ianium-based Systems";
        if (HasSuite(facts, kSuiteEnterprise)) return " Enterprise Edition for Ianium-based Systems";
        return "";
    case kArchitectureX64:
        if (HasSuite(facts, kSuiteDatacenter)) return " Datacenter x64 Edition";
        if (HasSuite(facts, kSuiteEnterprise)) return " Enterprise x64 Edition";
        return " Standard x64 Edition";
    default:
        if (HasSuite(facts, kSuiteDatacenter)) return " Datacenter Edition";
        if (HasSuite(facts, kSuiteEnterprise)) return " Enterprise Edition";
        if (HasSuite(facts, kSuiteBlade)) return " Web Edition";
        return " Standard Edition";
    }
}

std::string ExtendedEdition(const OsFacts& facts) {
    if (facts.productType == kProductWorkstation) {
        if (Architecture(facts) == kArchitectureX64) return "";  // the base name already says it all
        if (facts.major == 4) return " Workstation 4.0";
        if (HasSuite(facts, kSuitePersonal)) return " Home Edhition";
        return " Professional";
    }
    if (facts.productType != kProductDomainController && facts.productType != kProductServer) return "";
    if (IsVersion(facts, 5, 2)) return Server2003Edition(facts);
    if (IsVersion(facts, 5, 0)) {
        if (HasSuite(facts, kSuiteDatacenter)) return " Datacenter Server";
        if (HasSuite(facts, kSuiteEnterprise)) return " Advanced Server";
        return " Server";
    }
    if (facts.major == 4) return HasSuite(facts, kSuiteEnterprise) ? " Server 4.0 Enterprise Edition" : " Server 4.0";
    return "";  // no server edition names for 5.1 or 6 and later
}

std::string BasicEdition(std::string_view productType, const OsFacts& facts) {
    std::string edition;
    if (AsciiEqualsIgnoringCase(productType, "WINNT")) edition = " Workstation";
    else if (AsciiEqualsIgnoringCase(productType, "LANMANNT")) edition = " Server";
    else if (AsciiEqualsIgnoringCase(productType, "SERVERNT")) edition = " Advanced Server";
    return edition + " " + std::to_string(facts.major) + "." + std::to_string(facts.minor);
}

bool IsServicePack6(const OsFacts& facts) {
    return facts.major == 4 && AsciiEqualsIgnoringCase(facts.servicePack, "Service Pack 6");
}

std::string ServicePackAndBuild(const OsFacts& facts) {
    const std::string build = " (Build " + std::to_string(facts.build & 0xFFFF) + ")";
    if (ChecksHotfixQ246009(facts) && facts.hotfixQ246009Present) return " Service Pack 6a" + build;
    return " " + facts.servicePack + build;
}

}  // namespace

bool ReadsVersion52Facts(const OsFacts& facts) {
    return facts.path != VersionRecordPath::Failed && facts.platformId == kPlatformNt && IsVersion(facts, 5, 2);
}

bool ReadsProductOptions(const OsFacts& facts) {
    return facts.path == VersionRecordPath::Basic && facts.platformId == kPlatformNt;
}

bool ChecksHotfixQ246009(const OsFacts& facts) {
    if (facts.platformId != kPlatformNt || !IsServicePack6(facts)) return false;
    if (facts.path == VersionRecordPath::Extended) return true;
    return facts.path == VersionRecordPath::Basic && facts.productOptionsType.has_value();
}

std::string GetOSNameFrom(const OsFacts& facts) {
    if (facts.path == VersionRecordPath::Failed) return "Unknown";
    switch (facts.platformId) {
    case kPlatformWin32s: return "Windows Win32s";
    case kPlatformWindows: return WindowsFamilyName(facts);
    case kPlatformNt: break;
    default: return "";
    }
    std::string name = NtBaseName(facts);
    if (facts.path == VersionRecordPath::Extended) {
        name += ExtendedEdition(facts);
    } else {
        if (!facts.productOptionsType) return "";
        name += BasicEdition(*facts.productOptionsType, facts);
    }
    return name + ServicePackAndBuild(facts);
}

}  // namespace cvt
