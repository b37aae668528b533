// The program folder is cut from the executable's path.
#include <gtest/gtest.h>

#include "base/AppPath.h"

using cvt::AppDirFromModulePath;

TEST(AppDir, IsTheFolderOfTheExecutableWithATrailingBackslash) {
    EXPECT_EQ(AppDirFromModulePath("C:\\Tools\\cvt.exe"), "C:\\Tools\\");
    EXPECT_EQ(AppDirFromModulePath("C:cvt.exe"), "C:\\");  // a colon ends the folder too
    EXPECT_EQ(AppDirFromModulePath("\\\\server\\share\\cvt.exe"), "\\\\server\\share\\");
    EXPECT_EQ(AppDirFromModulePath("cvt.exe"), "\\");
}

TEST(AppDir, ATrailByteThatLooksLikeABackslashDoesNotCutTheName) {
    // "表" is 0x95 0x5C in code page 932: its second byte is the backslash code.
    EXPECT_EQ(AppDirFromModulePath("C:\\表\\cvt.exe"), "C:\\表\\");
    EXPECT_EQ(AppDirFromModulePath("C:\\ツール表.exe"), "C:\\");
}

#include "sysinfo/DebuggerValue.h"

TEST(DebuggerValue, QuotesAPathWithABlankAndKnowsItsOwnValue) {
    EXPECT_EQ(cvt::DebuggerCommand("C:\\Tools\\"), "C:\\Tools\\cvt.exe");
    EXPECT_EQ(cvt::DebuggerCommand("C:\\Program Files\\Corvault\\"), "\"C:\\Program Files\\Corvault\\cvt.exe\"");
    EXPECT_TRUE(cvt::NamesCorvault("C:\\Tools\\cvt.exe"));
    EXPECT_TRUE(cvt::NamesCorvault("\"C:\\Program Files\\Corvault\\CVT.EXE\""));
    EXPECT_TRUE(cvt::NamesCorvault("D:\\other\\Cvt.Exe"));
    EXPECT_FALSE(cvt::NamesCorvault("C:\\Tools\\procexp.exe"));
    EXPECT_FALSE(cvt::NamesCorvault("C:\\Tools\\mycvt.exe"));
    EXPECT_FALSE(cvt::NamesCorvault("\"C:\\cvt.exe"));
    EXPECT_FALSE(cvt::NamesCorvault(""));
    EXPECT_EQ(cvt::RegistryTypeMessage("Debugger"), "'Debugger' のデータ型が不正です");
}
