// The operating system's name from version facts: every base name, edition and service pack form.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "sysinfo/OsName.h"

using namespace cvt;

namespace {

constexpr uint8_t kWorkstation = kProductWorkstation;
constexpr uint8_t kDc = kProductDomainController;
constexpr uint8_t kServer = kProductServer;
constexpr uint16_t kEnt = kSuiteEnterprise;
constexpr uint16_t kData = kSuiteDatacenter;
constexpr uint16_t kHome = kSuitePersonal;
constexpr uint16_t kWeb = kSuiteBlade;
constexpr uint16_t kSmallBusiness = 0x0100;  // set by Wine's XP and 2003 modes; named by no edition

OsFacts Nt(uint32_t major, uint32_t minor, uint32_t build, std::string servicePack, uint8_t product,
           uint16_t suite = 0, uint16_t architecture = 0, int r2 = 0, bool hotfix = false) {
    OsFacts facts;
    facts.path = VersionRecordPath::Extended;
    facts.platformId = kPlatformNt;
    facts.major = major;
    facts.minor = minor;
    facts.build = build;
    facts.servicePack = std::move(servicePack);
    facts.productType = product;
    facts.suiteMask = suite;
    facts.processorArchitecture = architecture;
    facts.serverR2Metric = r2;
    facts.hotfixQ246009Present = hotfix;
    return facts;
}

OsFacts NtBasic(uint32_t major, uint32_t minor, uint32_t build, std::string servicePack,
                std::optional<std::string> productOptions, bool hotfix = false) {
    OsFacts facts = Nt(major, minor, build, std::move(servicePack), 0, 0, 0, 0, hotfix);
    facts.path = VersionRecordPath::Basic;
    facts.productOptionsType = std::move(productOptions);
    return facts;
}

OsFacts Win9x(uint32_t minor, std::string servicePack) {
    OsFacts facts;
    facts.path = VersionRecordPath::Extended;
    facts.platformId = kPlatformWindows;
    facts.major = 4;
    facts.minor = minor;
    facts.build = 0x040A0AAE;
    facts.servicePack = std::move(servicePack);
    return facts;
}

OsFacts WithPlatform(OsFacts facts, uint32_t platformId) {
    facts.platformId = platformId;
    return facts;
}

OsFacts Failed(OsFacts facts) {
    facts.path = VersionRecordPath::Failed;
    return facts;
}

struct NameCase {
    const char* what;
    OsFacts facts;
    std::string expected;
};

void ExpectNames(const std::vector<NameCase>& cases) {
    for (const NameCase& c : cases) EXPECT_EQ(GetOSNameFrom(c.facts), c.expected) << c.what;
}

}  // namespace

TEST(OsName, WindowsFamilyNamesTheReleaseByTheServicePackTextsSecondCharacterAndNeverTheBuild) {
    ExpectNames({
        {"95", Win9x(0, ""), "Windows 95"},
        {"95 A", Win9x(0, " A "), "Windows 95"},
        {"95 OSR2 B", Win9x(0, " B "), "Windows 95 OSR2"},
        {"95 OSR2 C", Win9x(0, " C"), "Windows 95 OSR2"},
        {"95, marker in first place", Win9x(0, "B"), "Windows 95"},
        {"98", Win9x(10, ""), "Windows 98"},
        {"98 SE A", Win9x(10, " A "), "Windows 98 Second Edition"},
        {"98 SE B", Win9x(10, " B "), "Windows 98 Second Edition"},
        {"98 C", Win9x(10, " C "), "Windows 98"},
        {"98, lower-case marker", Win9x(10, " a "), "Windows 98"},
        {"Me", Win9x(90, " "), "Windows Millennium Edition"},
        {"4.3", Win9x(3, " B "), ""},
        {"basic record", [] { OsFacts f = Win9x(10, " A "); f.path = VersionRecordPath::Basic; return f; }(),
         "Windows 98 Second Edition"},
    });
    OsFacts five = Win9x(0, " B ");
    five.major = 5;
    EXPECT_EQ(GetOSNameFrom(five), "");
}

TEST(OsName, OtherPlatformsAndFailedCalls) {
    ExpectNames({
        {"Win32s", WithPlatform(Nt(3, 10, 0, "x", kServer), kPlatformWin32s), "Windows Win32s"},
        {"unknown platform", WithPlatform(Nt(5, 1, 2600, "Service Pack 3", kWorkstation), 3), ""},
        {"both calls failed", Failed(Nt(5, 1, 2600, "Service Pack 3", kWorkstation)), "Unknown"},
        {"both calls failed, zeros", OsFacts{}, "Unknown"},
    });
}

TEST(OsName, NtFourOnTheExtendedPath) {
    ExpectNames({
        {"workstation SP6", Nt(4, 0, 1381, "Service Pack 6", kWorkstation),
         "Windows NT Workstation 4.0 Service Pack 6 (Build 1381)"},
        {"workstation SP6 + Q246009", Nt(4, 0, 1381, "Service Pack 6", kWorkstation, 0, 0, 0, true),
         "Windows NT Workstation 4.0 Service Pack 6a (Build 1381)"},
        {"SP6 in other case + Q246009", Nt(4, 0, 1381, "SERVICE pack 6", kWorkstation, 0, 0, 0, true),
         "Windows NT Workstation 4.0 Service Pack 6a (Build 1381)"},
        {"workstation SP6a", Nt(4, 0, 1381, "Service Pack 6a", kWorkstation),
         "Windows NT Workstation 4.0 Service Pack 6a (Build 1381)"},
        {"SP6a text keeps its own spelling", Nt(4, 0, 1381, "service pack 6a", kWorkstation, 0, 0, 0, true),
         "Windows NT Workstation 4.0 service pack 6a (Build 1381)"},
        {"Q246009 counts only for SP6", Nt(4, 0, 1381, "Service Pack 5", kWorkstation, 0, 0, 0, true),
         "Windows NT Workstation 4.0 Service Pack 5 (Build 1381)"},
        {"home bit ignored on 4", Nt(4, 0, 1381, "Service Pack 6", kWorkstation, kHome),
         "Windows NT Workstation 4.0 Service Pack 6 (Build 1381)"},
        {"server", Nt(4, 0, 1381, "Service Pack 6", kServer), "Windows NT Server 4.0 Service Pack 6 (Build 1381)"},
        {"domain controller SP6 + Q246009", Nt(4, 0, 1381, "Service Pack 6", kDc, 0, 0, 0, true),
         "Windows NT Server 4.0 Service Pack 6a (Build 1381)"},
        {"enterprise", Nt(4, 0, 1381, "Service Pack 6a", kServer, kEnt),
         "Windows NT Server 4.0 Enterprise Edition Service Pack 6a (Build 1381)"},
        {"datacenter bit alone", Nt(4, 0, 1381, "Service Pack 6a", kServer, kData),
         "Windows NT Server 4.0 Service Pack 6a (Build 1381)"},
        {"3.51", Nt(3, 51, 1057, "Service Pack 5", kServer), "Windows NT Service Pack 5 (Build 1057)"},
    });
}

TEST(OsName, NtOnTheBasicPathTakesTheEditionFromProductOptions) {
    ExpectNames({
        {"WinNT", NtBasic(4, 0, 1381, "Service Pack 3", "WinNT"),
         "Windows NT Workstation 4.0 Service Pack 3 (Build 1381)"},
        {"LanmanNT", NtBasic(4, 0, 1381, "Service Pack 3", "LanmanNT"),
         "Windows NT Server 4.0 Service Pack 3 (Build 1381)"},
        {"ServerNT", NtBasic(4, 0, 1381, "Service Pack 3", "ServerNT"),
         "Windows NT Advanced Server 4.0 Service Pack 3 (Build 1381)"},
        {"letter case ignored", NtBasic(4, 0, 1381, "Service Pack 3", "wInNt"),
         "Windows NT Workstation 4.0 Service Pack 3 (Build 1381)"},
        {"other text", NtBasic(4, 0, 1381, "Service Pack 3", "Terminal"), "Windows NT 4.0 Service Pack 3 (Build 1381)"},
        {"prefix only", NtBasic(4, 0, 1381, "Service Pack 3", "WinNTx"), "Windows NT 4.0 Service Pack 3 (Build 1381)"},
        {"empty text", NtBasic(4, 0, 1381, "", ""), "Windows NT 4.0  (Build 1381)"},
        {"SP6", NtBasic(4, 0, 1381, "Service Pack 6", "WinNT"),
         "Windows NT Workstation 4.0 Service Pack 6 (Build 1381)"},
        {"SP6 + Q246009", NtBasic(4, 0, 1381, "Service Pack 6", "LanmanNT", true),
         "Windows NT Server 4.0 Service Pack 6a (Build 1381)"},
        {"2000", NtBasic(5, 0, 2195, "Service Pack 1", "ServerNT"),
         "Windows 2000 Advanced Server 5.0 Service Pack 1 (Build 2195)"},
        {"ProductType unreadable", NtBasic(4, 0, 1381, "Service Pack 6", std::nullopt, true), ""},
        {"ProductType unreadable on 2000", NtBasic(5, 0, 2195, "Service Pack 1", std::nullopt), ""},
    });
    // The extended record's edition facts do not count on the basic path.
    OsFacts basic = NtBasic(5, 0, 2195, "", "WinNT");
    basic.productType = kServer;
    basic.suiteMask = kData;
    EXPECT_EQ(GetOSNameFrom(basic), "Windows 2000 Workstation 5.0  (Build 2195)");
}

TEST(OsName, Windows2000AndXp) {
    ExpectNames({
        {"2000 professional", Nt(5, 0, 2195, "Service Pack 4", kWorkstation),
         "Windows 2000 Professional Service Pack 4 (Build 2195)"},
        {"2000 server", Nt(5, 0, 2195, "Service Pack 4", kServer), "Windows 2000 Server Service Pack 4 (Build 2195)"},
        {"2000 advanced server", Nt(5, 0, 2195, "Service Pack 4", kServer, kEnt),
         "Windows 2000 Advanced Server Service Pack 4 (Build 2195)"},
        {"2000 datacenter with enterprise bit", Nt(5, 0, 2195, "Service Pack 4", kDc, kData | kEnt),
         "Windows 2000 Datacenter Server Service Pack 4 (Build 2195)"},
        {"2000 blade bit is no edition", Nt(5, 0, 2195, "Service Pack 4", kServer, kWeb),
         "Windows 2000 Server Service Pack 4 (Build 2195)"},
        {"2000 unknown product type", Nt(5, 0, 2195, "Service Pack 4", 0, kEnt),
         "Windows 2000 Service Pack 4 (Build 2195)"},
        {"XP home", Nt(5, 1, 2600, "Service Pack 2", kWorkstation, kHome | kSmallBusiness),
         "Windows XP Home Edhition Service Pack 2 (Build 2600)"},
        {"XP professional", Nt(5, 1, 2600, "Service Pack 3", kWorkstation, kSmallBusiness),
         "Windows XP Professional Service Pack 3 (Build 2600)"},
        {"XP, architecture known only on 5.2", Nt(5, 1, 2600, "Service Pack 3", kWorkstation, 0, kArchitectureX64),
         "Windows XP Professional Service Pack 3 (Build 2600)"},
        {"XP, R2 metric known only on 5.2", Nt(5, 1, 2600, "Service Pack 3", kWorkstation, 0, 0, 1),
         "Windows XP Professional Service Pack 3 (Build 2600)"},
        {"5.1 server has no edition", Nt(5, 1, 2600, "", kServer, kEnt), "Windows XP  (Build 2600)"},
        {"XP x64", Nt(5, 2, 3790, "Service Pack 2", kWorkstation, 0, kArchitectureX64),
         "Windows XP Professional x64 Edition Service Pack 2 (Build 3790)"},
        {"XP x64 without service pack", Nt(5, 2, 3790, "", kWorkstation, kHome, kArchitectureX64),
         "Windows XP Professional x64 Edition  (Build 3790)"},
    });
}

TEST(OsName, Server2003EditionsByArchitectureAndSuite) {
    const auto s2003 = [](uint8_t product, uint16_t suite, uint16_t architecture, int r2 = 0) {
        return Nt(5, 2, 3790, "Service Pack 2", product, suite, architecture, r2);
    };
    ExpectNames({
        {"standard", s2003(kServer, 0, 0), "WIndows Server 2003 Standard Edition Service Pack 2 (Build 3790)"},
        {"standard, small business bit", s2003(kServer, kSmallBusiness, 0),
         "WIndows Server 2003 Standard Edition Service Pack 2 (Build 3790)"},
        {"enterprise", s2003(kServer, kEnt, 0), "WIndows Server 2003 Enterprise Edition Service Pack 2 (Build 3790)"},
        {"datacenter", s2003(kDc, kData | kEnt | kWeb, 0),
         "WIndows Server 2003 Datacenter Edition Service Pack 2 (Build 3790)"},
        {"web", s2003(kServer, kWeb, 0), "WIndows Server 2003 Web Edition Service Pack 2 (Build 3790)"},
        {"enterprise before web", s2003(kServer, kWeb | kEnt, 0),
         "WIndows Server 2003 Enterprise Edition Service Pack 2 (Build 3790)"},
        {"Itanium datacenter", s2003(kServer, kData | kEnt, kArchitectureItanium),
         "WIndows Server 2003 Datacenter Edition for Ianium-based Systems Service Pack 2 (Build 3790)"},
        {"Itanium enterprise", s2003(kDc, kEnt, kArchitectureItanium),
         "WIndows Server 2003 Enterprise Edition for Ianium-based Systems Service Pack 2 (Build 3790)"},
        {"Itanium without suite bits", s2003(kServer, 0, kArchitectureItanium),
         "WIndows Server 2003 Service Pack 2 (Build 3790)"},
        {"Itanium web bit", s2003(kServer, kWeb, kArchitectureItanium),
         "WIndows Server 2003 Service Pack 2 (Build 3790)"},
        {"x64 datacenter", s2003(kServer, kData | kEnt, kArchitectureX64),
         "WIndows Server 2003 Datacenter x64 Edition Service Pack 2 (Build 3790)"},
        {"x64 enterprise", s2003(kServer, kEnt, kArchitectureX64),
         "WIndows Server 2003 Enterprise x64 Edition Service Pack 2 (Build 3790)"},
        {"x64 standard", s2003(kDc, kWeb, kArchitectureX64),
         "WIndows Server 2003 Standard x64 Edition Service Pack 2 (Build 3790)"},
        {"x86 workstation", s2003(kWorkstation, 0, 0),
         "WIndows Server 2003 Professional Service Pack 2 (Build 3790)"},
        {"unknown architecture", s2003(kServer, kEnt, 5),
         "WIndows Server 2003 Enterprise Edition Service Pack 2 (Build 3790)"},
        {"R2 standard", s2003(kServer, 0, 0, 1),
         "Windows Server 2003 \"R2\" Standard Edition Service Pack 2 (Build 3790)"},
        {"R2 x64 enterprise, any nonzero metric", s2003(kDc, kEnt, kArchitectureX64, -7),
         "Windows Server 2003 \"R2\" Enterprise x64 Edition Service Pack 2 (Build 3790)"},
        {"R2 on the x64 workstation", s2003(kWorkstation, 0, kArchitectureX64, 1),
         "Windows Server 2003 \"R2\" Service Pack 2 (Build 3790)"},
        {"R2 on an x86 workstation", s2003(kWorkstation, kHome, 0, 1),
         "Windows Server 2003 \"R2\" Home Edhition Service Pack 2 (Build 3790)"},
        {"R2 Itanium datacenter", s2003(kServer, kData, kArchitectureItanium, 1),
         "Windows Server 2003 \"R2\" Datacenter Edition for Ianium-based Systems Service Pack 2 (Build 3790)"},
    });
    OsFacts basic = NtBasic(5, 2, 3790, "Service Pack 1", "ServerNT");
    basic.processorArchitecture = kArchitectureX64;
    basic.serverR2Metric = 1;
    EXPECT_EQ(GetOSNameFrom(basic), "Windows Server 2003 \"R2\" Advanced Server 5.2 Service Pack 1 (Build 3790)");
}

TEST(OsName, SixAndLater) {
    ExpectNames({
        {"Vista", Nt(6, 0, 6002, "Service Pack 2", kWorkstation),
         "Windows Vista Professional Service Pack 2 (Build 6002)"},
        {"Vista home", Nt(6, 0, 6000, "", kWorkstation, kHome), "Windows Vista Home Edhition  (Build 6000)"},
        {"Vista, x64 is not known off 5.2", Nt(6, 0, 6002, "", kWorkstation, 0, kArchitectureX64),
         "Windows Vista Professional  (Build 6002)"},
        {"Longhorn server", Nt(6, 0, 6002, "Service Pack 2", kServer, kEnt),
         "Windows Server \"Longhorn\" Service Pack 2 (Build 6002)"},
        {"Longhorn domain controller", Nt(6, 0, 6001, "", kDc, kData), "Windows Server \"Longhorn\"  (Build 6001)"},
        {"6.1 workstation", Nt(6, 1, 7601, "Service Pack 1", kWorkstation),
         " Professional Service Pack 1 (Build 7601)"},
        {"6.1 server", Nt(6, 1, 7601, "Service Pack 1", kServer, kEnt), " Service Pack 1 (Build 7601)"},
        {"10.0 home", Nt(10, 0, 19045, "", kWorkstation, kHome), " Home Edhition  (Build 19045)"},
        {"5.3", Nt(5, 3, 4000, "", kWorkstation), " Professional  (Build 4000)"},
        {"6.1 basic path", NtBasic(6, 1, 7601, "Service Pack 1", "WinNT"), " Workstation 6.1 Service Pack 1 (Build 7601)"},
    });
}

TEST(OsName, BuildIsTheLow16BitsInDecimal) {
    ExpectNames({
        {"high word dropped", Nt(5, 1, 0x0A280A28, "", kWorkstation), "Windows XP Professional  (Build 2600)"},
        {"zero", Nt(5, 1, 0xFFFF0000, "", kWorkstation), "Windows XP Professional  (Build 0)"},
        {"basic path", NtBasic(4, 0, 0x04000565, "Service Pack 6", "WinNT", true),
         "Windows NT Workstation 4.0 Service Pack 6a (Build 1381)"},
    });
}

// A gatherer asks the system only for what the name depends on.
TEST(OsName, WhichOptionalFactsAreRead) {
    struct Case {
        const char* what;
        OsFacts facts;
        bool version52;
        bool productOptions;
        bool hotfix;
    };
    const std::vector<Case> cases = {
        {"2003", Nt(5, 2, 3790, "Service Pack 6", kServer), true, false, false},
        {"2003 basic", NtBasic(5, 2, 3790, "", std::nullopt), true, true, false},
        {"XP", Nt(5, 1, 2600, "", kWorkstation), false, false, false},
        {"Vista", Nt(6, 0, 6002, "", kWorkstation), false, false, false},
        {"5.2 on the 9x family", WithPlatform(Nt(5, 2, 3790, "", kServer), kPlatformWindows), false, false, false},
        {"failed 5.2", Failed(Nt(5, 2, 3790, "", kServer)), false, false, false},
        {"NT4 SP6", Nt(4, 0, 1381, "Service Pack 6", kWorkstation), false, false, true},
        {"NT4 sp6 lower case", Nt(4, 0, 1381, "service pack 6", kServer), false, false, true},
        {"NT4 SP6a", Nt(4, 0, 1381, "Service Pack 6a", kWorkstation), false, false, false},
        {"NT4 SP6 basic, ProductType read", NtBasic(4, 0, 1381, "Service Pack 6", "WinNT"), false, true, true},
        {"NT4 SP6 basic, ProductType unreadable", NtBasic(4, 0, 1381, "Service Pack 6", std::nullopt), false, true,
         false},
        {"2000 SP6", Nt(5, 0, 2195, "Service Pack 6", kWorkstation), false, false, false},
        {"95 SP6 basic", [] { OsFacts f = Win9x(0, "Service Pack 6"); f.path = VersionRecordPath::Basic; return f; }(),
         false, false, false},
        {"failed NT4 SP6", Failed(NtBasic(4, 0, 1381, "Service Pack 6", "WinNT")), false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadsVersion52Facts(c.facts), c.version52) << c.what;
        EXPECT_EQ(ReadsProductOptions(c.facts), c.productOptions) << c.what;
        EXPECT_EQ(ChecksHotfixQ246009(c.facts), c.hotfix) << c.what;
    }
}
