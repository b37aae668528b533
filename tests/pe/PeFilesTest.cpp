// The shipped files as files: cvt.exe and Shortcut.dll must load on the oldest
// system of their build (Windows 2000 for the 32-bit one, XP x64 / Server 2003
// x64 for the 64-bit one) and import nothing the program looks up at run time.
// Read natively, so no Windows program has to run to check either build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "PeImage.h"

namespace {

using cvt::pe::Image;
using cvt::pe::Import;

// --arch=win32|win64 and the three files, given by the build.
struct Files {
    bool is64 = false;
    std::string cvt, shortcut, sample;
};
Files files;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// What the program may import statically: the system's own libraries that every Windows from 95 on has.
const std::vector<std::string> kSystemDlls = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",    "advapi32.dll", "shell32.dll", "comctl32.dll",
    "comdlg32.dll", "ole32.dll",   "oleaut32.dll", "version.dll",  "imm32.dll",   "msvcrt.dll"};

// Looked up at run time by the program, so that it runs where they are missing.
const std::vector<std::string> kLookedUpAtRunTime = {
    "CreateToolhelp32Snapshot", "Process32First", "Process32Next", "Process32FirstW", "Process32NextW",
    "Module32First", "Module32Next", "Thread32First", "Thread32Next", "EnumProcessModules", "EnumProcesses",
    "GetModuleFileNameExA", "GetModuleFileNameExW", "IsHungAppWindow", "GetNativeSystemInfo",
    "StrFormatByteSizeA", "StrFormatByteSizeW", "StrFormatByteSize64A"};

// Came with Windows XP or Server 2003: missing on Windows 2000, present on the x64 editions (NT 5.2).
const std::vector<std::string> kSinceXp = {
    "AddVectoredExceptionHandler", "RemoveVectoredExceptionHandler", "GetModuleHandleExA", "GetModuleHandleExW",
    "SetDllDirectoryA", "SetDllDirectoryW", "EncodePointer", "DecodePointer", "GetSystemTimes", "GetProcessId",
    "GetThreadId", "IsWow64Process", "InitializeSListHead", "InterlockedPushEntrySList", "InterlockedPopEntrySList",
    "InterlockedFlushSList", "QueryDepthSList", "RtlCaptureContext", "RtlCaptureStackBackTrace",
    "HeapSetInformation", "AttachConsole", "GetSystemWow64DirectoryA", "WTSGetActiveConsoleSessionId",
    "PrintWindow", "SetThreadStackGuarantee", "CreateWellKnownSid",
    // msvcrt.dll of Windows XP.
    "_aligned_malloc", "_aligned_free", "_vscprintf", "_time64", "_localtime64", "_mktime64", "_gmtime64"};

// Missing on NT 5.2 too (Vista and later), or not safely there on every edition of it.
const std::vector<std::string> kSinceVista = {
    "GetTickCount64", "AddVectoredContinueHandler", "RemoveVectoredContinueHandler",
    "GetLogicalProcessorInformation", "QueryFullProcessImageNameA", "GetFinalPathNameByHandleA",
    "InitializeCriticalSectionEx", "CreateSymbolicLinkA", "GetErrorMode", "CancelIoEx", "SetProcessDPIAware",
    "ChangeWindowMessageFilter", "TaskDialog", "TaskDialogIndirect", "SetWindowSubclass", "DefSubclassProc",
    "RemoveWindowSubclass", "GetWindowSubclass", "RegGetValueA", "RegDeleteKeyExA", "SHGetKnownFolderPath",
    "GetLocaleInfoEx", "LCMapStringEx", "CompareStringEx", "LocaleNameToLCID",
    // msvcrt.dll of Windows Vista.
    "_get_output_format", "_set_invalid_parameter_handler"};

bool IsForbidden(const Import& import, bool for64) {
    const std::string& f = import.function;
    return Contains(kLookedUpAtRunTime, f) || Contains(kSinceVista, f) || (!for64 && Contains(kSinceXp, f)) ||
           f.find("ConditionVariable") != std::string::npos || f.find("SRWLock") != std::string::npos ||
           f.rfind("InitOnce", 0) == 0 || f.rfind("Fls", 0) == 0 ||
           // The secure "_s" functions came to msvcrt.dll with Windows Vista.
           (Lower(import.dll) == "msvcrt.dll" && f.size() > 2 && f.compare(f.size() - 2, 2, "_s") == 0);
}

// "dll!function" (or "dll!#ordinal", or "dll" for a DLL that is no part of the system), in lower case,
// for every import that would stop the file loading on its oldest system or that must be looked up at run time.
std::vector<std::string> ForbiddenImports(const std::vector<Import>& imports, bool for64) {
    std::vector<std::string> found;
    for (const Import& import : imports) {
        const std::string dll = Lower(import.dll);
        if (!Contains(kSystemDlls, dll)) {
            if (!Contains(found, dll)) found.push_back(dll);
        } else if (import.ordinal >= 0) {
            found.push_back(dll + "!#" + std::to_string(import.ordinal));  // ordinals differ between versions
        } else if (IsForbidden(import, for64)) {
            found.push_back(dll + "!" + Lower(import.function));
        }
    }
    return found;
}

void ExpectLoadsOnItsOldestSystem(const Image& image, const std::string& what) {
    ASSERT_TRUE(image.Valid()) << what;
    const auto& h = image.Headers();
    EXPECT_EQ(h.machine, files.is64 ? cvt::pe::kMachineAmd64 : cvt::pe::kMachineI386) << what;
    EXPECT_EQ(h.magic, files.is64 ? cvt::pe::kMagicPe32Plus : cvt::pe::kMagicPe32) << what;
    EXPECT_EQ(h.majorSubsystem, files.is64 ? 5 : 4) << what;
    EXPECT_EQ(h.minorSubsystem, files.is64 ? 2 : 0) << what;
    // Relocatable (ASLR) and not executing its data (DEP) where the system supports both.
    EXPECT_TRUE(h.dllCharacteristics & cvt::pe::kDynamicBase) << what;
    EXPECT_TRUE(h.dllCharacteristics & cvt::pe::kNxCompat) << what;
    EXPECT_NE(image.Directory(cvt::pe::kDirBaseReloc).size, 0u) << what;
    EXPECT_EQ(ForbiddenImports(image.Imports(), files.is64), std::vector<std::string>{}) << what;
}

TEST(PeFiles, CvtLoadsOnItsOldestSystem) {
    const Image cvt(files.cvt);
    ExpectLoadsOnItsOldestSystem(cvt, files.cvt);
    EXPECT_FALSE(cvt.Headers().characteristics & cvt::pe::kFileDll);
    EXPECT_EQ(cvt.Headers().subsystem, cvt::pe::kSubsystemGui);
    // The reader sees the real table: these calls are certainly there.
    const auto imports = cvt.Imports();
    const auto has = [&](const char* dll, const char* function) {
        return std::any_of(imports.begin(), imports.end(),
                           [&](const Import& i) { return Lower(i.dll) == dll && i.function == function; });
    };
    EXPECT_TRUE(has("kernel32.dll", "GetProcAddress"));
    EXPECT_TRUE(has("user32.dll", "CreateWindowExA"));

    // The program and the common controls it asks for are of its own architecture, or it does not start.
    const auto manifest = cvt.Resource(24, 1);  // RT_MANIFEST
    ASSERT_TRUE(manifest.has_value());
    const std::string text(manifest->begin(), manifest->end());
    const std::string own = files.is64 ? R"(processorArchitecture="amd64")" : R"(processorArchitecture="x86")";
    size_t count = 0;
    for (size_t at = text.find("processorArchitecture="); at != std::string::npos;
         at = text.find("processorArchitecture=", at + 1), ++count)
        EXPECT_EQ(text.compare(at, own.size(), own), 0) << text.substr(at, 40);
    EXPECT_EQ(count, 2u) << "the program's identity and the common controls'";
}

// One function under its plain name only, and a self-contained DLL that needs no compiler run-time DLLs.
TEST(PeFiles, ShortcutDllLoadsOnItsOldestSystemAndExportsOnlyTheUndecoratedName) {
    const Image dll(files.shortcut);
    ExpectLoadsOnItsOldestSystem(dll, files.shortcut);
    EXPECT_TRUE(dll.Headers().characteristics & cvt::pe::kFileDll);
    uint32_t functions = 0;
    EXPECT_EQ(dll.ExportNames(&functions), std::vector<std::string>{"CreateShortcut"});
    EXPECT_EQ(functions, 1u);
}

// The sample program breaks the rules on purpose: the check must see it in a real file.
TEST(PeFiles, CheckCatchesEveryKindOfForbiddenImport) {
    const std::vector<std::string> found = ForbiddenImports(Image(files.sample).Imports(), files.is64);
    for (const char* expected : {"kernel32.dll!gettickcount64", "kernel32.dll!acquiresrwlockexclusive",
                                 "user32.dll!ishungappwindow", "psapi.dll", "libstdc++-6.dll"})
        EXPECT_TRUE(Contains(found, expected)) << expected;
    // Present on NT 5.2, missing on Windows 2000.
    EXPECT_EQ(Contains(found, "kernel32.dll!addvectoredexceptionhandler"), !files.is64);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](const char* name) { return arg.substr(std::string(name).size()); };
        if (arg == "--arch=win64") files.is64 = true;
        else if (arg.rfind("--cvt=", 0) == 0) files.cvt = value("--cvt=");
        else if (arg.rfind("--shortcut=", 0) == 0) files.shortcut = value("--shortcut=");
        else if (arg.rfind("--sample=", 0) == 0) files.sample = value("--sample=");
    }
    return RUN_ALL_TESTS();
}
