// Loading the column settings and General options from cvt.ini and column.ini.
#include <gmock/gmock.h>

#include "FakeIni.h"
#include "base/IniBool.h"
#include "lists/ColumnSettings.h"

using namespace cvt;
using cvt::test::FakeIni;
using cvt::test::SampleColumnIni;
using ::testing::ElementsAre;

MATCHER_P3(General, rate, standardization, startup, "")
{
    return arg.refreshRate == rate && arg.standardization == standardization && arg.registerStartup == startup;
}

TEST(IniBool, AcceptsWordsInAnyCaseAndNumbers)
{
    for (const char* text : {"tRuE", "-1", "99999999999999999999"}) EXPECT_EQ(ParseIniBool(text), true) << text;
    for (const char* text : {"fALSE", "-0"}) EXPECT_EQ(ParseIniBool(text), false) << text;
    for (const char* text : {"", "Yes", "1.0", " 1", "$1", "-"}) EXPECT_EQ(ParseIniBool(text), std::nullopt) << text;
}

TEST(LoadSettings, UntrustedSortIndexWidthAndAlignAreRepaired)
{
    FakeIni cvtIni(R"([List0] Count=4 Index0=2 Width0=-1 Align0=7 Index1=0 Width1=99999 Align1=-1
        Index2=5 Width2=4001 Align2=2 Index3=3 Width3=4000)");
    FakeIni columnIni = SampleColumnIni();
    columnIni.WriteInt("List0", "DefWidth5", 5000);
    for (const char* sortIndex : {"-1", "4", "2147483647", "3"}) {
        cvtIni.WriteString("List0", "SortIndex", sortIndex);
        EXPECT_EQ(LoadSettingsModel(cvtIni, columnIni).columns[0].SortIndex, sortIndex[0] == '3' ? 3 : 0);
    }
    const LoadedSettings s = LoadSettingsModel(cvtIni, columnIni);
    // A bad width takes its kind's default, or a fixed width when that is bad too.
    EXPECT_THAT(s.columns[0].Width, ElementsAre(120, 60, kFallbackColumnWidth, 4000));
    EXPECT_THAT(s.columns[0].Align, ElementsAre(0, 0, 2, 0));
}
