// The audit's facts from the registry, the process snapshot and the files.
#include "sysinfo/HijackAuditWin32.h"

#include <optional>

#include "../../res/resource.h"
#include "base/AppPath.h"
#include "base/Handles.h"
#include "base/StringTable.h"
#include "base/SystemLibrary.h"
#include "details/VersionInfo.h"
#include "sysinfo/DebuggerValue.h"

namespace cvt {
namespace {

constexpr char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

UniqueRegKey OpenForReading(const std::string& path, REGSAM viewFlag) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | viewFlag, &raw) != ERROR_SUCCESS) return {};
    return UniqueRegKey(raw);
}

// A text value, its variables expanded; nullopt when absent or not text.
std::optional<std::string> ReadText(HKEY key, const char* name) {
    DWORD type = 0, size = 0;
    if (key == nullptr || RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    std::string value(size + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
        return {};
    value.resize(strnlen(value.c_str(), value.size()));
    if (type == REG_EXPAND_SZ) {
        char expanded[2048];
        const DWORD n = ExpandEnvironmentStringsA(value.c_str(), expanded, sizeof expanded);
        if (n > 0 && n <= sizeof expanded) value = expanded;
    }
    return value;
}

std::vector<ImageDebugger> ReadDebuggers(const std::string& optionsKey, REGSAM viewFlag) {
    std::vector<ImageDebugger> debuggers;
    UniqueRegKey options = OpenForReading(optionsKey, viewFlag);
    if (!options) return debuggers;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        const LONG result = RegEnumKeyExA(options.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) continue;  // no image name is this long
        if (result != ERROR_SUCCESS) break;
        UniqueRegKey image = OpenForReading(optionsKey + "\\" + name, viewFlag);
        if (auto debugger = ReadText(image.Get(), "Debugger")) debuggers.push_back({name, std::move(*debugger)});
    }
    return debuggers;
}

RegistryFacts ReadView(unsigned view, REGSAM viewFlag, const std::string& optionsKey) {
    RegistryFacts facts;
    facts.view = view;
    facts.debuggers = ReadDebuggers(optionsKey, viewFlag);
    UniqueRegKey winlogon = OpenForReading(kWinlogonKey, viewFlag);
    facts.shell = ReadText(winlogon.Get(), "Shell");
    facts.userinit = ReadText(winlogon.Get(), "Userinit");
    UniqueRegKey windows = OpenForReading(kWindowsKey, viewFlag);
    facts.appInitDlls = ReadText(windows.Get(), "AppInit_DLLs");
    return facts;
}

// A 32-bit program on 64-bit Windows sees the 32-bit view unless it asks for the other.
bool RunsUnderWow64() {
#ifdef _WIN64
    return false;
#else
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
    // Absent before XP SP2: such systems have no 64-bit edition to run on.
    auto isWow64 = LookUpFunction<IsWow64ProcessFn>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64;
#endif
}

// Under WOW64 the system folder of a 32-bit program is SysWOW64; the logon screen starts the native programs.
class NativeFileSystem {
public:
    explicit NativeFileSystem(bool wow64) {
        if (!wow64) return;
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        auto disable = LookUpFunction<BOOL(WINAPI*)(PVOID*)>(kernel, "Wow64DisableWow64FsRedirection");
        revert_ = LookUpFunction<BOOL(WINAPI*)(PVOID)>(kernel, "Wow64RevertWow64FsRedirection");
        if (disable == nullptr || revert_ == nullptr || !disable(&old_)) revert_ = nullptr;
    }
    ~NativeFileSystem() {
        if (revert_ != nullptr) revert_(old_);
    }
    NativeFileSystem(const NativeFileSystem&) = delete;  // reverts once
    NativeFileSystem& operator=(const NativeFileSystem&) = delete;

private:
    BOOL(WINAPI* revert_)(PVOID) = nullptr;
    PVOID old_ = nullptr;
};

std::vector<std::string> RunningImages(ProcessApi& api) {
    std::vector<std::string> images;
    UniqueKernelHandle snapshot(api.CreateSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return images;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = api.First(snapshot.Get(), entry); more; more = api.Next(snapshot.Get(), entry))
        images.emplace_back(FileNamePart(entry.szExeFile));  // 95/98/Me give the full path
    return images;
}

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(folder, n) : std::string();
}

}  // namespace

AuditFacts ReadAuditFacts(const AuditSources& sources, ProcessApi& api) {
    AuditFacts facts;
    const RegistrationKey registration = SplitRegistrationKey(LoadText(IDS_TASKMGR_IFEO_KEY));
    facts.ownDebuggerCommand = DebuggerCommand(sources.appDir);
    facts.taskManagerImage = registration.image;
    facts.systemFolder = SystemFolder();
    const bool wow64 = RunsUnderWow64();
    if (wow64) {
        facts.views.push_back(ReadView(kView64, KEY_WOW64_64KEY, registration.optionsKey));
        facts.views.push_back(ReadView(kView32, KEY_WOW64_32KEY, registration.optionsKey));
    } else {
        facts.views.push_back(ReadView(kViewOnly, 0, registration.optionsKey));
    }
    facts.runningImages = RunningImages(api);
    const std::string folder = sources.programFolder.empty() ? facts.systemFolder : sources.programFolder;
    const NativeFileSystem native(wow64 && sources.programFolder.empty());
    for (std::string_view program : AccessibilityPrograms()) {
        const std::string path = folder + "\\" + std::string(program);
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;  // 2000 has no sethc.exe
        TVersionInfo info;
        info.SetFileName(path, VersionInfoPart::VersionResource);
        facts.accessibilityFiles.push_back({path, info.OriginalFilename()});
    }
    return facts;
}

}  // namespace cvt
