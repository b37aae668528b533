// cvt.exe as its own process: start, main window, tabs, close, files written;
// and the refusal to start without column definitions.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/Drive.h"

namespace {

using cvt::drive::ChildProcess;
using cvt::drive::TempFolder;

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;

std::string CvtExe() { return cvt::drive::WindowsPath(cvt::drive::ArgValue(__argc, __argv, "cvt")); }

std::string SourceFile(const char* relative) {
  return cvt::drive::WindowsPath(std::string(CVT_SOURCE_DIR) + "/" + relative);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The tab captions of another process's tab control: the item and its text
// buffer must live in that process.
std::vector<std::string> TabCaptions(HWND tabControl, HANDLE process) {
  std::vector<std::string> captions;
  constexpr SIZE_T kTextSize = 256;
  auto* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof(TCITEMA) + kTextSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote == nullptr) return captions;
  const LRESULT count = SendMessageA(tabControl, TCM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = remote + sizeof(TCITEMA);
    item.cchTextMax = static_cast<int>(kTextSize);
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    SendMessageA(tabControl, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(remote));
    // The control may point pszText at its own copy instead of filling ours.
    TCITEMA filled{};
    char text[kTextSize] = {};
    ReadProcessMemory(process, remote, &filled, sizeof filled, nullptr);
    ReadProcessMemory(process, filled.pszText, text, sizeof text - 1, nullptr);
    captions.emplace_back(text);
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return captions;
}

class StartupE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(CvtExe().empty()) << "pass --cvt=<path of cvt.exe>";
    ASSERT_FALSE(folder_.Path().empty());
    ASSERT_TRUE(CopyFileA(CvtExe().c_str(), Exe().c_str(), FALSE)) << CvtExe();
  }

  std::string Exe() const { return folder_.Path() + "cvt.exe"; }

  // The working folder is elsewhere, so a file written beside the program
  // proves that the program went by its own path.
  void Start(const std::string& arguments = "") {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    ASSERT_TRUE(child_.Start(Exe(), temp, arguments)) << "CreateProcess failed: " << GetLastError();
  }

  TempFolder folder_{"cvt-e2e"};
  ChildProcess child_;
};

TEST_F(StartupE2eTest, ShowsTabsAndWritesSettingsWhenClosed) {
  ASSERT_TRUE(CopyFileA(SourceFile("data/column.ini").c_str(), (folder_.Path() + "column.ini").c_str(),
                        FALSE));
  Start();
  const HWND main = child_.WaitForWindow({"", "Corvault Ver 1.01", true, false}, kStartTimeoutMs);
  ASSERT_NE(main, nullptr) << child_.DescribeWindows();
  EXPECT_EQ(cvt::drive::ClassNameOf(main), "TFrmCVT");

  const HWND tabs = FindWindowExA(main, nullptr, "SysTabControl32", nullptr);
  ASSERT_NE(tabs, nullptr);
  // The hidden schedule page is no tab item.
  const std::vector<std::string> expected{"アプリケーション", "プロセス", "レポート", "設定"};
  EXPECT_EQ(TabCaptions(tabs, child_.Handle()), expected);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1) << "the process page is active at start";

  const std::string ini = folder_.Path() + "cvt.ini";
  EXPECT_FALSE(FileExists(ini)) << "written before the close";
  ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
  ASSERT_TRUE(child_.WaitForExit(kExitTimeoutMs)) << child_.DescribeWindows();
  EXPECT_EQ(child_.ExitCode(), 0u);

  ASSERT_TRUE(FileExists(ini));
  for (const char* name : {"General", "Window", "List0", "List1", "List2"}) {
    char first[8] = {};
    EXPECT_GT(GetPrivateProfileSectionA(name, first, sizeof first, ini.c_str()), 0u) << "no or empty section " << name;
  }
  // First start: the default geometry, shown normally.
  WINDOWPLACEMENT placement{};
  ASSERT_TRUE(GetPrivateProfileStructA("Window", "Placement", &placement, sizeof placement, ini.c_str()));
  EXPECT_EQ(placement.length, sizeof placement);
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(placement.rcNormalPosition.left, 197);
  EXPECT_EQ(placement.rcNormalPosition.top, 118);
  EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, 682);
  EXPECT_EQ(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, 483);
}

TEST_F(StartupE2eTest, WithoutColumnDefinitionsReportsErrorAndEnds) {
  Start();
  const HWND box = child_.WaitForWindow({"#32770", "エラー", true, false}, kStartTimeoutMs);
  ASSERT_NE(box, nullptr) << child_.DescribeWindows();

  // The message box's text is its static control 0xFFFF.
  const HWND text = GetDlgItem(box, 0xFFFF);
  ASSERT_NE(text, nullptr);
  const std::string message = cvt::drive::WindowText(text);
  EXPECT_EQ(message, "カラム定義ファイルが存在しません。\r\nアプリケーションを起動できません。");

  const HWND ok = GetDlgItem(box, IDOK);
  ASSERT_NE(ok, nullptr) << "an OK box";
  EXPECT_EQ(cvt::drive::WindowText(ok), "OK");
  const HWND cancel = GetDlgItem(box, IDCANCEL);
  EXPECT_TRUE(cancel == nullptr || !IsWindowVisible(cancel)) << "OK alone";
  DWORD_PTR unused = 0;
  SendMessageTimeoutA(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &unused);

  EXPECT_TRUE(child_.WaitForExit(kExitTimeoutMs)) << "still running with " << child_.DescribeWindows();
}

}  // namespace

// Started by Windows in place of taskmgr.exe, the program gets taskmgr's command
// line as arguments: it starts as usual.
TEST_F(StartupE2eTest, StartsNormallyWhenGivenTaskManagersCommandLine) {
  ASSERT_TRUE(CopyFileA(SourceFile("data/column.ini").c_str(), (folder_.Path() + "column.ini").c_str(), FALSE));
  Start("C:\\windows\\system32\\taskmgr.exe /7");
  const HWND main = child_.WaitForWindow({"", "Corvault Ver 1.01", true, false}, kStartTimeoutMs);
  ASSERT_NE(main, nullptr) << child_.DescribeWindows();
  ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
  ASSERT_TRUE(child_.WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(child_.ExitCode(), 0u);
}
