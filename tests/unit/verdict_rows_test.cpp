// The process list's side of the verdicts: facts from snapshot records, the
// rows that count as new, and the accounts told by their SIDs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process/VerdictRows.h"

namespace cvt {
namespace {

TProcessManager Record(uint32_t pid, const char* name, uint32_t parent, uint64_t created) {
    return {.ProcessID = pid, .ImageName = name, .CreationTime = created, .ParentProcessID = parent};
}

TEST(VerdictRows, ParentIsJudgedOnlyWhenItStartedFirst) {
    const std::vector<TProcessManager> records = {
        Record(4, "services.exe", 0, 100), Record(8, "svchost.exe", 4, 200),
        Record(12, "svchost.exe", 16, 300),  // its creator's PID now names a later process
        Record(16, "evil.exe", 0, 400),     Record(20, "orphan.exe", 99, 500), Record(24, "self.exe", 24, 600),
        Record(0, "[System Process]", 0, 1)};
    const std::vector<ProcessFacts> facts = FactsOfSnapshot(records, "C:\\WINDOWS");
    ASSERT_EQ(facts.size(), records.size());
    EXPECT_EQ(facts[1].parentImageName, "services.exe");
    EXPECT_TRUE(facts[1].parentCreatedBefore);
    EXPECT_EQ(facts[2].parentImageName, "evil.exe");
    EXPECT_FALSE(facts[2].parentCreatedBefore);
    EXPECT_EQ(facts[0].parentImageName, "");  // PID 0 is never a creator
    EXPECT_EQ(facts[4].parentImageName, "");
    EXPECT_EQ(facts[5].parentImageName, "");
    EXPECT_EQ(facts[1].parentPid, 4u);
}

TEST(VerdictRows, NewRowsStayNewForTwoRefreshes) {
    NewRows rows;
    rows.Refresh({"1@1", "2@2"});
    EXPECT_FALSE(rows.IsNew("1@1"));  // the first refresh finds what was there already
    rows.Refresh({"1@1", "2@2", "3@3"});
    EXPECT_TRUE(rows.IsNew("3@3"));
    EXPECT_FALSE(rows.IsNew("2@2"));
    rows.Refresh({"1@1", "3@3", "4@4"});
    EXPECT_TRUE(rows.IsNew("3@3"));
    EXPECT_TRUE(rows.IsNew("4@4"));
    rows.Refresh({"1@1", "3@3"});
    EXPECT_FALSE(rows.IsNew("3@3"));
    EXPECT_FALSE(rows.IsNew("4@4"));  // ended: forgotten, and not new if its key came back
    rows.Refresh({"1@1", "3@3"});
    EXPECT_FALSE(rows.IsNew("3@3"));
}

TEST(VerdictRows, WellKnownAccountsBySid) {
    const auto sid = [](unsigned char rid, unsigned char count = 1) {
        std::string bytes("\x01\x00\x00\x00\x00\x00\x00\x05", 8);
        bytes[1] = static_cast<char>(count);
        bytes += std::string(1, static_cast<char>(rid)) + std::string(3, '\0');
        if (count == 2) bytes += std::string(4, '\0');
        return bytes;
    };
    EXPECT_EQ(AccountOfSid(sid(18)), WellKnownAccount::System);
    EXPECT_EQ(AccountOfSid(sid(19)), WellKnownAccount::LocalService);
    EXPECT_EQ(AccountOfSid(sid(20)), WellKnownAccount::NetworkService);
    EXPECT_EQ(AccountOfSid(sid(21)), WellKnownAccount::Other);
    EXPECT_EQ(AccountOfSid(sid(18, 2)), WellKnownAccount::Other);  // S-1-5-18-0 is another SID
    EXPECT_EQ(AccountOfSid(""), WellKnownAccount::Unknown);
}

}  // namespace
}  // namespace cvt
