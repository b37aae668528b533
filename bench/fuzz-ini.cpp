// Hostile INI files against cvt.exe: for each generated case a program folder of
// its own with a copy of cvt.exe and hostile versions of column.ini, cvt.ini,
// cvtpdb.ini and cvtmgr.ini; the program is started, its message boxes are
// answered, it is closed through its window, and what it wrote is compared with
// what it could read.
//
//   fuzz-ini --cvt=PATH [--cases=N (default 500)] [--first=N (default 0)] [--representative] [--verbose]
//
// --representative runs the thirty cases of the end-to-end tests instead.
//
// Goals: no crash, no hang (10 s to the main window or to the program's own
// error, 10 s to close), no more than 64 MiB of private bytes, no lost entry,
// and the end the files call for. The peak working set is counted apart: under
// Wine about 21 MiB of every process's working set is Wine's own mapped code,
// so a bare start already shows some 33 MiB there (the first line prints it).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CvtRun.h"
#include "../tests/support/Drive.h"
#include "HostileIni.h"
#include "BenchSupport.h"

namespace {

using cvt::drive::RunEnd;
using cvt::drive::RunResult;
using cvt::bench::Max;
using cvt::bench::Median;
namespace hostile = cvt::hostile;

constexpr SIZE_T kMemoryLimit = 64u << 20;
constexpr double kMiB = 1024.0 * 1024.0;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

struct Tally {
  int cases = 0, crashes = 0, hangs = 0, overMemory = 0, losses = 0, wrongEnds = 0, overWorkingSet = 0;
  int closed = 0, programErrors = 0;
  int boxes = 0, casesWithBoxes = 0, errorBoxes = 0, warningBoxes = 0, otherCaptionBoxes = 0;
  int booleanBoxes = 0, floatBoxes = 0, countBoxes = 0, columnBoxes = 0, otherTextBoxes = 0;
  std::vector<double> peakWorkingSet, peakPrivate, start, close, wall;

  void CountBoxes(const RunResult& run) {
    boxes += static_cast<int>(run.boxes.size());
    casesWithBoxes += run.boxes.empty() ? 0 : 1;
    for (const cvt::drive::SeenBox& box : run.boxes) {
      if (box.caption == "エラー") ++errorBoxes;
      else if (box.caption == "警告") ++warningBoxes;
      else ++otherCaptionBoxes;
      // A box about unreadable schedule fields may name both kinds.
      const bool booleans = Contains(box.text, "is not a valid boolean value");
      const bool floats = Contains(box.text, "is not a valid floating point value");
      booleanBoxes += booleans ? 1 : 0;
      floatBoxes += floats ? 1 : 0;
      if (box.text == cvt::drive::kNoColumnDefinitionsText) ++columnBoxes;
      else if (Contains(box.text, "cvtmgr.ini")) ++countBoxes;
      else if (!booleans && !floats) ++otherTextBoxes;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::string cvtSource = cvt::drive::WindowsPath(cvt::drive::ArgValue(argc, argv, "cvt"));
  const std::string casesText = cvt::drive::ArgValue(argc, argv, "cases");
  const std::string firstText = cvt::drive::ArgValue(argc, argv, "first");
  const int cases = casesText.empty() ? 500 : std::max(1, std::atoi(casesText.c_str()));
  const int first = firstText.empty() ? 0 : std::max(0, std::atoi(firstText.c_str()));
  bool verbose = false, representative = false;
  for (int i = 1; i < argc; ++i) {
    verbose = verbose || std::string(argv[i]) == "--verbose";
    representative = representative || std::string(argv[i]) == "--representative";
  }
  if (cvtSource.empty()) {
    std::fprintf(stderr, "usage: fuzz-ini --cvt=PATH [--cases=N] [--first=N] [--representative] [--verbose]\n");
    return 2;
  }
  std::vector<hostile::CasePlan> plans;
  if (representative) {
    plans = hostile::RepresentativePlans();
  } else {
    for (int index = first; index < first + cases; ++index)
      plans.push_back(hostile::GeneratedPlan(static_cast<std::uint32_t>(index)));
  }
  cvt::drive::MemoryProbe memory;
  if (!memory.Load()) {
    std::fprintf(stderr, "fuzz-ini: GetProcessMemoryInfo not found\n");
    return 1;
  }

  // What Wine alone costs: a start with sound files of every kind.
  {
    hostile::CaseFolder folder("cvt-fuzz-ini");
    hostile::CaseFiles files;
    std::string error;
    const std::string exe = folder.Path() + "cvt.exe";
    if (folder.Path().empty() || !CopyFileA(cvtSource.c_str(), exe.c_str(), FALSE) ||
        !hostile::WriteCase(folder, hostile::CasePlan{}, &files, &error)) {
      std::fprintf(stderr, "fuzz-ini: cannot prepare the program folder %s\n", error.c_str());
      return 1;
    }
    const RunResult run = cvt::drive::RunAndClose(exe, folder.Path(), {}, &memory);
    if (run.end != RunEnd::Closed) {
      std::fprintf(stderr, "fuzz-ini: cvt.exe with sound files: %s %s\n", NameOf(run.end), run.detail.c_str());
      return 1;
    }
    std::printf("fuzz-ini: sound files: peak working set %.1f MiB, private bytes %.1f MiB\n",
                run.peakWorkingSet / kMiB, run.peakPrivateBytes / kMiB);
  }

  Tally tally;
  const double began = cvt::drive::NowSeconds();
  for (size_t n = 0; n < plans.size(); ++n) {
    const int index = representative ? static_cast<int>(n) : first + static_cast<int>(n);
    const double caseBegan = cvt::drive::NowSeconds();
    const hostile::CasePlan& plan = plans[n];
    hostile::CaseFolder folder("cvt-fuzz-ini");
    hostile::CaseFiles files;
    std::string error;
    const std::string exe = folder.Path() + "cvt.exe";
    if (folder.Path().empty() || !CopyFileA(cvtSource.c_str(), exe.c_str(), FALSE) ||
        !hostile::WriteCase(folder, plan, &files, &error)) {
      std::fprintf(stderr, "fuzz-ini: case %d: cannot prepare the program folder %s\n", index, error.c_str());
      return 1;
    }
    const bool definitionsMissing = hostile::ColumnDefinitionsMissing(folder);
    const RunResult run = cvt::drive::RunAndClose(exe, folder.Path(), {}, &memory);

    ++tally.cases;
    tally.CountBoxes(run);
    std::vector<std::string> problems;
    switch (run.end) {
      case RunEnd::Crashed: ++tally.crashes; problems.push_back("crashed: " + run.detail); break;
      case RunEnd::HungAtStart:
      case RunEnd::HungAtClose: ++tally.hangs; problems.push_back(std::string(NameOf(run.end)) + ": " + run.detail); break;
      case RunEnd::NotStarted: std::fprintf(stderr, "fuzz-ini: case %d: %s\n", index, run.detail.c_str()); return 1;
      case RunEnd::Closed:
      case RunEnd::ProgramError:
      case RunEnd::NoWindow: {
        const bool endedWithError = run.end == RunEnd::ProgramError;
        tally.closed += run.end == RunEnd::Closed ? 1 : 0;
        tally.programErrors += endedWithError ? 1 : 0;
        const bool rightEnd = run.end == (definitionsMissing ? RunEnd::ProgramError : RunEnd::Closed);
        if (!rightEnd) {
          ++tally.wrongEnds;
          problems.push_back(std::string(NameOf(run.end)) + " although the column definitions are " +
                             (definitionsMissing ? "missing" : "there"));
        }
        // After an end without the window the program had no reason to write anything.
        const std::vector<std::string> losses = hostile::FindLosses(folder, files, run.end != RunEnd::Closed);
        if (!losses.empty()) ++tally.losses;
        for (const std::string& loss : losses) problems.push_back("lost: " + loss);
        tally.start.push_back(run.startSeconds);
        if (run.end == RunEnd::Closed) tally.close.push_back(run.closeSeconds);
        break;
      }
    }
    if (run.peakPrivateBytes > kMemoryLimit || run.peakWorkingSet > kMemoryLimit) {
      const bool overPrivate = run.peakPrivateBytes > kMemoryLimit;
      ++(overPrivate ? tally.overMemory : tally.overWorkingSet);
      char text[112];
      std::snprintf(text, sizeof text, "%s: peak working set %.1f MiB, private bytes %.1f MiB",
                    overPrivate ? "over memory" : "working set over 64 MiB", run.peakWorkingSet / kMiB,
                    run.peakPrivateBytes / kMiB);
      problems.push_back(text);
    }
    tally.peakWorkingSet.push_back(run.peakWorkingSet / kMiB);
    tally.peakPrivate.push_back(run.peakPrivateBytes / kMiB);
    tally.wall.push_back(cvt::drive::NowSeconds() - caseBegan);

    if (!problems.empty() || verbose) {
      std::printf("case %d (%s): %s, %zu boxes, start %.2f s, close %.2f s, %.1f/%.1f MiB\n", index,
                  hostile::Describe(plan).c_str(), NameOf(run.end), run.boxes.size(), run.startSeconds,
                  run.closeSeconds, run.peakWorkingSet / kMiB, run.peakPrivateBytes / kMiB);
      for (const std::string& problem : problems) std::printf("  %s\n", problem.c_str());
      std::fflush(stdout);
    }
  }

  if (representative) std::printf("fuzz-ini: the %zu representative cases, limits 10 s to start, 10 s to close, 64 MiB\n", plans.size());
  else std::printf("fuzz-ini: cases %d to %d, limits 10 s to start, 10 s to close, 64 MiB\n", first, first + cases - 1);
  std::printf("cases %d  crashes %d  hangs %d  over-memory %d  losses %d  wrong ends %d  (goals: 0 each)\n",
              tally.cases, tally.crashes, tally.hangs, tally.overMemory, tally.losses, tally.wrongEnds);
  std::printf("working set over 64 MiB with private bytes under it: %d\n", tally.overWorkingSet);
  std::printf("ends: closed through the window %d, the program's column definitions error %d\n", tally.closed,
              tally.programErrors);
  std::printf("boxes answered: %d in %d cases (error %d, warning %d, other %d); about booleans %d, "
              "floating point %d, the schedule count %d, column definitions %d, other %d\n",
              tally.boxes, tally.casesWithBoxes, tally.errorBoxes, tally.warningBoxes, tally.otherCaptionBoxes,
              tally.booleanBoxes, tally.floatBoxes, tally.countBoxes, tally.columnBoxes, tally.otherTextBoxes);
  std::printf("peak working set: median %.1f MiB, max %.1f MiB; private bytes: median %.1f MiB, max %.1f MiB\n",
              Median(tally.peakWorkingSet), Max(tally.peakWorkingSet), Median(tally.peakPrivate),
              Max(tally.peakPrivate));
  std::printf("start (boxes excluded): median %.2f s, max %.2f s; close: median %.2f s, max %.2f s; "
              "case with its files: median %.2f s, max %.2f s; all %.0f s\n",
              Median(tally.start), Max(tally.start), Median(tally.close), Max(tally.close), Median(tally.wall),
              Max(tally.wall), cvt::drive::NowSeconds() - began);
  const bool met = tally.crashes == 0 && tally.hangs == 0 && tally.overMemory == 0 && tally.losses == 0 &&
                   tally.wrongEnds == 0;
  return met ? 0 : 1;
}
