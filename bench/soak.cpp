// Long run of cvt.exe as its own process, refreshing every 3 s with 100 sleeper
// children: its private bytes and handle count, sampled once a minute.
//
//   soak --cvt=PATH --column=PATH --sleeper=PATH [--minutes=N (default 60)]
//        [--processes=N (default 100)] [--sample-seconds=N (default 60)]
//
// cvt.exe runs from a program folder of this run, whose cvt.ini (written by one
// unmeasured start and close) gets RefreshRate=3. At every sample one extra
// sleeper is started and the program's process list must show it within 10 s:
// proof that the timer still refreshes; it is ended again afterwards.
// Private bytes: committed private memory, by walking the program's address
// space. Handles: the program's entries in the system's handle table.
// Goal: from the sample at minute 5 on, growth <= 1 MiB and <= 10 handles.
// Every sample is printed as it is taken, so that a cut-short run still tells.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/support/Drive.h"
#include "BenchSupport.h"

namespace {

using cvt::bench::HandleCount;
using cvt::bench::ItemCount;
using cvt::bench::PrivateBytes;
using cvt::bench::Processes;
using cvt::drive::ArgValue;
using cvt::drive::NowSeconds;

struct Sample {
    double minute = 0;
    size_t privateBytes = 0;
    long handles = 0;
    int rows = 0;
    double refreshSeen = -1;  // seconds until the extra child showed; -1: it did not
};

int NumberArg(int argc, char** argv, const char* name, int fallback, int least) {
    const std::string text = ArgValue(argc, argv, name);
    return text.empty() ? fallback : std::max(least, std::atoi(text.c_str()));
}

// Starts one more sleeper and waits until the list shows one more row; the child is ended again.
double WaitForRefresh(HWND list, Processes& processes, const std::string& sleeper) {
    const size_t before = processes.Count();
    const int rows = ItemCount(list);
    const double start = NowSeconds();
    double seen = -1;
    if (processes.StartSleeper(sleeper)) {
        while (NowSeconds() - start < 10) {
            if (ItemCount(list) > rows) {
                seen = NowSeconds() - start;
                break;
            }
            Sleep(50);
        }
    }
    processes.EndFrom(before);
    return seen;
}

void PrintSample(const Sample& s, const Sample* first) {
    std::printf("%6.1f %14zu %10.1f %8ld", s.minute, s.privateBytes, s.privateBytes / 1024.0, s.handles);
    if (first != nullptr)
        std::printf(" %+10.1f %+8ld", (static_cast<double>(s.privateBytes) - first->privateBytes) / 1024.0,
                    s.handles - first->handles);
    else
        std::printf(" %10s %8s", "", "");
    std::printf(" %6d", s.rows);
    if (s.refreshSeen >= 0)
        std::printf(" %8.1f s\n", s.refreshSeen);
    else
        std::printf("   none in 10 s\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cvtSource = cvt::drive::WindowsPath(ArgValue(argc, argv, "cvt"));
    const std::string column = cvt::drive::WindowsPath(ArgValue(argc, argv, "column"));
    const std::string sleeperSource = cvt::drive::WindowsPath(ArgValue(argc, argv, "sleeper"));
    const int minutes = NumberArg(argc, argv, "minutes", 60, 1);
    const int children = NumberArg(argc, argv, "processes", 100, 0);
    const int sampleSeconds = NumberArg(argc, argv, "sample-seconds", 60, 5);
    if (cvtSource.empty() || column.empty() || sleeperSource.empty()) {
        std::fprintf(stderr,
                     "usage: soak --cvt=PATH --column=PATH --sleeper=PATH [--minutes=N] [--processes=N] "
                     "[--sample-seconds=N]\n");
        return 2;
    }
    cvt::bench::Psapi psapi;
    if (!psapi.Load()) {
        std::fprintf(stderr, "psapi.dll lacks EnumProcessModules or GetModuleFileNameExA\n");
        return 1;
    }
    if (HandleCount(GetCurrentProcessId()) <= 0) {
        std::fprintf(stderr, "the system's handle table cannot be read\n");
        return 1;
    }

    cvt::drive::TempFolder folder("cvt-soak");
    const std::string cvt = folder.Path() + "cvt.exe";
    const std::string sleeper = folder.Path() + "cvt-soak-sleeper.exe";
    const std::string ini = folder.Path() + "cvt.ini";
    if (!cvt::bench::PrepareProgramFolder(
            folder, {{cvtSource, "cvt.exe"}, {column, "column.ini"}, {sleeperSource, "cvt-soak-sleeper.exe"}}))
        return 1;
    // A cvt.ini without the list sections would be ignored for column.ini's defaults: let the program write one.
    if (!cvt::bench::WarmUp(cvt, folder.Path()) ||
        !WritePrivateProfileStringA("General", "RefreshRate", "3", ini.c_str()) ||
        GetPrivateProfileIntA("General", "RefreshRate", 0, ini.c_str()) != 3) {
        std::fprintf(stderr, "cvt.ini was not written as expected\n");
        return 1;
    }

    Processes processes;
    for (int i = 0; i < children; ++i)
        if (!processes.StartSleeper(sleeper)) return 1;
    if (!processes.WaitUntilLoaded(psapi)) return 1;

    cvt::drive::ChildProcess program;
    if (!program.Start(cvt, folder.Path())) {
        std::fprintf(stderr, "cannot start cvt.exe (error %lu)\n", GetLastError());
        return 1;
    }
    processes.Adopt(program.Handle());  // ended with the children should this run die
    const HWND main = program.WaitForWindow({"", "", true, true}, 60000, 10);
    if (main == nullptr) {
        std::fprintf(stderr, "cvt.exe: no main window; %s\n", program.DescribeWindows().c_str());
        return 1;
    }
    WaitForInputIdle(program.Handle(), 60000);
    const HWND list = cvt::bench::ProcessList(main);
    if (list == nullptr) {
        std::fprintf(stderr, "cvt.exe: no process list found\n");
        return 1;
    }

    std::printf("soak: cvt.exe alone, RefreshRate=3, %d sleeper children, %d min, a sample every %d s\n", children,
                minutes, sampleSeconds);
    std::printf("private bytes = committed private memory (address-space walk); handles = its entries in the "
                "system's handle table\n");
    std::printf("%6s %14s %10s %8s %10s %8s %6s %10s\n", "min", "private bytes", "KiB", "handles", "d KiB", "d hnd",
                "rows", "refresh");
    std::fflush(stdout);

    const double start = NowSeconds();
    const int samples = minutes * 60 / sampleSeconds;
    std::vector<Sample> taken;
    int baseIndex = -1;  // the sample at minute 5, or the nearest after it
    for (int i = 0; i <= samples; ++i) {
        const double due = start + static_cast<double>(i) * sampleSeconds;
        while (NowSeconds() < due) {
            if (!program.Running()) break;
            Sleep(static_cast<DWORD>(std::clamp((due - NowSeconds()) * 1000, 1.0, 1000.0)));
        }
        if (!program.Running()) {
            std::printf("cvt.exe ended by itself after %.1f min (exit code %lu)\n", (NowSeconds() - start) / 60,
                        program.ExitCode());
            return 1;
        }
        Sample s;
        s.minute = (NowSeconds() - start) / 60;
        s.privateBytes = PrivateBytes(program.Handle());
        s.handles = HandleCount(program.Id());
        s.rows = ItemCount(list);
        s.refreshSeen = WaitForRefresh(list, processes, sleeper);
        taken.push_back(s);
        if (baseIndex < 0 && s.minute >= 5 - 1e-6) baseIndex = static_cast<int>(taken.size()) - 1;
        PrintSample(s, baseIndex >= 0 ? &taken[static_cast<size_t>(baseIndex)] : nullptr);
    }

    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!program.WaitForExit(30000)) std::fprintf(stderr, "cvt.exe: still running 30 s after WM_CLOSE; ended\n");

    const int missed = static_cast<int>(std::count_if(taken.begin(), taken.end(),
                                                      [](const Sample& s) { return s.refreshSeen < 0; }));
    std::printf("samples: %zu; refresh not seen within 10 s at %d of them\n", taken.size(), missed);
    if (baseIndex < 0) {
        std::printf("shorter than 5 minutes: no growth figure (first to last: %+.1f KiB, %+ld handles)\n",
                    (static_cast<double>(taken.back().privateBytes) - taken.front().privateBytes) / 1024.0,
                    taken.back().handles - taken.front().handles);
        return 0;
    }
    const Sample& base = taken[static_cast<size_t>(baseIndex)];
    const Sample& last = taken.back();
    size_t peakBytes = 0;
    long peakHandles = 0;
    for (size_t i = static_cast<size_t>(baseIndex); i < taken.size(); ++i) {
        peakBytes = std::max(peakBytes, taken[i].privateBytes);
        peakHandles = std::max(peakHandles, taken[i].handles);
    }
    const double growthBytes = static_cast<double>(last.privateBytes) - static_cast<double>(base.privateBytes);
    const long growthHandles = last.handles - base.handles;
    std::printf("from minute %.1f to %.1f: private bytes %+.1f KiB (peak %+.1f KiB), handles %+ld (peak %+ld)\n",
                base.minute, last.minute, growthBytes / 1024.0,
                (static_cast<double>(peakBytes) - static_cast<double>(base.privateBytes)) / 1024.0, growthHandles,
                peakHandles - base.handles);
    std::printf("goal: growth <= 1024 KiB: %s; <= 10 handles: %s%s\n", growthBytes <= 1024.0 * 1024 ? "met" : "MISSED",
                growthHandles <= 10 ? "met" : "MISSED", minutes < 60 ? " (a run shorter than 60 min)" : "");
    return 0;
}
