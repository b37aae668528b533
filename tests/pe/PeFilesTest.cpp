// cvt.exe must load on Windows 2000: a PE32 GUI program for subsystem 4.0
// whose static imports are all there, and nothing looked up at run time.
#include <windows.h>
#include <dbghelp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/Drive.h"

namespace {

struct Import {
  std::string dll;
  std::string function;  // empty when imported by ordinal
  int ordinal = -1;      // -1 when imported by name
};

struct Image {
  std::vector<char> bytes;
  IMAGE_NT_HEADERS* nt = nullptr;  // into bytes
  std::vector<Import> imports;
};

// The file named by --argument, with its import table read through the system's image helpers.
Image Load(const std::string& argument) {
  const std::string path = cvt::drive::WindowsPath(cvt::drive::ArgValue(__argc, __argv, argument));
  std::ifstream file(path, std::ios::binary);
  Image image{{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()}};
  image.nt = ImageNtHeader(image.bytes.data());
  if (image.nt == nullptr) {
    ADD_FAILURE() << "no PE file: --" << argument << "=" << path;
    return image;
  }
  const auto at = [&](DWORD rva) {
    return static_cast<const char*>(ImageRvaToVa(image.nt, image.bytes.data(), rva, nullptr));
  };
  ULONG size = 0;
  for (auto* d = static_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
           ImageDirectoryEntryToData(image.bytes.data(), FALSE, IMAGE_DIRECTORY_ENTRY_IMPORT, &size));
       d != nullptr && d->Name != 0; ++d) {
    const std::string dll = at(d->Name);
    auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA32*>(at(d->OriginalFirstThunk != 0 ? d->OriginalFirstThunk : d->FirstThunk));
    for (; thunk != nullptr && thunk->u1.AddressOfData != 0; ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL32(thunk->u1.Ordinal)) {
        image.imports.push_back({dll, "", static_cast<int>(IMAGE_ORDINAL32(thunk->u1.Ordinal))});
      } else {
        image.imports.push_back({dll, at(thunk->u1.AddressOfData) + 2, -1});  // past the hint
      }
    }
  }
  return image;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// What the program may import statically: the system's own libraries that every Windows from 95 on has.
const std::vector<std::string> kSystemDlls = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",   "advapi32.dll", "shell32.dll", "comctl32.dll",
    "comdlg32.dll", "ole32.dll",   "oleaut32.dll", "version.dll", "imm32.dll",   "msvcrt.dll"};

// Missing on Windows 2000, or looked up at run time by the program.
const std::vector<std::string> kForbiddenFunctions = {
    // Looked up at run time.
    "CreateToolhelp32Snapshot", "Process32First", "Process32Next", "Process32FirstW", "Process32NextW",
    "Module32First", "Module32Next", "Thread32First", "Thread32Next", "EnumProcessModules",
    "EnumProcesses", "GetModuleFileNameExA", "GetModuleFileNameExW", "IsHungAppWindow",
    "GetNativeSystemInfo", "StrFormatByteSizeA", "StrFormatByteSizeW", "StrFormatByteSize64A",
    // Windows XP and later.
    "GetTickCount64", "AddVectoredExceptionHandler", "RemoveVectoredExceptionHandler",
    "AddVectoredContinueHandler", "RemoveVectoredContinueHandler", "GetModuleHandleExA",
    "GetModuleHandleExW", "SetDllDirectoryA", "SetDllDirectoryW", "EncodePointer", "DecodePointer",
    "GetSystemTimes", "GetProcessId", "GetThreadId", "IsWow64Process", "GetLogicalProcessorInformation",
    "InitializeSListHead", "InterlockedPushEntrySList", "InterlockedPopEntrySList",
    "InterlockedFlushSList", "QueryDepthSList", "RtlCaptureContext", "RtlCaptureStackBackTrace",
    "HeapSetInformation", "AttachConsole", "GetSystemWow64DirectoryA", "WTSGetActiveConsoleSessionId",
    "QueryFullProcessImageNameA", "GetFinalPathNameByHandleA", "InitializeCriticalSectionEx",
    "CreateSymbolicLinkA", "GetErrorMode", "SetThreadStackGuarantee", "CancelIoEx", "PrintWindow",
    "SetProcessDPIAware", "ChangeWindowMessageFilter", "TaskDialog", "TaskDialogIndirect",
    "SetWindowSubclass", "DefSubclassProc", "RemoveWindowSubclass", "GetWindowSubclass", "RegGetValueA",
    "RegDeleteKeyExA", "SHGetKnownFolderPath", "GetLocaleInfoEx", "LCMapStringEx", "CompareStringEx",
    "LocaleNameToLCID", "CreateWellKnownSid",
    // msvcrt.dll of Windows XP and later.
    "_aligned_malloc", "_aligned_free", "_vscprintf", "_time64", "_localtime64", "_mktime64", "_gmtime64",
    "_get_output_format", "_set_invalid_parameter_handler"};

bool IsForbidden(const Import& import) {
  const std::string& f = import.function;
  return std::find(kForbiddenFunctions.begin(), kForbiddenFunctions.end(), f) != kForbiddenFunctions.end() ||
         f.find("ConditionVariable") != std::string::npos || f.find("SRWLock") != std::string::npos ||
         f.rfind("InitOnce", 0) == 0 || f.rfind("Fls", 0) == 0 ||
         // The secure "_s" functions came to msvcrt.dll with Windows Vista.
         (Lower(import.dll) == "msvcrt.dll" && f.size() > 2 && f.compare(f.size() - 2, 2, "_s") == 0);
}

// "dll!function" (or "dll!#ordinal", or "dll" for a DLL that is no part of the system), in lower case,
// for every import that would stop the program loading on Windows 2000 or that it must look up at run time.
std::vector<std::string> ForbiddenImports(const std::vector<Import>& imports) {
  std::vector<std::string> found;
  for (const Import& import : imports) {
    const std::string dll = Lower(import.dll);
    if (std::find(kSystemDlls.begin(), kSystemDlls.end(), dll) == kSystemDlls.end()) {
      if (std::find(found.begin(), found.end(), dll) == found.end()) found.push_back(dll);
    } else if (import.ordinal >= 0) {
      found.push_back(dll + "!#" + std::to_string(import.ordinal));  // ordinals differ between versions
    } else if (IsForbidden(import)) {
      found.push_back(dll + "!" + Lower(import.function));
    }
  }
  return found;
}

TEST(ImportTable, CvtIsWin32GuiProgramForSubsystem4) {
  const Image cvt = Load("cvt");
  ASSERT_NE(cvt.nt, nullptr);
  EXPECT_EQ(cvt.nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(cvt.nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
  EXPECT_EQ(cvt.nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  EXPECT_EQ(cvt.nt->OptionalHeader.MajorSubsystemVersion, 4);
  EXPECT_EQ(cvt.nt->OptionalHeader.MinorSubsystemVersion, 0);
  // Relocatable (ASLR) and not executing its data (DEP) where the system supports both.
  EXPECT_TRUE(cvt.nt->OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
  EXPECT_TRUE(cvt.nt->OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
  EXPECT_NE(cvt.nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u);
}

TEST(ImportTable, CvtImportsOnlyWhatWindows2000Has) {
  const Image cvt = Load("cvt");
  // The reader sees the real table: these calls are certainly there.
  const auto has = [&](const char* dll, const char* function) {
    return std::any_of(cvt.imports.begin(), cvt.imports.end(), [&](const Import& i) {
      return Lower(i.dll) == dll && i.function == function;
    });
  };
  EXPECT_TRUE(has("kernel32.dll", "GetProcAddress"));
  EXPECT_TRUE(has("user32.dll", "CreateWindowExA"));
  EXPECT_EQ(ForbiddenImports(cvt.imports), std::vector<std::string>{});
}

// The sample program breaks the rules on purpose: the check must see it in a real file.
TEST(ImportTable, CheckCatchesEveryKindOfForbiddenImport) {
  const std::vector<std::string> found = ForbiddenImports(Load("sample").imports);
  for (const char* expected : {"kernel32.dll!gettickcount64", "kernel32.dll!addvectoredexceptionhandler",
                               "kernel32.dll!acquiresrwlockexclusive",
                               "user32.dll!ishungappwindow", "psapi.dll", "libstdc++-6.dll"}) {
    EXPECT_NE(std::find(found.begin(), found.end(), expected), found.end()) << expected;
  }
}

TEST(ImportTable, RulesJudgeEachImport) {
  const std::pair<Import, bool> cases[] = {
      {{"ADVAPI32.DLL", "RegOpenKeyExA"}, false},  // DLL names in any case
      {{"msvcrt.dll", "strcpy"}, false},
      {{"kernel32.dll", "FlsAlloc"}, true},
      {{"kernel32.dll", "InitOnceExecuteOnce"}, true},
      {{"kernel32.dll", "SleepConditionVariableCS"}, true},
      {{"msvcrt.dll", "strcpy_s"}, true},
      {{"shell32.dll", "", 61}, true},  // the Run dialog, by ordinal
  };
  for (const auto& [import, forbidden] : cases) {
    EXPECT_EQ(ForbiddenImports({import}).empty(), !forbidden) << import.dll << "!" << import.function << import.ordinal;
  }
}

}  // namespace
