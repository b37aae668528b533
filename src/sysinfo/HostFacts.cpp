// Folders from the system, version from GetVersionExA, Wine by its ntdll export.
#include "sysinfo/HostFacts.h"

#include <windows.h>

#include "base/SystemLibrary.h"

namespace cvt {
namespace {

std::string Folder(UINT (*read)(char*, UINT)) {
    char folder[MAX_PATH] = {};
    const UINT length = read(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

UINT WindowsFolder(char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); }
UINT SystemFolder(char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); }
UINT SystemFolder32(char* buffer, UINT size) {
    using Fn = UINT(WINAPI*)(char*, UINT);  // absent before XP
    static const Fn read = LookUpFunction<Fn>(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA");
    return read != nullptr ? read(buffer, size) : 0;
}

}  // namespace

HostFacts ReadHostFacts() {
    HostFacts facts;
    facts.windowsFolder = Folder(WindowsFolder);
    facts.systemFolder = Folder(SystemFolder);
    facts.systemFolder32 = Folder(SystemFolder32);
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version)) {
        facts.ntFamily = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        facts.major = version.dwMajorVersion;
        facts.minor = version.dwMinorVersion;
    }
    facts.underWine = LookUpFunction<FARPROC>(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return facts;
}

std::string SystemRootFolder() {
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("SystemRoot", value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value, length) : std::string();
}

}  // namespace cvt
