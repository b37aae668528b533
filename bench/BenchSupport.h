// Small pieces the benchmarks share: medians, message pumping, PSAPI.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace cvt::bench {

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Dispatches what is queued; a WM_QUIT (a destroyed form posts one) is dropped.
inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The two PSAPI functions, looked up as the program does, from the system folder.
struct Psapi {
    using EnumModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
    using ModuleFileNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD);
    EnumModulesFn enumModules = nullptr;
    ModuleFileNameFn moduleFileName = nullptr;

    // The library stays loaded until the benchmark ends.
    bool Load() {
        char folder[MAX_PATH] = {};
        GetSystemDirectoryA(folder, MAX_PATH);
        HMODULE psapi = LoadLibraryA((std::string(folder) + "\\PSAPI.dll").c_str());
        if (psapi == nullptr) return false;
        enumModules = reinterpret_cast<EnumModulesFn>(reinterpret_cast<void*>(GetProcAddress(psapi, "EnumProcessModules")));
        moduleFileName =
            reinterpret_cast<ModuleFileNameFn>(reinterpret_cast<void*>(GetProcAddress(psapi, "GetModuleFileNameExA")));
        return enumModules != nullptr && moduleFileName != nullptr;
    }

    // True once the process is loaded far enough to name its first module.
    bool ModulePathReadable(HANDLE process) const {
        HMODULE first = nullptr;
        DWORD needed = 0;
        char path[MAX_PATH];
        return enumModules(process, &first, sizeof first, &needed) && moduleFileName(process, first, path, MAX_PATH) != 0;
    }
};

}  // namespace cvt::bench
