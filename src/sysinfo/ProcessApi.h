// The process functions that older systems may lack, looked up on first use:
// ToolHelp in kernel32 (absent on NT 4.0), EnumProcessModules and
// GetModuleFileNameExA in PSAPI.dll (absent on the 95/98/Me family). A missing
// function makes its call fail quietly. PSAPI.dll stays loaded until the end.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include "base/Handles.h"

namespace cvt {

class ProcessApi {
public:
    ProcessApi() = default;
    ProcessApi(const ProcessApi&) = delete;  // owns the loaded library
    ProcessApi& operator=(const ProcessApi&) = delete;

    // 0 when ToolHelp is missing, INVALID_HANDLE_VALUE when the system refuses.
    HANDLE CreateSnapshot(DWORD flags, DWORD processId);
    BOOL First(HANDLE snapshot, PROCESSENTRY32& entry);
    BOOL Next(HANDLE snapshot, PROCESSENTRY32& entry);
    BOOL EnumModules(HANDLE process, HMODULE* modules, DWORD bytes, DWORD* needed);
    DWORD ModuleFileName(HANDLE process, HMODULE module, char* buffer, DWORD size);

private:
    void LoadToolHelp();
    void LoadPsapi();

    using SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
    using WalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    using EnumModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
    using ModuleFileNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD);

    bool toolHelpLooked_ = false;
    SnapshotFn createSnapshot_ = nullptr;
    WalkFn first_ = nullptr;
    WalkFn next_ = nullptr;
    bool psapiLooked_ = false;
    UniqueLibrary psapi_;
    EnumModulesFn enumModules_ = nullptr;
    ModuleFileNameFn moduleFileName_ = nullptr;
};

}  // namespace cvt
