// Saving the settings, and reading them back at the next start.
#include <gmock/gmock.h>

#include "FakeIni.h"
#include "lists/ColumnSettings.h"

using namespace cvt;
using cvt::test::FakeIni;
using ::testing::ElementsAre;

TEST(SaveSettings, DraggedColumnWidthAndSortColumnSurviveARestart)
{
    const FakeIni columnIni = cvt::test::SampleColumnIni();
    ColumnSettingsArray columns = LoadSettingsModel(FakeIni(), columnIni).columns;
    SortDirectionFlags flags;
    flags.Reset(columns[0].Count);
    ASSERT_EQ(ColumnClick(flags, columns[0], 0), 1);  // kind 2, ascending

    SavedState state{{7, true, false}, {}};
    for (int n = 0; n < kListCount; ++n)
        for (int i = 0; i < columns[n].Count; ++i)
            state.shown[n].push_back({i, columns[n].Index[i], columns[n].Width[i], columns[n].Align[i]});
    // Cells [0,1,2] dragged into the order [2,0,1]; cell 1 widened.
    const std::vector<ShownColumn> built = state.shown[0];
    state.shown[0] = {built[2], built[0], built[1]};
    state.shown[0][2].width = 77;

    FakeIni cvtIni;
    SaveSettingsModel(cvtIni, state, columns);
    EXPECT_EQ(cvtIni.ReadString("General", "Version", ""), "Ver 1.00");
    EXPECT_EQ(cvtIni.ReadString("General", "ChkStandardization", ""), "True");
    EXPECT_EQ(cvtIni.ReadString("List0", "SortWay", ""), "True");
    // The manager takes the shown order, but the running list still sorts by cell.
    EXPECT_THAT(columns[0].Index, ElementsAre(3, 2, 0));
    EXPECT_EQ(columns[0].SortIndex, 0);

    const LoadedSettings next = LoadSettingsModel(cvtIni, columnIni);
    EXPECT_FALSE(next.defaultsUsed);
    const TColumnManager& processes = next.columns[0];
    EXPECT_THAT(processes.Index, ElementsAre(3, 2, 0));
    EXPECT_THAT(processes.Width, ElementsAre(200, 120, 77));
    EXPECT_THAT(processes.Align, ElementsAre(2, 0, 1));
    EXPECT_EQ(processes.Index[processes.SortIndex], 2);
    EXPECT_TRUE(processes.SortWay);
    EXPECT_THAT(next.columns[2].Width, ElementsAre(115, 120, 90, 290));
    EXPECT_EQ(next.generalPasses.back().refreshRate, 7);
    EXPECT_TRUE(next.generalPasses.back().standardization);
}
