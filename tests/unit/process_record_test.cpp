// Cell texts of the process list and the refresh's memo.
#include <gtest/gtest.h>

#include "process/ProcessCellText.h"
#include "sysinfo/ProcessInfoCache.h"
#include "sysinfo/ProcessRecord.h"
#include "windows/WindowRecord.h"

using namespace cvt;

TEST(ProcessCells, PidAndThreadFormats) {
    TProcessManager p;
    p.ProcessID = 1234;
    p.ThreadCount = 7;
    EXPECT_EQ(ProcessCellText(0, p, "", ""), "0004D2");
    EXPECT_EQ(ProcessCellText(1, p, "", ""), " 1234");
    EXPECT_EQ(ProcessCellText(6, p, "", ""), "    7");
    p.ProcessID = 123456;
    p.ThreadCount = 123456;
    EXPECT_EQ(ProcessCellText(0, p, "", ""), "01E240");
    EXPECT_EQ(ProcessCellText(1, p, "", ""), "123456");
    EXPECT_EQ(ProcessCellText(6, p, "", ""), "123456");
    p.ProcessID = 0xFFFFFFFF;
    EXPECT_EQ(ProcessCellText(0, p, "", ""), "FFFFFFFF");
    EXPECT_EQ(ProcessCellText(7, p, "", ""), "");
    EXPECT_EQ(ProcessCellText(-1, p, "", ""), "");
}

TEST(ProcessCells, PathIsTrimmedAndNormalisedOthersAsFilled) {
    TProcessManager p;
    p.ImageName = "a.exe";
    p.UserName = "SYSTEM";
    p.ImagePath = " \t\\??\\C:\\a.exe\r\n";
    EXPECT_EQ(ProcessCellText(3, p, "", "C:\\WINDOWS"), "C:\\a.exe");
    EXPECT_EQ(ProcessCellText(2, p, "", ""), "a.exe");
    EXPECT_EQ(ProcessCellText(4, p, "高", ""), "高");
    EXPECT_EQ(ProcessCellText(5, p, "", ""), "SYSTEM");
}

TEST(ProcessInfoCache, RemembersByPidAndCreationTimeAndForgetsEndedProcesses) {
    ProcessInfoCache cache;
    cache.BeginPass();
    cache.Remember(10, 111).imagePath = "C:\\a.exe";
    cache.Remember(20, 222).userName = "root";
    cache.EndPass();

    cache.BeginPass();
    ASSERT_NE(cache.Find(10, 111), nullptr);
    EXPECT_EQ(cache.Find(10, 111)->imagePath, "C:\\a.exe");
    // A reused PID has another creation time: nothing of the old process shows.
    EXPECT_EQ(cache.Find(20, 333), nullptr);
    EXPECT_TRUE(cache.Remember(20, 333).userName.empty());
    cache.EndPass();
    EXPECT_EQ(cache.IdentityCount(), 2u);

    cache.BeginPass();
    cache.EndPass();  // nobody seen: all gone
    EXPECT_EQ(cache.IdentityCount(), 0u);

    cache.RememberAccountName("sid-1", "root");
    ASSERT_NE(cache.AccountName("sid-1"), nullptr);
    EXPECT_EQ(*cache.AccountName("sid-1"), "root");
    EXPECT_EQ(cache.AccountName("sid-2"), nullptr);
}

TEST(WindowCells, HandleAndProcessFormats) {
    AppWindowRow row{"タイトル", "実行中", 65538, 1234};
    EXPECT_EQ(WindowCellText(0, row), "タイトル");
    EXPECT_EQ(WindowCellText(1, row), "実行中");
    EXPECT_EQ(WindowCellText(2, row), "00010002");
    EXPECT_EQ(WindowCellText(3, row), "     65538");
    EXPECT_EQ(WindowCellText(4, row), "0004D2");
    EXPECT_EQ(WindowCellText(5, row), " 1234");
    EXPECT_EQ(WindowCellText(6, row), "");
    row.handle = 0x80000010;
    EXPECT_EQ(WindowCellText(2, row), "80000010");
    EXPECT_EQ(WindowCellText(3, row), "-2147483632");
}
