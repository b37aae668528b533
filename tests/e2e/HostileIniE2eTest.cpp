// cvt.exe against hostile versions of its four INI files: thirty cases that give
// each file each kind of damage. The program must reach its window (or end with
// its own error where the column definitions are really missing), close, and
// give back every entry it could read.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <utility>

#include "../support/CvtRun.h"
#include "../support/Drive.h"
#include "../support/HostileIni.h"

namespace cvt::drive {
void PrintTo(RunEnd end, std::ostream* out) { *out << NameOf(end); }
}  // namespace cvt::drive

namespace {

using cvt::drive::RunEnd;
using cvt::drive::RunResult;
using namespace cvt::hostile;

// Generous: here a hang is a failure; how long things take is the benchmark's business.
constexpr cvt::drive::RunLimits kLimits{60000, 60000};

std::string CvtExe() { return cvt::drive::WindowsPath(cvt::drive::ArgValue(__argc, __argv, "cvt")); }

// A prepared program folder, the files it got, and what the column definitions call for.
class HostileCase {
 public:
  explicit HostileCase(const CasePlan& plan) : folder_("cvt-hostile") {
    ok_ = !folder_.Path().empty() && CopyFileA(CvtExe().c_str(), Exe().c_str(), FALSE) &&
          WriteCase(folder_, plan, &files_, &error_);
    if (ok_) definitionsMissing_ = ColumnDefinitionsMissing(folder_);
  }

  [[nodiscard]] bool Ok() const { return ok_; }
  [[nodiscard]] const std::string& Error() const { return error_; }
  [[nodiscard]] std::string Exe() const { return folder_.Path() + "cvt.exe"; }
  [[nodiscard]] const CaseFolder& Folder() const { return folder_; }
  [[nodiscard]] RunEnd ExpectedEnd() const { return definitionsMissing_ ? RunEnd::ProgramError : RunEnd::Closed; }

  RunResult Run() const { return cvt::drive::RunAndClose(Exe(), folder_.Path(), kLimits, nullptr); }
  [[nodiscard]] std::vector<std::string> Losses(RunEnd end) const {
    return FindLosses(folder_, files_, end != RunEnd::Closed);
  }

 private:
  CaseFolder folder_;
  CaseFiles files_;
  std::string error_;
  bool ok_ = false;
  bool definitionsMissing_ = false;
};

std::string CaseName(const ::testing::TestParamInfo<size_t>& info) {
  const CasePlan plan = RepresentativePlans()[info.param];
  std::string name = "Case" + std::to_string(info.param);
  for (IniFile file : kIniFiles) {
    if (plan[file] == Hostility::Sound) continue;
    name += std::string("_") + FileNameOf(file) + "_" + NameOf(plan[file]);
  }
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

TEST(HostileIniPlansTest, RepresentativeCasesGiveEveryFileEveryKind) {
  const std::vector<CasePlan> plans = RepresentativePlans();
  EXPECT_EQ(plans.size(), 30u);
  std::set<std::pair<IniFile, Hostility>> seen;
  for (const CasePlan& plan : plans)
    for (IniFile file : kIniFiles) seen.insert({file, plan[file]});
  for (IniFile file : kIniFiles)
    for (Hostility kind : kHostileKinds)
      EXPECT_TRUE(seen.count({file, kind})) << FileNameOf(file) << " is never " << NameOf(kind);
}

class HostileIniE2eTest : public ::testing::TestWithParam<size_t> {};

TEST_P(HostileIniE2eTest, StartsClosesAndKeepsWhatItRead) {
  ASSERT_FALSE(CvtExe().empty()) << "pass --cvt=<path of cvt.exe>";
  const CasePlan plan = RepresentativePlans()[GetParam()];
  SCOPED_TRACE(Describe(plan));
  const HostileCase hostileCase(plan);
  ASSERT_TRUE(hostileCase.Ok()) << hostileCase.Error();

  const RunResult run = hostileCase.Run();
  ASSERT_EQ(run.end, hostileCase.ExpectedEnd()) << run.detail;
  EXPECT_THAT(hostileCase.Losses(run.end), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Representative, HostileIniE2eTest, ::testing::Range<size_t>(0, 30), CaseName);

// The check is worth its silence only if it speaks: values changed behind the
// program's back after its close are reported as lost.
TEST(HostileIniCheckTest, ReportsEntriesChangedAfterTheClose) {
  ASSERT_FALSE(CvtExe().empty()) << "pass --cvt=<path of cvt.exe>";
  CasePlan plan;  // sound files, with schedules in cvtmgr.ini
  while (GenerateFiles(plan)[IniFile::Schedules].bytes.find("[Mgr0]") == std::string::npos) ++plan.seed;
  const HostileCase hostileCase(plan);
  ASSERT_TRUE(hostileCase.Ok()) << hostileCase.Error();
  const std::string schedules = hostileCase.Folder().Program(IniFile::Schedules);

  const RunResult run = hostileCase.Run();
  ASSERT_EQ(run.end, RunEnd::Closed) << run.detail;
  ASSERT_THAT(hostileCase.Losses(run.end), ::testing::IsEmpty());

  const std::string settings = hostileCase.Folder().Program(IniFile::Settings);
  ASSERT_TRUE(WritePrivateProfileStringA("Mgr0", "FileName", "other.exe", schedules.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("List1", "Count", "0", settings.c_str()));
  const std::vector<std::string> losses = hostileCase.Losses(run.end);
  EXPECT_THAT(losses, ::testing::Contains(::testing::HasSubstr("Mgr0 FileName")));
  EXPECT_THAT(losses, ::testing::Contains(::testing::HasSubstr("List1 Count")));
}

}  // namespace
