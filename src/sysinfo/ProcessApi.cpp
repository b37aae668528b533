// Run-time lookup of ToolHelp and PSAPI.
#include "sysinfo/ProcessApi.h"

#include "base/SystemLibrary.h"

namespace cvt {

void ProcessApi::LoadToolHelp() {
    if (toolHelpLooked_) return;
    toolHelpLooked_ = true;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    createSnapshot_ = LookUpFunction<SnapshotFn>(kernel, "CreateToolhelp32Snapshot");
    first_ = LookUpFunction<WalkFn>(kernel, "Process32First");
    next_ = LookUpFunction<WalkFn>(kernel, "Process32Next");
}

void ProcessApi::LoadPsapi() {
    if (psapiLooked_) return;
    psapiLooked_ = true;
    psapi_ = LoadSystemLibrary("PSAPI.dll");
    enumModules_ = LookUpFunction<EnumModulesFn>(psapi_.Get(), "EnumProcessModules");
    moduleFileName_ = LookUpFunction<ModuleFileNameFn>(psapi_.Get(), "GetModuleFileNameExA");
}

HANDLE ProcessApi::CreateSnapshot(DWORD flags, DWORD processId) {
    LoadToolHelp();
    return createSnapshot_ != nullptr ? createSnapshot_(flags, processId) : nullptr;
}

BOOL ProcessApi::First(HANDLE snapshot, PROCESSENTRY32& entry) {
    LoadToolHelp();
    return first_ != nullptr ? first_(snapshot, &entry) : FALSE;
}

BOOL ProcessApi::Next(HANDLE snapshot, PROCESSENTRY32& entry) {
    LoadToolHelp();
    return next_ != nullptr ? next_(snapshot, &entry) : FALSE;
}

BOOL ProcessApi::EnumModules(HANDLE process, HMODULE* modules, DWORD bytes, DWORD* needed) {
    LoadPsapi();
    return enumModules_ != nullptr ? enumModules_(process, modules, bytes, needed) : FALSE;
}

DWORD ProcessApi::ModuleFileName(HANDLE process, HMODULE module, char* buffer, DWORD size) {
    LoadPsapi();
    return moduleFileName_ != nullptr ? moduleFileName_(process, module, buffer, size) : 0;
}

}  // namespace cvt
