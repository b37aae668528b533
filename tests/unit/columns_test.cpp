// Header-click sorting, column positions and reading process cells.
#include <climits>

#include <gtest/gtest.h>

#include "base/StrToInt.h"
#include "lists/ColumnPositions.h"

using namespace cvt;

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
