// Replacing a file through a temporary file, on real files, with and without a replacing rename.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "report/SafeFileWrite.h"

using namespace cvt;
using namespace cvt::test;
using testing::ElementsAre;

namespace {

// What 95, 98 and Me export under the name.
BOOL WINAPI MoveFileExStub(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

struct Method {
    const char* name;
    MoveFileExFn moveFileEx;
};

const Method kMethods[] = {
    {"replacing rename", SystemMoveFileEx()},
    {"old file moved aside", nullptr},
    {"stub of 95/98/Me", MoveFileExStub},
};

// Bytes that a text-mode write would change.
const std::string kAwkward = std::string("a\r\nb\nc\rd\x1A\0e", 11) + "\x83\x5C\x95\x5C\xFF";

constexpr DWORD kSuccess = ERROR_SUCCESS;

}  // namespace

TEST(SafeFileWrite, WritesTheBytesExactlyAndReplacesAWholeFile) {
    ASSERT_NE(SystemMoveFileEx(), nullptr);
    for (const Method& method : kMethods) {
        SCOPED_TRACE(method.name);
        TempFolder folder;
        const std::string target = folder.File("report.txt");
        EXPECT_EQ(WriteFileReplacing(target, kAwkward, method.moveFileEx), kSuccess);
        EXPECT_EQ(folder.Read("report.txt"), kAwkward);

        folder.Write("report.txt", std::string(100000, 'x'));
        EXPECT_EQ(WriteFileReplacing(target, "short", method.moveFileEx), kSuccess);
        EXPECT_EQ(folder.Read("report.txt"), "short");
        EXPECT_EQ(WriteFileReplacing(target, "", method.moveFileEx), kSuccess);
        EXPECT_EQ(folder.Read("report.txt"), "");
        EXPECT_THAT(folder.Names(), ElementsAre("report.txt"));
    }
}

TEST(SafeFileWrite, FailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
    for (const Method& method : kMethods) {
        SCOPED_TRACE(method.name);
        TempFolder folder;
        folder.Write("old.txt", "old contents");
        const std::string target = folder.File("old.txt");

        // Held open by another program that does not share deletion.
        HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_NE(WriteFileReplacing(target, "new", method.moveFileEx), kSuccess);
        CloseHandle(holder);
        EXPECT_EQ(folder.Read("old.txt"), "old contents");
        EXPECT_THAT(folder.Names(), ElementsAre("old.txt"));

        ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_EQ(WriteFileReplacing(target, "new", method.moveFileEx), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(folder.Read("old.txt"), "old contents");

        // A folder under the chosen name is neither replaced nor moved away.
        ASSERT_TRUE(CreateDirectoryA(folder.File("sub").c_str(), nullptr));
        folder.Write("sub\\inside.txt", "inside");
        EXPECT_EQ(WriteFileReplacing(folder.File("sub"), "new", method.moveFileEx),
                  static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_EQ(folder.Read("sub\\inside.txt"), "inside");
        EXPECT_THAT(folder.Names(), ElementsAre("old.txt", "sub"));
        DeleteFileA(folder.File("sub\\inside.txt").c_str());
        RemoveDirectoryA(folder.File("sub").c_str());

        // No folder for the temporary file: a missing one, a file in its place, none named at all.
        EXPECT_NE(WriteFileReplacing(folder.File("missing\\new.txt"), "new", method.moveFileEx), kSuccess);
        EXPECT_NE(WriteFileReplacing(folder.File("old.txt\\new.txt"), "new", method.moveFileEx), kSuccess);
        EXPECT_EQ(WriteFileReplacing(folder.Path(), "new", method.moveFileEx), static_cast<DWORD>(ERROR_INVALID_NAME));
        EXPECT_EQ(folder.Read("old.txt"), "old contents");
        EXPECT_THAT(folder.Names(), ElementsAre("old.txt"));
    }
}
