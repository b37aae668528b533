// Cost of one process-list refresh against the bare system calls it must make,
// with 50 and 200 sleeper children that this benchmark starts and ends.
//
//   refresh --sleeper=PATH --column=PATH [--rounds=N (at least 10, default 15)]
//
// In one run, the two sizes in alternating blocks, the kinds alternating in
// every round, as medians per size:
//   (a) ProcessPage::RefreshProcessList() on the real main window, steady state
//       (the memo filled by the refresh before, as a timer refresh finds it);
//   (b) the same snapshot's calls with no list view and no memo: ToolHelp walk;
//       per process OpenProcess(0x410), GetPriorityClass, EnumProcessModules with
//       one module + GetModuleFileNameExA, OpenProcessToken + GetTokenInformation
//       (TokenUser, 1024 bytes) + LookupAccountSidA (260 chars); CloseHandle;
//   cold: RefreshProcessList() right after emptying the form's memo;
//   read: ReadProcessSnapshot alone with a warm memo of its own (no list view);
//   Create(): a new form per block, its first refresh included (one per block);
//   verdicts: (a) of the shipped columns, which show 判定 with the rows coloured,
//       against (a) of a second form whose 判定 column is an unknown kind and
//       whose colours are off, so that it judges nothing; both with cvtpdb.ini.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../tests/support/Drive.h"
#include "BenchSupport.h"
#include "app/MainForm.h"
#include "base/SystemLibrary.h"
#include "sysinfo/ProcessSnapshot.h"
#include "ui/ListView.h"
#include "ui/MessageDialog.h"

namespace {

using cvt::bench::Median;
using cvt::bench::Pump;
using cvt::drive::ArgValue;
using cvt::drive::NowSeconds;



cvt::bench::Psapi g_psapi;



// (b): one pass of the bare calls; returns the number of processes walked.
int BarePass() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        ++count;
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
        if (process != nullptr) {
            volatile DWORD priority = GetPriorityClass(process);
            (void)priority;
            HMODULE first = nullptr;
            DWORD needed = 0;
            char path[MAX_PATH];
            if (g_psapi.enumModules(process, &first, sizeof first, &needed)) g_psapi.moduleFileName(process, first, path, MAX_PATH);
            HANDLE token = nullptr;
            if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
                alignas(TOKEN_USER) BYTE buffer[1024];
                DWORD length = 0;
                if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &length)) {
                    char name[260], domain[260];
                    DWORD nameLength = sizeof name, domainLength = sizeof domain;
                    SID_NAME_USE use{};
                    LookupAccountSidA(nullptr, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, name, &nameLength,
                                      domain, &domainLength, &use);
                }
                CloseHandle(token);
            }
            CloseHandle(process);
        }
        entry.dwSize = sizeof entry;
    }
    CloseHandle(snapshot);
    return count;
}

// Starts or ends sleeper children until count run; waits until each one's module path reads.
bool Resize(cvt::bench::Processes& children, const std::string& exe, size_t count) {
    if (children.Count() > count) children.EndFrom(count);
    while (children.Count() < count)
        if (!children.StartSleeper(exe)) return false;
    return children.WaitUntilLoaded(g_psapi);
}

// All samples of one size, gathered over its blocks.
struct Samples {
    int rows = 0;       // rows of the list after the last steady refresh
    int processes = 0;  // processes of the last bare pass
    std::vector<double> create, steady, bare, cold, read, paint, plain;
};

// One block: a new form on the running children, then rounds of every kind.
bool MeasureBlock(const std::string& folder, const std::string& plainFolder, size_t children, int rounds,
                  Samples* samples) {
    auto form = std::make_unique<cvt::TFrmCVT>(folder);
    const double beforeCreate = NowSeconds();
    if (!form->Create()) {
        std::fprintf(stderr, "cannot create the main window\n");
        return false;
    }
    samples->create.push_back(NowSeconds() - beforeCreate);
    // Made after the measured start, which it would otherwise share the desktop with.
    auto plainForm = std::make_unique<cvt::TFrmCVT>(plainFolder);
    if (!plainForm->Create()) return false;
    // The list is visible while a timer refresh runs on it.
    form->SelectPage(cvt::kPageProcesses);
    Pump();
    HWND list = form->ListView(0);

    cvt::ProcessApi api;
    cvt::ProcessInfoCache memo;
    const std::string unknownUser = "?";
    // Unmeasured: settles the form's memo, the list and the separate reader.
    form->Processes().RefreshProcessList();
    Pump();
    (void)cvt::ReadProcessSnapshot(api, true, unknownUser, memo);
    BarePass();

    for (int round = 0; round < rounds; ++round) {
        // The order turns every round so that no kind always follows another.
        for (int step = 0; step < 5; ++step) {
            switch ((step + round) % 5) {
                case 0: {
                    double t = NowSeconds();
                    form->Processes().RefreshProcessList();
                    samples->steady.push_back(NowSeconds() - t);
                    t = NowSeconds();
                    UpdateWindow(list);
                    samples->paint.push_back(NowSeconds() - t);
                    samples->rows = ui::ListRowCount(list);
                    break;
                }
                case 1: {
                    const double t = NowSeconds();
                    samples->processes = BarePass();
                    samples->bare.push_back(NowSeconds() - t);
                    break;
                }
                case 2: {
                    form->Processes().ForgetProcessMemo();
                    const double t = NowSeconds();
                    form->Processes().RefreshProcessList();
                    samples->cold.push_back(NowSeconds() - t);
                    break;
                }
                case 3: {
                    const double t = NowSeconds();
                    const cvt::ProcessSnapshot snapshot = cvt::ReadProcessSnapshot(api, true, unknownUser, memo);
                    samples->read.push_back(NowSeconds() - t);
                    if (snapshot.failed) return false;
                    break;
                }
                case 4: {
                    const double t = NowSeconds();
                    plainForm->Processes().RefreshProcessList();
                    samples->plain.push_back(NowSeconds() - t);
                    break;
                }
            }
            Pump();
        }
    }
    if (samples->processes < static_cast<int>(children) || samples->rows != samples->processes) {
        std::fprintf(stderr, "%zu children: the list shows %d rows, the snapshot %d processes\n", children,
                     samples->rows, samples->processes);
        return false;
    }
    form.reset();
    plainForm.reset();
    Pump();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string sleeper = cvt::drive::WindowsPath(ArgValue(argc, argv, "sleeper"));
    const std::string column = cvt::drive::WindowsPath(ArgValue(argc, argv, "column"));
    const std::string roundsText = ArgValue(argc, argv, "rounds");
    const int rounds = roundsText.empty() ? 15 : std::max(10, std::atoi(roundsText.c_str()));
    if (sleeper.empty() || column.empty()) {
        std::fprintf(stderr, "usage: refresh --sleeper=PATH --column=PATH [--rounds=N]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    // No message box may wait for a person: any one is answered and fails the run.
    std::vector<std::string> messages;
    ui::SetMessageResponder([&](const ui::MessageRecord& record) {
        messages.push_back(record.text);
        return record.yesNo ? IDNO : IDOK;
    });
    if (!g_psapi.Load()) {
        std::fprintf(stderr, "psapi.dll lacks EnumProcessModules or GetModuleFileNameExA\n");
        return 1;
    }

    cvt::drive::TempFolder folder("cvt-refresh");
    const std::string sleeperCopy = folder.Path() + "cvt-bench-sleeper.exe";
    // The danger database lies beside the column definitions in the source tree.
    const std::string pdb = column.substr(0, column.size() - std::string("column.ini").size()) + "cvtpdb.ini";
    if (!cvt::bench::PrepareProgramFolder(
            folder, {{column, "column.ini"}, {pdb, "cvtpdb.ini"}, {sleeper, "cvt-bench-sleeper.exe"}}))
        return 1;
    cvt::drive::TempFolder plainFolder("cvt-refresh-plain");
    if (!cvt::bench::PrepareProgramFolder(plainFolder, {{column, "column.ini"}, {pdb, "cvtpdb.ini"}})) return 1;
    const std::string plainColumns = plainFolder.Path() + "column.ini";
    if (GetPrivateProfileIntA("List0", "DefIndex1", 0, plainColumns.c_str()) != 100) {
        std::fprintf(stderr, "column.ini does not show 判定 second\n");
        return 1;
    }
    WritePrivateProfileStringA("List0", "DefIndex1", "7", plainColumns.c_str());
    WritePrivateProfileStringA("General", "VerdictColors", "False", (plainFolder.Path() + "cvt.ini").c_str());

    // The sizes take turns in blocks, so that a slow spell of a shared machine
    // falls on both; each block starts a new form.
    const size_t sizes[] = {50, 200};
    const int blocks = 3;
    const int roundsPerBlock = (rounds + blocks - 1) / blocks;
    Samples samples[2];
    {
        cvt::bench::Processes children;
        for (int block = 0; block < blocks; ++block) {
            for (int size = 0; size < 2; ++size) {
                if (!Resize(children, sleeperCopy, sizes[size])) return 1;
                // Wine tears ended processes down after they are signalled.
                Sleep(2000);
                if (!MeasureBlock(folder.Path(), plainFolder.Path(), sizes[size], roundsPerBlock, &samples[size])) return 1;
            }
        }
    }
    ui::SetMessageResponder(nullptr);
    if (!cvt::bench::NoMessageBoxes(messages)) return 1;

    auto ms = [](const std::vector<double>& values) { return Median(values) * 1000; };
    std::printf("refresh: medians of %d rounds per size, alternating kinds; sizes in %d alternating blocks\n",
                roundsPerBlock * blocks, blocks);
    std::printf("%-44s %14s %14s\n", "", "50 children", "200 children");
    std::printf("%-44s %14d %14d\n", "processes in the snapshot", samples[0].processes, samples[1].processes);
    const struct {
        const char* name;
        std::vector<double> Samples::*field;
    } rows[] = {{"(a) RefreshProcessList, steady (memo warm)", &Samples::steady},
                {"(b) bare system calls, no memo", &Samples::bare},
                {"cold RefreshProcessList (memo emptied)", &Samples::cold},
                {"ReadProcessSnapshot alone, memo warm", &Samples::read},
                {"list paint after (a) (UpdateWindow)", &Samples::paint},
                {"(a) without 判定 and colours", &Samples::plain},
                {"Create() with its first refresh, per block", &Samples::create}};
    for (const auto& row : rows)
        std::printf("%-44s %11.2f ms %11.2f ms\n", row.name, ms(samples[0].*row.field), ms(samples[1].*row.field));
    auto verdict = [](double ratio, double goal) { return ratio <= goal ? "met" : "MISSED"; };
    const Samples& small = samples[0];
    const Samples& large = samples[1];
    const double ratioSmall = Median(small.steady) / Median(small.bare);
    const double ratioLarge = Median(large.steady) / Median(large.bare);
    std::printf("%-44s %14.2f %14.2f   goal <= 1.25: %s, %s\n", "(a)/(b)", ratioSmall, ratioLarge,
                verdict(ratioSmall, 1.25), verdict(ratioLarge, 1.25));
    std::printf("%-44s %14.2f %14.2f\n", "cold/(b)", Median(small.cold) / Median(small.bare),
                Median(large.cold) / Median(large.bare));
    const double verdictSmall = Median(small.steady) / Median(small.plain);
    const double verdictLarge = Median(large.steady) / Median(large.plain);
    std::printf("%-44s %14.2f %14.2f   goal <= 1.15: %s, %s\n", "(a) / (a) without 判定", verdictSmall, verdictLarge,
                verdict(verdictSmall, 1.15), verdict(verdictLarge, 1.15));
    const double growth = Median(large.steady) / Median(small.steady);
    std::printf("(a) at 200 / (a) at 50: %.2f   goal <= 4.5: %s\n", growth, verdict(growth, 4.5));
    std::printf("(b) at 200 / (b) at 50: %.2f; processes %d / %d = %.2f\n", Median(large.bare) / Median(small.bare),
                large.processes, small.processes, static_cast<double>(large.processes) / small.processes);
    return 0;
}
