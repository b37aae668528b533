// Small pieces the benchmarks share: medians, message pumping, PSAPI, the
// children a benchmark starts, and the resource counts it watches.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "../tests/support/Drive.h"

namespace cvt::bench {

// Copies each source into the folder under its name. A folder that cannot be
// made or filled is said on stderr.
inline bool PrepareProgramFolder(const cvt::drive::TempFolder& folder,
                                 const std::vector<std::pair<std::string, std::string>>& sourceAndName) {
    bool ok = !folder.Path().empty();
    for (const auto& [source, name] : sourceAndName)
        ok = ok && CopyFileA(source.c_str(), (folder.Path() + name).c_str(), FALSE);
    if (!ok) std::fprintf(stderr, "cannot prepare the program folder\n");
    return ok;
}

// A box the program showed means the run measured something else: each is named.
inline bool NoMessageBoxes(const std::vector<std::string>& messages) {
    for (const std::string& text : messages) std::fprintf(stderr, "message box: %s\n", text.c_str());
    return messages.empty();
}

inline double Max(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

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

// Every process a benchmark starts: ended on destruction, and by the
// kill-on-close job should the benchmark die first.
class Processes {
public:
    Processes() : job_(CreateJobObjectA(nullptr, nullptr)) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (job_ != nullptr) SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    Processes(const Processes&) = delete;  // owns the handles
    Processes& operator=(const Processes&) = delete;
    ~Processes() {
        EndFrom(0);
        if (job_ != nullptr) CloseHandle(job_);
    }

    // Starts a detached sleeper (a console child would bring a conhost.exe of its own under Wine).
    bool StartSleeper(const std::string& exe) {
        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS | CREATE_SUSPENDED,
                            nullptr, nullptr, &startup, &info)) {
            std::fprintf(stderr, "cannot start a child (error %lu)\n", GetLastError());
            return false;
        }
        Adopt(info.hProcess);
        ResumeThread(info.hThread);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return true;
    }

    // Takes over a process started elsewhere (a duplicate of its handle).
    void Adopt(HANDLE process) {
        HANDLE own = nullptr;
        DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS);
        if (own == nullptr) return;
        if (job_ != nullptr) AssignProcessToJobObject(job_, own);
        handles_.push_back(own);
    }

    [[nodiscard]] size_t Count() const noexcept { return handles_.size(); }

    bool WaitUntilLoaded(const Psapi& psapi) const {
        const DWORD start = GetTickCount();
        for (HANDLE process : handles_) {
            while (!psapi.ModulePathReadable(process)) {
                if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || GetTickCount() - start > 120000) {
                    std::fprintf(stderr, "a child did not come up\n");
                    return false;
                }
                Sleep(10);
            }
        }
        return true;
    }

    // Ends the processes started from index first on.
    void EndFrom(size_t first) {
        for (size_t i = first; i < handles_.size(); ++i) TerminateProcess(handles_[i], 0);
        for (size_t i = first; i < handles_.size(); ++i) {
            WaitForSingleObject(handles_[i], 5000);
            CloseHandle(handles_[i]);
        }
        handles_.resize(std::min(first, handles_.size()));
    }

private:
    HANDLE job_;
    std::vector<HANDLE> handles_;
};

inline BOOL CALLBACK CollectListView(HWND window, LPARAM param) {
    if (cvt::drive::ClassNameOf(window) == WC_LISTVIEWA) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// Rows of a list view of any process; -1 when it does not answer.
inline int ItemCount(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return -1;
    return static_cast<int>(count);
}

// The process list: the list view of the main window with the most rows (the
// children alone make it the longest by far).
inline HWND ProcessList(HWND main) {
    std::vector<HWND> lists;
    EnumChildWindows(main, CollectListView, reinterpret_cast<LPARAM>(&lists));
    HWND best = nullptr;
    int bestCount = -1;
    for (HWND list : lists) {
        const int count = ItemCount(list);
        if (count > bestCount) best = list, bestCount = count;
    }
    return best;
}

// Starts and closes a program once, unmeasured.
inline bool WarmUp(const std::string& exe, const std::string& folder) {
    cvt::drive::ChildProcess program;
    if (!program.Start(exe, folder)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return false;
    }
    const HWND main = program.WaitForWindow({"", "", true, true}, 60000, 10);
    if (main == nullptr) {
        std::fprintf(stderr, "%s: no main window; %s\n", exe.c_str(), program.DescribeWindows().c_str());
        return false;
    }
    WaitForInputIdle(program.Handle(), 60000);
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!program.WaitForExit(30000)) {
        std::fprintf(stderr, "%s: still running 30 s after WM_CLOSE\n", exe.c_str());
        return false;
    }
    return true;
}

// Kernel handles a process holds, from the system's handle table; -1 when the
// system cannot tell. GetProcessHandleCount answers 0 under Wine, so it is not asked.
inline long HandleCount(DWORD processId) {
    using QueryFn = LONG(NTAPI*)(ULONG, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return -1;
    // SystemHandleInformation: a count, then one 16-byte record per handle whose
    // first field is the owner's process ID (16 bits wide).
    struct Entry {
        USHORT processId;
        USHORT creatorBackTraceIndex;
        UCHAR objectType;
        UCHAR attributes;
        USHORT handle;
        void* object;
        ACCESS_MASK access;
    };
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<unsigned char> buffer(256 * 1024);
    ULONG needed = 0;
    LONG status = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
               kInfoLengthMismatch &&
           buffer.size() < (64u << 20))
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
    if (status != 0) return -1;
    ULONG count = 0;
    std::copy_n(buffer.data(), sizeof count, reinterpret_cast<unsigned char*>(&count));
    const size_t fits = (buffer.size() - sizeof(ULONG_PTR)) / sizeof(Entry);
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    long mine = 0;
    for (size_t i = 0; i < std::min<size_t>(count, fits); ++i)
        if (entries[i].processId == static_cast<USHORT>(processId)) ++mine;
    return mine;
}

// Committed private memory of a process (its "private bytes"), by walking its
// address space: Wine leaves PROCESS_MEMORY_COUNTERS_EX::PrivateUsage at 0.
inline size_t PrivateBytes(HANDLE process) {
    size_t total = 0;
    const char* address = nullptr;
    MEMORY_BASIC_INFORMATION region;
    while (VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

// Live GDI objects of this process by Wine's type byte, from the process's own
// GDI handle table (Wine's layout: 65536 entries of 24 bytes, a non-zero type
// byte for a live object), which the PEB points to; empty where there is none.
inline std::map<int, long> WineGdiObjectsByType() {
    std::map<int, long> counts;
#if defined(__i386__)
    struct WineGdiEntry {
        unsigned long long object;
        ULONG owner;
        USHORT unique;
        UCHAR type;
        UCHAR flags;
        unsigned long long user;
    };
    static_assert(sizeof(WineGdiEntry) == 24);
    using QueryProcessFn = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return counts;
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const WineGdiEntry* table = nullptr;
    std::copy_n(peb + 0x94, sizeof table, reinterpret_cast<unsigned char*>(&table));  // GdiSharedHandleTable
    if (table == nullptr) return counts;
    for (size_t i = 0; i < 0x10000; ++i)
        if (table[i].type != 0) ++counts[table[i].type];
#endif
    return counts;
}

// GDI objects of this process; GetGuiResources answers 0 under Wine, where its
// GDI handle table is counted instead. -1 when neither tells.
inline long GdiObjectCount() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return static_cast<long>(reported);
    long live = 0;
    for (const auto& [type, count] : WineGdiObjectsByType()) live += count;
    return live > 0 ? live : -1;
}

}  // namespace cvt::bench
