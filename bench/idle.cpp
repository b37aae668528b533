// CPU time that cvt.exe (refreshing every 3 s) and Wine's own task manager (at its
// default speed) spend per refresh while left alone, with 100 sleeper children.
//
//   idle --cvt=PATH --column=PATH --sleeper=PATH [--baseline=PATH] [--seconds=N (default 60)]
//
// After one unmeasured start of each (cvt.exe's writes the cvt.ini that then gets
// RefreshRate=3), for each program in turn: start it as its own process, wait for
// its window and its first idle moment plus 2 s, read its CPU time (kernel + user)
// over N seconds, then find its refresh interval from its own behaviour: while a
// new child starts every 200 ms, the row count of its process list changes once
// per refresh; the median gap between those changes is the interval. Then WM_CLOSE.
// Every process started here is ended, also on failure (a kill-on-close job too).
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

using cvt::bench::ItemCount;
using cvt::bench::Median;
using cvt::bench::Processes;
using cvt::bench::ProcessList;
using cvt::bench::WarmUp;
using cvt::drive::ArgValue;
using cvt::drive::NowSeconds;

cvt::bench::Psapi g_psapi;



// The whole contents of a small file; /proc files report size 0, so read to the end.
std::string ReadSmallFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (text.size() < (1u << 20) && ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// The Linux process of a Wine process: Wine shows its Windows command line as the
// Linux one, so the program's path and first argument name it; 0 when not found.
unsigned UnixPidByCommandLine(const std::string& exe, const std::string& argument) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    unsigned pid = 0;
    do {
        const unsigned candidate = static_cast<unsigned>(std::strtoul(found.cFileName, nullptr, 10));
        if (candidate == 0) continue;
        const std::string line = ReadSmallFile("Z:\\proc\\" + std::string(found.cFileName) + "\\cmdline");
        const size_t end = line.find('\0');
        if (end == std::string::npos || lstrcmpiA(line.substr(0, end).c_str(), exe.c_str()) != 0) continue;
        if (argument.empty() || line.compare(end + 1, argument.size() + 1, argument + '\0') == 0) pid = candidate;
    } while (pid == 0 && FindNextFileA(search, &found));
    FindClose(search);
    return pid;
}

// utime + stime of a Linux process, all its threads; USER_HZ is 100 on x86 Linux.
double ProcCpuSeconds(unsigned unixPid) {
    const std::string stat = ReadSmallFile("Z:\\proc\\" + std::to_string(unixPid) + "\\stat");
    const size_t end = stat.rfind(')');  // the command name may hold blanks
    if (end == std::string::npos) return -1;
    const char* p = stat.c_str() + end + 1;
    unsigned long long field[13] = {};
    // After ")": state, then fields 4..15 of proc(5); utime and stime are 14 and 15.
    char state = 0;
    if (std::sscanf(p, " %c %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu", &state, &field[0], &field[1],
                    &field[2], &field[3], &field[4], &field[5], &field[6], &field[7], &field[8], &field[9],
                    &field[10], &field[11]) != 13)
        return -1;
    return static_cast<double>(field[10] + field[11]) / 100.0;
}

// CPU time (kernel + user) of a process through GetProcessTimes.
double ApiCpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

struct Figures {
    bool fromProc = false;   // cpuMs read from /proc, not GetProcessTimes
    double cpuMs = 0;        // CPU time over the measured span
    double apiCpuMs = 0;     // the same span as GetProcessTimes tells it
    double spanSeconds = 0;  // the measured span, by the clock
    double interval = 0;     // seconds between refreshes; 0 when none was seen
    int changes = 0;         // refreshes seen while finding the interval
    int rows = 0;            // rows of its process list before the ticker children
};

// Refreshes seen as changes of the list's row count while a child starts every
// 200 ms; changes less than 300 ms apart belong to one refresh filling the list.
bool FindInterval(HWND list, Processes& processes, const std::string& sleeper, double seconds, Figures* figures) {
    const size_t before = processes.Count();
    std::vector<double> refreshes;
    double lastChange = 0;
    int last = ItemCount(list);
    const double start = NowSeconds();
    double nextChild = start;
    for (double now = start; now - start < seconds; now = NowSeconds()) {
        if (now >= nextChild) {
            if (!processes.StartSleeper(sleeper)) return false;
            nextChild += 0.2;
        }
        const int count = ItemCount(list);
        if (count != last && count >= 0) {
            if (refreshes.empty() || now - lastChange > 0.3) refreshes.push_back(now);
            lastChange = now;
            last = count;
        }
        Sleep(10);
    }
    processes.EndFrom(before);
    std::vector<double> gaps;
    for (size_t i = 1; i < refreshes.size(); ++i) gaps.push_back(refreshes[i] - refreshes[i - 1]);
    figures->changes = static_cast<int>(refreshes.size());
    figures->interval = gaps.size() >= 2 ? Median(gaps) : 0;
    return true;
}

// tag: an argument that the program ignores, to tell its Linux process from other copies.
bool Measure(const std::string& exe, const std::string& folder, const std::string& tag, Processes& processes,
             const std::string& sleeper, double seconds, Figures* figures) {
    cvt::drive::ChildProcess program;
    if (!program.Start(exe, folder, tag)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return false;
    }
    processes.Adopt(program.Handle());
    const HWND main = program.WaitForWindow({"", "", true, true}, 60000, 10);
    if (main == nullptr) {
        std::fprintf(stderr, "%s: no main window; %s\n", exe.c_str(), program.DescribeWindows().c_str());
        return false;
    }
    WaitForInputIdle(program.Handle(), 60000);
    Sleep(2000);
    const HWND list = ProcessList(main);
    figures->rows = list != nullptr ? ItemCount(list) : -1;

    // Under Wine, GetProcessTimes of another process does not follow its CPU use
    // (measured: it stood still over 60 s of refreshes), so Linux's count is read where there is one.
    const unsigned unixPid = UnixPidByCommandLine(exe, tag);
    figures->fromProc = unixPid != 0;
    auto cpu = [&] { return figures->fromProc ? ProcCpuSeconds(unixPid) : ApiCpuSeconds(program.Handle()); };
    const double apiBefore = ApiCpuSeconds(program.Handle());
    const double cpuBefore = cpu();
    const double clockBefore = NowSeconds();
    Sleep(static_cast<DWORD>(seconds * 1000));
    const double cpuAfter = cpu();
    figures->apiCpuMs = (ApiCpuSeconds(program.Handle()) - apiBefore) * 1000;
    figures->spanSeconds = NowSeconds() - clockBefore;
    figures->cpuMs = (cpuAfter - cpuBefore) * 1000;
    if (!program.Running() || cpuBefore < 0 || cpuAfter < 0) {
        std::fprintf(stderr, "%s: ended or unreadable during the measurement\n", exe.c_str());
        return false;
    }

    if (list == nullptr) {
        std::fprintf(stderr, "%s: no list view found; its interval stays unknown\n", exe.c_str());
    } else if (!FindInterval(list, processes, sleeper, 15, figures)) {
        return false;
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!program.WaitForExit(30000)) std::fprintf(stderr, "%s: still running 30 s after WM_CLOSE; ended\n", exe.c_str());
    return true;  // program's destructor ends it if it is still there
}

void PrintRow(const char* name, const Figures& f) {
    std::printf("%-12s %7d %10.1f ms%s %10.1f ms %8.1f s", name, f.rows, f.cpuMs, f.fromProc ? "*" : " ", f.apiCpuMs,
                f.spanSeconds);
    if (f.interval > 0) {
        const double refreshes = f.spanSeconds / f.interval;
        std::printf(" %9.2f s (%2d seen) %8.1f %10.2f ms\n", f.interval, f.changes, refreshes, f.cpuMs / refreshes);
    } else {
        std::printf("   no refresh seen (%d changes)\n", f.changes);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cvtSource = cvt::drive::WindowsPath(ArgValue(argc, argv, "cvt"));
    const std::string column = cvt::drive::WindowsPath(ArgValue(argc, argv, "column"));
    const std::string sleeperSource = cvt::drive::WindowsPath(ArgValue(argc, argv, "sleeper"));
    std::string baseline = cvt::drive::WindowsPath(ArgValue(argc, argv, "baseline"));
    if (baseline.empty()) baseline = "C:\\windows\\system32\\taskmgr.exe";
    const std::string secondsText = ArgValue(argc, argv, "seconds");
    const double seconds = secondsText.empty() ? 60 : std::max(10, std::atoi(secondsText.c_str()));
    if (cvtSource.empty() || column.empty() || sleeperSource.empty()) {
        std::fprintf(stderr, "usage: idle --cvt=PATH --column=PATH --sleeper=PATH [--baseline=PATH] [--seconds=N]\n");
        return 2;
    }
    if (!g_psapi.Load()) {
        std::fprintf(stderr, "psapi.dll lacks EnumProcessModules or GetModuleFileNameExA\n");
        return 1;
    }

    // A program folder of its own.
    cvt::drive::TempFolder folder("cvt-idle");
    const std::string cvt = folder.Path() + "cvt.exe";
    const std::string sleeper = folder.Path() + "cvt-bench-sleeper.exe";
    const std::string ini = folder.Path() + "cvt.ini";
    if (!cvt::bench::PrepareProgramFolder(
            folder, {{cvtSource, "cvt.exe"}, {column, "column.ini"}, {sleeperSource, "cvt-bench-sleeper.exe"}}))
        return 1;
    const std::string baselineFolder = baseline.substr(0, baseline.find_last_of('\\') + 1);

    // One unmeasured run each: both in the file cache, and cvt.exe writes a whole
    // cvt.ini (one without the list sections would be ignored for column.ini's defaults).
    if (!WarmUp(cvt, folder.Path()) || !WarmUp(baseline, baselineFolder)) return 1;
    if (!WritePrivateProfileStringA("General", "RefreshRate", "3", ini.c_str()) ||
        GetPrivateProfileIntA("General", "RefreshRate", 0, ini.c_str()) != 3 ||
        GetPrivateProfileIntA("List0", "Count", 0, ini.c_str()) == 0) {
        std::fprintf(stderr, "cvt.ini was not written as expected\n");
        return 1;
    }

    Figures ours, theirs;
    {
        Processes processes;
        for (int i = 0; i < 100; ++i) {
            if (!processes.StartSleeper(sleeper)) return 1;
        }
        if (!processes.WaitUntilLoaded(g_psapi)) return 1;
        Sleep(2000);
        // cvt.exe's path is this run's own; the task manager gets a tag that it ignores.
        if (!Measure(cvt, folder.Path(), "", processes, sleeper, seconds, &ours)) return 1;
        Sleep(2000);  // Wine tears the ticker children down after they are signalled
        const std::string tag = "cvt-idle-" + std::to_string(GetCurrentProcessId());
        if (!Measure(baseline, baselineFolder, tag, processes, sleeper, seconds, &theirs)) return 1;
    }

    std::printf("idle: 100 sleeper children, CPU time (kernel + user) of each program over %.0f s, one after the other;\n",
                seconds);
    std::printf("interval = median gap between changes of its process list's row count while a child starts every 200 ms\n");
    std::printf("%-12s %7s %13s %13s %10s %21s %8s %13s\n", "", "rows", "CPU", "(API says)", "span", "interval",
                "refr.", "CPU/refresh");
    PrintRow("cvt.exe", ours);
    PrintRow("baseline", theirs);
    if (ours.interval > 0 && theirs.interval > 0) {
        const double ratio = (ours.cpuMs * ours.interval / ours.spanSeconds) /
                             (theirs.cpuMs * theirs.interval / theirs.spanSeconds);
        std::printf("cvt.exe / baseline per refresh: %.2f   goal <= 1.0: %s\n", ratio, ratio <= 1.0 ? "met" : "MISSED");
    }
    if (ours.fromProc || theirs.fromProc)
        std::printf("* utime + stime of its Linux process (/proc/PID/stat, all threads); \"API says\": "
                    "GetProcessTimes over the same span, which under Wine does not follow another process\n");
    std::printf("baseline: %s\n", baseline.c_str());
    return 0;
}
