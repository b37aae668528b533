// Start-up and close times of cvt.exe against Wine's own task manager, in the
// same run, alternating, as medians.
//
//   startup --cvt=PATH --column=PATH [--baseline=PATH] [--runs=N (at least 5, default 9)]
//
// For each program: from CreateProcess to its main window being visible, and
// to its waiting for input (first lists filled); from posting WM_CLOSE to the
// process's end; and the whole.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/support/Drive.h"
#include "BenchSupport.h"

namespace {

using cvt::drive::ArgValue;
using cvt::drive::NowSeconds;
using cvt::bench::Median;

struct Timing {
  double visible = 0;  // CreateProcess to main window visible
  double idle = 0;     // CreateProcess to waiting for input
  double close = 0;    // WM_CLOSE posted to process ended
  double total = 0;    // CreateProcess to process ended
};

bool Measure(const std::string& exe, const std::string& folder, Timing* timing) {
  cvt::drive::ChildProcess child;
  const double start = NowSeconds();
  if (!child.Start(exe, folder)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    return false;
  }
  // Its main window: visible, top-level, owned by no other window.
  const HWND main = child.WaitForWindow({"", "", true, true}, 60000, 1);
  const double shown = NowSeconds();
  if (main == nullptr) {
    std::fprintf(stderr, "%s: no main window; %s\n", exe.c_str(), child.DescribeWindows().c_str());
    return false;
  }
  WaitForInputIdle(child.Handle(), 60000);
  const double idle = NowSeconds();
  PostMessageA(main, WM_CLOSE, 0, 0);
  const double closing = NowSeconds();
  if (!child.WaitForExit(60000)) {
    std::fprintf(stderr, "%s: still running after WM_CLOSE\n", exe.c_str());
    return false;
  }
  const double ended = NowSeconds();
  timing->visible = shown - start;
  timing->idle = idle - start;
  timing->close = ended - closing;
  timing->total = ended - start;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string cvtSource = cvt::drive::WindowsPath(ArgValue(argc, argv, "cvt"));
  const std::string column = cvt::drive::WindowsPath(ArgValue(argc, argv, "column"));
  std::string baseline = cvt::drive::WindowsPath(ArgValue(argc, argv, "baseline"));
  if (baseline.empty()) baseline = "C:\\windows\\system32\\taskmgr.exe";
  const std::string runsText = ArgValue(argc, argv, "runs");
  const int runs = runsText.empty() ? 9 : std::max(5, std::atoi(runsText.c_str()));
  if (cvtSource.empty() || column.empty()) {
    std::fprintf(stderr, "usage: startup --cvt=PATH --column=PATH [--baseline=PATH] [--runs=N]\n");
    return 2;
  }

  // A program folder of its own, as on a user's machine.
  cvt::drive::TempFolder folder("cvt-bench");
  const std::string cvt = folder.Path() + "cvt.exe";
  if (!cvt::bench::PrepareProgramFolder(folder, {{cvtSource, "cvt.exe"}, {column, "column.ini"}})) return 1;
  const std::string baselineFolder = baseline.substr(0, baseline.find_last_of('\\') + 1);

  // One unmeasured run each: loads both into the file cache, and the first
  // cvt.exe run writes the cvt.ini that every later start reads.
  Timing timing;
  if (!Measure(cvt, folder.Path(), &timing) || !Measure(baseline, baselineFolder, &timing)) return 1;

  std::vector<Timing> cvtRuns, baseRuns;
  for (int i = 0; i < runs; ++i) {
    if (!Measure(cvt, folder.Path(), &timing)) return 1;
    cvtRuns.push_back(timing);
    if (!Measure(baseline, baselineFolder, &timing)) return 1;
    baseRuns.push_back(timing);
  }

  std::printf("startup: medians of %d alternating runs each; baseline %s\n", runs, baseline.c_str());
  std::printf("%-30s %12s %12s %7s\n", "", "cvt.exe", "baseline", "ratio");
  const struct {
    const char* name;
    double Timing::*field;
  } rows[] = {{"start to main window visible", &Timing::visible},
              {"start to waiting for input", &Timing::idle},
              {"WM_CLOSE to process ended", &Timing::close},
              {"start to process ended", &Timing::total}};
  for (const auto& row : rows) {
    std::vector<double> ours, theirs;
    for (const Timing& t : cvtRuns) ours.push_back(t.*row.field);
    for (const Timing& t : baseRuns) theirs.push_back(t.*row.field);
    const double a = Median(ours), b = Median(theirs);
    std::printf("%-30s %9.1f ms %9.1f ms %7.2f\n", row.name, a * 1000, b * 1000, a / b);
  }
  return 0;
}
