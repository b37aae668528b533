// The danger database's rules: loading, the first-match lookup, the label text and colour.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeIni.h"
#include "base/ProfileSnapshot.h"
#include "details/PdbTable.h"

using namespace cvt;
using cvt::test::FakeIni;

namespace {

const std::string kNoInformation = "このプロセスに関する情報はありません。";

// A database file held in memory, read with the private-profile rules.
struct PdbText {
    explicit PdbText(const std::string& text) : snapshot(text, none, true) {}
    FakeIni none;
    ProfileSnapshot snapshot;
};

PdbTable Load(const IniSource& file) {
    PdbTable db;
    db.LoadPdb(file);
    return db;
}

}  // namespace

TEST(PdbLookup, MatchesWithoutRegardToLetterCaseAndShowsLevelAndComment) {
    const PdbText file("[General]\r\nNum=2\r\ndb0=lsass.exe\r\ndb1=MSBLAST.EXE\r\n"
                       "[lsass.exe]\r\nDanger=0\r\nDetail=ローカル セキュリティ機関\r\n"
                       "[msblast.exe]\r\nDanger=5\r\nDetail=Blaster ワーム\r\n");
    const PdbTable db = Load(file.snapshot);
    ASSERT_EQ(db.Entries().size(), 2u);
    EXPECT_EQ(db.Entries()[1].Danger, 5);
    EXPECT_TRUE(IsPrintableAscii("a b~.exe"));  // the names the fast ASCII fold takes

    const PdbInfo worm = db.Lookup("MsBlast.exe", file.snapshot, AsciiEqualsIgnoringCase);
    EXPECT_EQ(worm.caption, "[危険度=5] Blaster ワーム");
    EXPECT_EQ(worm.background, (PdbColour{255, 85, 0}));
    EXPECT_EQ(db.Lookup("LSASS.EXE", file.snapshot, AsciiEqualsIgnoringCase).caption,
              "[危険度=0] ローカル セキュリティ機関");

    const PdbInfo unknown = db.Lookup("lsass.ex", file.snapshot, AsciiEqualsIgnoringCase);
    EXPECT_EQ(unknown.caption, kNoInformation);
    EXPECT_EQ(unknown.background, kPdbWhite);
}
