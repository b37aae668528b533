// The system audit from the main menu, on values planted in the prefix's
// registry and accessibility programs put in a folder of the test's own.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "GuiTestSupport.h"
#include "editor/VellEdit.h"
#include "lists/CommandIds.h"

using namespace cvt;
using namespace cvt::test;
using testing::HasSubstr;
using testing::Not;

namespace {

constexpr char kIfeo[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\";

// A value written for the test; the value or key it replaced comes back with the object.
class PlantedValue {
public:
    PlantedValue(const std::string& key, const char* name, const std::string& value) : key_(key), name_(name) {
        DWORD disposition = 0;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle_,
                        &disposition);
        createdKey_ = disposition == REG_CREATED_NEW_KEY;
        char old[1024] = {};
        DWORD size = sizeof old - 1;
        if (RegQueryValueExA(handle_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS)
            old_ = old;
        RegSetValueExA(handle_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    ~PlantedValue() {
        if (old_) RegSetValueExA(handle_, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_->c_str()),
                                 static_cast<DWORD>(old_->size() + 1));
        else RegDeleteValueA(handle_, name_);
        RegCloseKey(handle_);
        if (createdKey_) RegDeleteKeyA(HKEY_LOCAL_MACHINE, key_.c_str());
    }
    PlantedValue(const PlantedValue&) = delete;
    PlantedValue& operator=(const PlantedValue&) = delete;

private:
    std::string key_;
    const char* name_;
    HKEY handle_ = nullptr;
    bool createdKey_ = false;
    std::optional<std::string> old_;
};

std::string RunAudit(MainFormHost& host, const std::string& programFolder) {
    host.Form().Report().SetAuditProgramFolder(programFolder);
    SendMessageA(host.Form().Hwnd(), WM_COMMAND, cmd::MiFileSystemAudit, 0);
    return host.Form().Report().SedReport().GetText();
}

}  // namespace

TEST(SystemAudit, PlantedFindingsAreListedWithTheirLevelsAndGoAwayWithTheirValues) {
    TempFolder folder, programs;
    folder.CopyShippedColumnIni();
    CopyFileA(SourceTreePath(CVT_VERSION_SAMPLE_DIR "/vi_one_translation.exe").c_str(), programs.File("osk.exe").c_str(),
              FALSE);
    CopyFileA(SourceTreePath(CVT_SLEEPER_EXE).c_str(), programs.File("magnify.exe").c_str(), FALSE);
    ChildProcess running(folder, "cvtaudit-running.exe");
    MainFormHost host(folder);
    const std::string programFolder = programs.Path().substr(0, programs.Path().size() - 1);
    std::string text;
    {
        const PlantedValue sethc(std::string(kIfeo) + "sethc.exe", "Debugger", "C:\\windows\\system32\\cmd.exe");
        const PlantedValue live(std::string(kIfeo) + "cvtaudit-running.exe", "Debugger", "C:\\evil\\live.exe");
        const PlantedValue idle(std::string(kIfeo) + "cvtaudit-idle.exe", "Debugger", "C:\\tools\\dbg.exe");
        const std::string winlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
        const PlantedValue shell(winlogon, "Shell", "explorer.exe C:\\evil\\shell.exe");
        const PlantedValue userinit(winlogon, "Userinit", "C:\\windows\\system32\\userinit.exe,C:\\evil\\u.exe");
        const PlantedValue appInit("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "AppInit_DLLs",
                                   "C:\\evil\\hook.dll");
        text = RunAudit(host, programFolder);
    }
    EXPECT_EQ(host.Form().ActivePage(), kPageReport);
    for (const std::string line : {"[危険] IFEO\\sethc.exe Debugger=C:\\windows\\system32\\cmd.exe\r\n",
                                   "[危険] IFEO\\cvtaudit-running.exe Debugger=C:\\evil\\live.exe\r\n",
                                   "[警告] IFEO\\cvtaudit-idle.exe Debugger=C:\\tools\\dbg.exe\r\n",
                                   "[警告] Winlogon Shell=explorer.exe C:\\evil\\shell.exe\r\n",
                                   "[危険] Winlogon Userinit=C:\\windows\\system32\\userinit.exe,C:\\evil\\u.exe\r\n",
                                   "[警告] Windows AppInit_DLLs=C:\\evil\\hook.dll\r\n"})
        EXPECT_THAT(text, HasSubstr(line));
    EXPECT_THAT(text, HasSubstr("[危険] " + programs.File("osk.exe") + " OriginalFilename=sample1.exe\r\n"));
    EXPECT_THAT(text, HasSubstr("[危険] " + programs.File("magnify.exe") + " OriginalFilename=(なし)\r\n"));

    // Each value put back: nothing of them is left to find.
    const std::string after = RunAudit(host, folder.Path().substr(0, folder.Path().size() - 1));
    for (const char* gone : {"sethc.exe", "cvtaudit", "Winlogon", "AppInit_DLLs", "OriginalFilename"})
        EXPECT_THAT(after, Not(HasSubstr(gone)));
}
