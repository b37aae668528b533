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
