// Header-click sorting, column positions and reading process cells.
#include <climits>

#include <gtest/gtest.h>

#include "base/StrToInt.h"
#include "lists/ColumnPositions.h"

using namespace cvt;

TEST(ColumnPositions, KindsMapToCellsAndLaterColumnWins)
{
    ProcessColumnPositions positions;
    positions.Update(std::vector{2, 1, 4, 5, 6, 3});
    const int cells[] = {1, 1, 0, 5, 2, 3, 4};
    for (int kind = 0; kind <= 6; ++kind) EXPECT_EQ(positions.CellOf(kind), cells[kind]) << kind;
    EXPECT_EQ(positions.PidPrefix(), "");

    positions.Update(std::vector{0, 2, 99, -1});  // kinds 3-6 absent: kept
    EXPECT_EQ(positions.PidCell(), 0);
    EXPECT_EQ(positions.PidPrefix(), "$");
    EXPECT_EQ(positions.CellOf(3), 5);

    WindowHandleColumn handle;
    handle.Update(std::vector{0, 2, 1, 3});
    EXPECT_EQ(handle.Cell(), 3);
    EXPECT_EQ(handle.Prefix(), "");
}

TEST(ProcessCellText, PrefixesPidAndBlanksEmptyTextsWhileCopying)
{
    ProcessColumnPositions positions;
    positions.Update(std::vector{0, 2, 3});  // hex PID as the caption
    const std::vector<std::string> row = {"0001F4", "あ", " \t\r\n"};
    const auto cell = [&](int c) { return row.at(static_cast<std::size_t>(c)); };

    EXPECT_EQ(StrToIntDollarHex(ProcessCellTextRule(0, positions, cell, false)), 500);
    EXPECT_EQ(ProcessCellTextRule(2, positions, cell, true), "あ");  // Shift-JIS bytes are text
    EXPECT_EQ(ProcessCellTextRule(3, positions, cell, false), " \t\r\n");
    EXPECT_EQ(ProcessCellTextRule(3, positions, cell, true), " ");
    EXPECT_EQ(ProcessCellTextRule(4, positions, cell, false), "");
    EXPECT_EQ(ProcessCellTextRule(4, positions, cell, true), " ");
    EXPECT_EQ(ProcessCellTextRule(1, positions, cell, true), "");
    EXPECT_EQ(ProcessCellTextRule(0, positions, [](int) { return std::string(); }, true), "$ ");
}
