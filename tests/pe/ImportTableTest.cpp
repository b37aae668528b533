// cvt.exe must load on Windows 2000: a PE32 GUI program for subsystem 4.0
// whose static imports are all there, and nothing looked up at run time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../support/Drive.h"
#include "PeImage.h"

namespace {

using cvt::pe::Image;

Image Load(const std::string& argument) {
  const std::string path = cvt::drive::WindowsPath(cvt::drive::ArgValue(__argc, __argv, argument));
  const auto bytes = cvt::pe::ReadFileBytes(path);
  if (!bytes) {
    ADD_FAILURE() << "cannot read --" << argument << "=" << path;
    return {};
  }
  std::string error;
  const auto image = cvt::pe::ReadImage(*bytes, &error);
  if (!image) {
    ADD_FAILURE() << path << ": " << error;
    return {};
  }
  return *image;
}

bool Imports(const Image& image, const std::string& dll, const std::string& function) {
  for (const auto& import : image.imports) {
    if (_stricmp(import.dll.c_str(), dll.c_str()) == 0 && import.function == function) return true;
  }
  return false;
}

TEST(ImportTable, CvtIsWin32GuiProgramForSubsystem4) {
  const Image cvt = Load("cvt");
  EXPECT_EQ(cvt.machine, 0x14C) << "i386";
  EXPECT_EQ(cvt.optionalMagic, 0x10B) << "PE32";
  EXPECT_EQ(cvt.subsystem, 2) << "Windows GUI";
  EXPECT_EQ(cvt.subsystemMajor, 4);
  EXPECT_EQ(cvt.subsystemMinor, 0);
}

TEST(ImportTable, CvtImportsOnlyWhatWindows2000Has) {
  const Image cvt = Load("cvt");
  // The reader sees the real table: these calls are certainly there.
  EXPECT_TRUE(Imports(cvt, "kernel32.dll", "GetProcAddress"));
  EXPECT_TRUE(Imports(cvt, "user32.dll", "CreateWindowExA"));
  EXPECT_EQ(cvt::pe::ForbiddenImports(cvt), std::vector<std::string>{});
}

TEST(ImportTable, CheckCatchesEveryKindOfForbiddenImport) {
  const Image sample = Load("sample");
  std::vector<std::string> found = cvt::pe::ForbiddenImports(sample);
  for (std::string& entry : found) {
    for (char& c : entry) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  }
  for (const char* expected :
       {"kernel32.dll!gettickcount64", "kernel32.dll!addvectoredexceptionhandler",
        "kernel32.dll!acquiresrwlockexclusive", "user32.dll!ishungappwindow", "psapi.dll",
        "libstdc++-6.dll"}) {
    EXPECT_NE(std::find(found.begin(), found.end(), expected), found.end()) << expected;
  }
}

TEST(ImportTable, RulesJudgeEachImport) {
  struct Case {
    cvt::pe::Import import;
    bool forbidden;
  };
  const Case cases[] = {
      {{"KERNEL32.dll", "CreateFileA"}, false},
      {{"ADVAPI32.DLL", "RegOpenKeyExA"}, false},  // DLL names in any case
      {{"msvcrt.dll", "strcpy"}, false},
      {{"kernel32.dll", "GetTickCount64"}, true},
      {{"kernel32.dll", "FlsAlloc"}, true},
      {{"kernel32.dll", "InitOnceExecuteOnce"}, true},
      {{"kernel32.dll", "SleepConditionVariableCS"}, true},
      {{"kernel32.dll", "TryAcquireSRWLockShared"}, true},
      {{"kernel32.dll", "Process32Next"}, true},
      {{"msvcrt.dll", "strcpy_s"}, true},
      {{"shell32.dll", "", 61}, true},  // the Run dialog, by ordinal
      {{"psapi.dll", "GetModuleFileNameExA"}, true},
      {{"libwinpthread-1.dll", "pthread_once"}, true},
  };
  for (const Case& c : cases) {
    Image image;
    image.imports = {c.import};
    EXPECT_EQ(cvt::pe::ForbiddenImports(image).empty(), !c.forbidden)
        << c.import.dll << "!" << c.import.function << c.import.ordinal;
  }
}

TEST(ImportTable, ReaderRejectsDamagedFiles) {
  std::string error;
  EXPECT_FALSE(cvt::pe::ReadImage({}, &error));
  EXPECT_FALSE(cvt::pe::ReadImage(std::vector<std::uint8_t>(64, 0), &error));

  // A real header whose import directory points past the end of the file.
  const std::string path = cvt::drive::WindowsPath(cvt::drive::ArgValue(__argc, __argv, "cvt"));
  auto bytes = cvt::pe::ReadFileBytes(path);
  ASSERT_TRUE(bytes);
  const std::uint32_t pe = (*bytes)[0x3C] | (*bytes)[0x3D] << 8;
  const std::size_t importRva = pe + 24 + 96 + 8;
  ASSERT_LT(importRva + 4, bytes->size());
  for (int i = 0; i < 4; ++i) (*bytes)[importRva + i] = 0xFF;
  EXPECT_FALSE(cvt::pe::ReadImage(*bytes, &error));
  bytes->resize(pe + 30);
  EXPECT_FALSE(cvt::pe::ReadImage(*bytes, &error));
}

}  // namespace
