// The system audit from the main menu, on values planted in the prefix's
// registry and accessibility programs in a folder of the test's own; how each
// value is judged is tested natively.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "GuiTestSupport.h"
#include "editor/VellEdit.h"
#include "lists/CommandIds.h"

using namespace cvt;
using namespace cvt::test;
using testing::HasSubstr;
using testing::Not;

namespace {

constexpr char kIfeo[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\";

// Values written for the test; each old value, or its absence, comes back at the end.
class PlantedValues {
public:
    ~PlantedValues() {
        for (; !undo_.empty(); undo_.pop_back()) undo_.back()();
    }
    void Set(const std::string& key, const char* name, const std::string& value) {
        HKEY handle = nullptr;
        DWORD made = 0;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, &made);
        char old[1024] = {};
        DWORD size = sizeof old - 1;
        const bool had = RegQueryValueExA(handle, name, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == 0;
        Write(handle, name, value);
        undo_.push_back([=, old = std::string(old)] {
            if (had) Write(handle, name, old);
            else RegDeleteValueA(handle, name);
            RegCloseKey(handle);
            if (made == REG_CREATED_NEW_KEY) RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
        });
    }

private:
    static void Write(HKEY key, const char* name, const std::string& value) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    std::vector<std::function<void()>> undo_;
};

}  // namespace

TEST(SystemAudit, PlantedFindingsAreListedWithTheirLevels) {
    TempFolder folder, programs;
    folder.CopyShippedColumnIni();
    CopyFileA(SourceTreePath(CVT_VERSION_SAMPLE_DIR "/vi_one_translation.exe").c_str(), programs.File("osk.exe").c_str(),
              FALSE);
    CopyFileA(SourceTreePath(CVT_SLEEPER_EXE).c_str(), programs.File("magnify.exe").c_str(), FALSE);
    ChildProcess running(folder, "cvtaudit-running.exe");
    MainFormHost host(folder);
    PlantedValues planted;
    planted.Set(std::string(kIfeo) + "cvtaudit-running.exe", "Debugger", "C:\\evil\\live.exe");
    const std::string winlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    planted.Set(winlogon, "Shell", "explorer.exe C:\\evil\\shell.exe");
    planted.Set(winlogon, "Userinit", "C:\\windows\\system32\\userinit.exe,C:\\evil\\u.exe");
    planted.Set("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "AppInit_DLLs", "C:\\evil\\hook.dll");
    host.Form().Report().SetAuditProgramFolder(programs.Path().substr(0, programs.Path().size() - 1));
    SendMessageA(host.Form().Hwnd(), WM_COMMAND, cmd::MiFileSystemAudit, 0);
    const std::string text = host.Form().Report().SedReport().GetText();
    EXPECT_EQ(host.Form().ActivePage(), kPageReport);
    for (const std::string line : {"[危険] IFEO\\cvtaudit-running.exe Debugger=C:\\evil\\live.exe\r\n",
                                   "[警告] Winlogon Shell=explorer.exe C:\\evil\\shell.exe\r\n",
                                   "[危険] Winlogon Userinit=C:\\windows\\system32\\userinit.exe,C:\\evil\\u.exe\r\n",
                                   "[警告] Windows AppInit_DLLs=C:\\evil\\hook.dll\r\n"})
        EXPECT_THAT(text, HasSubstr(line));
    EXPECT_THAT(text, HasSubstr("[危険] " + programs.File("osk.exe") + " OriginalFilename=sample1.exe\r\n"));
    EXPECT_THAT(text, HasSubstr("[危険] " + programs.File("magnify.exe") + " OriginalFilename=(なし)\r\n"));
    EXPECT_THAT(text, Not(HasSubstr(programs.File("sethc.exe"))));  // absent, as on Windows 2000
}
