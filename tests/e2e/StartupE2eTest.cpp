// cvt.exe as its own process: start, main window, close, files written; the
// refusal to start without column definitions; and damaged INI files, one case
// for each way the program reads them (its own parse of a snapshot, the system's
// private-profile functions for what a snapshot cannot hold exactly, a file too
// big to snapshot, a file it may not write). The 500 generated cases are
// bench/fuzz-ini's.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "../support/Drive.h"

namespace {

using cvt::drive::ChildProcess;
using cvt::drive::TempFolder;

constexpr DWORD kTimeoutMs = 60000;
const cvt::drive::WindowQuery kMainWindow{"TFrmCVT", "Corvault Ver 1.01", true, false};

std::string CvtExe() { return cvt::drive::WindowsPath(cvt::drive::ArgValue(__argc, __argv, "cvt")); }

class StartupE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(CvtExe().empty()) << "pass --cvt=<path of cvt.exe>";
    ASSERT_FALSE(folder_.Path().empty());
    ASSERT_TRUE(CopyFileA(CvtExe().c_str(), (folder_.Path() + "cvt.exe").c_str(), FALSE)) << CvtExe();
  }

  void CopyColumnIni() {
    const std::string shipped = cvt::drive::WindowsPath(std::string(CVT_SOURCE_DIR) + "/data/column.ini");
    ASSERT_TRUE(CopyFileA(shipped.c_str(), File("column.ini").c_str(), FALSE));
  }
  std::string File(const char* name) const { return folder_.Path() + name; }

  // The working folder is elsewhere, so a file written beside the program
  // proves that the program went by its own path.
  void Start(const std::string& arguments = "") {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    ASSERT_TRUE(child_.Start(File("cvt.exe"), temp, arguments)) << "CreateProcess failed: " << GetLastError();
  }

  // Waits for the main window, pressing OK (or No) on every message box the start shows.
  HWND WaitForMainWindow() {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < kTimeoutMs;) {
      if (HWND main = child_.WaitForWindow(kMainWindow, 50)) return main;
      for (HWND box : cvt::drive::TopLevelWindows(child_.Id(), {"#32770", "", true, false})) {
        HWND button = GetDlgItem(box, IDOK) != nullptr ? GetDlgItem(box, IDOK) : GetDlgItem(box, IDNO);
        DWORD_PTR unused = 0;
        if (button != nullptr) SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &unused);
      }
      if (!child_.Running()) break;
    }
    return nullptr;
  }

  void CloseThroughTheWindow(HWND main) {
    ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
    ASSERT_TRUE(child_.WaitForExit(kTimeoutMs)) << child_.DescribeWindows();
    EXPECT_EQ(child_.ExitCode(), 0u);
  }

  TempFolder folder_{"cvt-e2e"};
  ChildProcess child_;
};

TEST_F(StartupE2eTest, StartsFromItsOwnFolderAndWritesTheSettingsWhenClosed) {
  CopyColumnIni();
  // Started by Windows in place of taskmgr.exe, it gets taskmgr's command line.
  Start("C:\\windows\\system32\\taskmgr.exe /7");
  const HWND main = WaitForMainWindow();
  ASSERT_NE(main, nullptr) << child_.DescribeWindows();
  EXPECT_EQ(GetFileAttributesA(File("cvt.ini").c_str()), INVALID_FILE_ATTRIBUTES) << "written before the close";
  CloseThroughTheWindow(main);

  const std::string ini = File("cvt.ini");
  for (const char* name : {"General", "Window", "List0", "List1", "List2"}) {
    char first[8] = {};
    EXPECT_GT(GetPrivateProfileSectionA(name, first, sizeof first, ini.c_str()), 0u) << "no or empty section " << name;
  }
}

TEST_F(StartupE2eTest, WithoutColumnDefinitionsReportsErrorAndEnds) {
  Start();
  const HWND box = child_.WaitForWindow({"#32770", "エラー", true, false}, kTimeoutMs);
  ASSERT_NE(box, nullptr) << child_.DescribeWindows();
  // The message box's text is its static control 0xFFFF.
  EXPECT_EQ(cvt::drive::WindowText(GetDlgItem(box, 0xFFFF)),
            "カラム定義ファイルが存在しません。\r\nアプリケーションを起動できません。");
  const HWND cancel = GetDlgItem(box, IDCANCEL);
  EXPECT_TRUE(cancel == nullptr || !IsWindowVisible(cancel)) << "OK alone";
  DWORD_PTR unused = 0;
  SendMessageTimeoutA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &unused);
  EXPECT_TRUE(child_.WaitForExit(kTimeoutMs)) << "still running with " << child_.DescribeWindows();
  EXPECT_EQ(GetFileAttributesA(File("cvt.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A name whose second byte is a backslash: a reader that splits it shows it.
const std::string kName = "表.exe";
const std::string kSchedules = "[General]\r\nNumOfMgr=1\r\n[Mgr0]\r\nFileName=" + kName + "\r\nFilePath=C:\\" +
                               kName + "\r\nOperation=1\r\nOption=1\r\nTimer=2.5\r\n";
// NULs, lead bytes without their trail bytes and a count beyond reason.
constexpr char kJunk[] = "[List0]\r\nCount=99999999\r\n\0\x81[\x82\r\n=\x1A\xFF";

std::string LfOnly(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

std::string Utf16(const std::string& ansi) {
  std::wstring wide(ansi.size(), L'\0');
  const int size = static_cast<int>(ansi.size());
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), size)));
  return std::string("\xFF\xFE", 2) + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

std::string ManySections() {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "[S" + std::to_string(i) + "]\r\nx=1\r\n";
  return text + "[General]\r\nNum=1\r\n";
}

struct HostileCase {
  const char* name;
  const char* file;
  std::string bytes;
  bool readOnly;
};

class HostileIniE2eTest : public StartupE2eTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileIniE2eTest, StartsClosesAndKeepsWhatItRead) {
  const HostileCase& c = GetParam();
  CopyColumnIni();
  const std::string path = File(c.file);
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(out, c.bytes.data(), static_cast<DWORD>(c.bytes.size()), &written, nullptr);
  CloseHandle(out);
  ASSERT_EQ(written, c.bytes.size());
  if (c.readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);

  Start();
  const HWND main = WaitForMainWindow();
  ASSERT_NE(main, nullptr) << child_.DescribeWindows();
  CloseThroughTheWindow(main);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that the folder can go
  if (std::string(c.file) == "cvtmgr.ini") {
    char name[64] = {};
    GetPrivateProfileStringA("Mgr0", "FileName", "", name, sizeof name, path.c_str());
    EXPECT_EQ(name, kName);
  }
}

INSTANTIATE_TEST_SUITE_P(
    ReaderPaths, HostileIniE2eTest,
    ::testing::Values(HostileCase{"SnapshotLfOnly", "cvtmgr.ini", LfOnly(kSchedules), false},
                      HostileCase{"SystemUtf16", "cvtmgr.ini", Utf16(kSchedules), false},
                      HostileCase{"SystemBinaryJunk", "cvt.ini", std::string(kJunk, sizeof kJunk - 1), false},
                      HostileCase{"ManySections", "cvtpdb.ini", ManySections(), false},
                      HostileCase{"ReadOnly", "cvtmgr.ini", kSchedules, true}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

}  // namespace
