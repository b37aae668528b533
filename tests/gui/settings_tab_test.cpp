// The Settings page: refresh rate and timer, and the standard task manager
// registration in the real registry of the Wine prefix.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "GuiTestSupport.h"
#include "lists/CommandIds.h"
#include "ui/Controls.h"
#include "ui/ListView.h"

using namespace cvt;
using namespace cvt::test;

namespace {

constexpr char kTaskManagerKey[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\taskmgr.exe";

// Every list in cvt.ini, so that the General options are read from it.
std::string SettingsWith(const std::string& general) {
    std::string ini = "[General]\r\n" + general;
    for (int n = 0; n < 3; ++n)
        ini += "[List" + std::to_string(n) + "]\r\nCount=1\r\nIndex0=0\r\nWidth0=100\r\n";
    return ini;
}

// The Debugger value as the registry holds it; "<none>" when absent.
std::string DebuggerValue(DWORD* typeOut = nullptr) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTaskManagerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
    char value[512] = {};
    DWORD size = sizeof value, type = 0;
    const LONG result = RegQueryValueExA(key, "Debugger", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (typeOut != nullptr) *typeOut = type;
    return result == ERROR_SUCCESS ? std::string(value) : "<none>";
}

void SetDebuggerValue(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTaskManagerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "Debugger", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void RemoveDebuggerKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTaskManagerKey); }

class SettingsTabTest : public testing::Test {
protected:
    SettingsTabTest() : folder_(" with blank") {
        folder_.CopyShippedColumnIni();
        RemoveDebuggerKey();
    }
    ~SettingsTabTest() override { RemoveDebuggerKey(); }

    void Click(TFrmCVT& form, int id) {
        SendMessageA(form.Control(id), BM_CLICK, 0, 0);
        PumpMessages();
    }

    TempFolder folder_;
    MessageLog messages_;
};

}  // namespace

TEST_F(SettingsTabTest, RatePositionSetsLabelAndTimer) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    HWND trackBar = form.Control(cmd::TrbRefreshRate);
    const std::tuple<int, const char*, unsigned> positions[] = {{2, "更新なし", 0}, {3, "3秒", 3000}, {59, "59秒", 59000}};
    for (const auto& [position, label, interval] : positions) {
        SendMessageA(trackBar, TBM_SETPOS, TRUE, position);
        form.Settings().TrbRefreshRateChange();
        EXPECT_EQ(WindowText(form.Settings().RefreshRateLabel()), label);
        EXPECT_EQ(form.RefreshInterval(), interval);
    }
    SendMessageA(trackBar, TBM_SETPOS, TRUE, 3);
    form.Settings().TrbRefreshRateChange();
    // Notifications that leave the interval as it was do not postpone the tick.
    SendMessageA(form.ListView(0), LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < 45 && ui::ListRowCount(form.ListView(0)) == 0; ++i) {
        SendMessageA(form.Hwnd(), WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(trackBar));
        PumpMessages(100);
    }
    EXPECT_GT(ui::ListRowCount(form.ListView(0)), 0);
}

TEST_F(SettingsTabTest, ATickWaitsOnlyForTheReportAndForItsOwnWork) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    HWND processes = form.ListView(0);
    SendMessageA(processes, LVM_DELETEALLITEMS, 0, 0);
    form.State().reportInProgress = true;
    form.RefreshTimerTimer();
    EXPECT_EQ(ui::ListRowCount(processes), 0);
    form.State().reportInProgress = false;
    // A tick queued behind this one is not run inside it.
    PostMessageA(processes, LVM_DELETEALLITEMS, 0, 0);
    PostMessageA(form.Hwnd(), WM_TIMER, 1, 0);
    form.RefreshTimerTimer();
    EXPECT_EQ(ui::ListRowCount(processes), 0);
    // A box opened from the tick's own dispatching: the timer goes on refreshing under it.
    int rowsUnderTheBox = 0;
    ui::SetMessageResponder([&](const ui::MessageRecord&) {
        SendMessageA(processes, LVM_DELETEALLITEMS, 0, 0);
        PostMessageA(form.Hwnd(), WM_TIMER, 1, 0);
        PumpMessages();
        rowsUnderTheBox = ui::ListRowCount(processes);
        return IDOK;
    });
    PostMessageA(form.Hwnd(), WM_COMMAND, cmd::MiHelpAbout, 0);
    form.RefreshTimerTimer();
    EXPECT_GT(rowsUnderTheBox, 0);
}

TEST_F(SettingsTabTest, CheckingWritesTheQuotedCommandAndUncheckingRemovesOnlyOurs) {
    MainFormHost host(folder_);
    TFrmCVT& form = host.Form();
    Click(form, cmd::ChkStandardization);
    DWORD type = 0;
    // The folder's name has a blank: the command is quoted.
    EXPECT_EQ(DebuggerValue(&type), "\"" + folder_.Path() + "cvt.exe\"");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    Click(form, cmd::ChkStandardization);
    EXPECT_EQ(DebuggerValue(), "<none>");

    // Another program's registration stays.
    const char other[] = "C:\\Tools\\procexp.exe";
    SetDebuggerValue(REG_SZ, other, sizeof other);
    Click(form, cmd::ChkStandardization);
    Click(form, cmd::ChkStandardization);  // checking replaced it with ours, unchecking removes ours
    EXPECT_EQ(DebuggerValue(), "<none>");
    ui::SetChecked(form.Control(cmd::ChkStandardization), true);
    SetDebuggerValue(REG_SZ, other, sizeof other);
    Click(form, cmd::ChkStandardization);
    EXPECT_EQ(DebuggerValue(), other);
    EXPECT_TRUE(messages_.Records().empty());
}

namespace {

std::string StartupShortcutPath() {
    char folder[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE);
    return std::string(folder) + "\\cvt.lnk";
}

// Target and description of a .lnk, read through the shell.
std::pair<std::string, std::string> ReadShortcut(const std::string& path) {
    std::pair<std::string, std::string> result;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[MAX_PATH] = {};
                link->GetPath(text, MAX_PATH, nullptr, 0);
                result.first = text;
                link->GetDescription(text, MAX_PATH);
                result.second = text;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}

}  // namespace

TEST_F(SettingsTabTest, AStoredStartupOptionCreatesTheShortcutThroughTheLibrary) {
    const std::string shortcut = StartupShortcutPath();
    DeleteFileA(shortcut.c_str());
    folder_.Write("cvt.ini", SettingsWith("ChkRegisterStartup=True\r\n"));
    {
        // Without the library the start goes on silently.
        MainFormHost host(folder_);
        EXPECT_TRUE(ui::IsChecked(host.Form().Control(cmd::ChkRegisterStartup)));
        EXPECT_EQ(GetFileAttributesA(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(messages_.Records().empty());
    }
    ASSERT_TRUE(CopyFileA(SourceTreePath(CVT_SHORTCUT_DLL).c_str(), folder_.File("Shortcut.dll").c_str(), FALSE));
    MainFormHost host(folder_);
    const auto [target, description] = ReadShortcut(shortcut);
    EXPECT_EQ(lstrcmpiA(target.c_str(), folder_.File("cvt.exe").c_str()), 0) << target;
    EXPECT_EQ(description, "不審なプロセスを素早くチェックできるタスクマネージャ");

    // Unchecked, the shortcut goes.
    ui::SetChecked(host.Form().Control(cmd::ChkRegisterStartup), false);
    host.Form().Settings().ChkRegisterStartupClick();
    EXPECT_EQ(GetFileAttributesA(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
}
