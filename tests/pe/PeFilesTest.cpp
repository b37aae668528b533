// The shipped files as files: cvt.exe and Shortcut.dll must load on the oldest
// system of their build (Windows 2000 for the 32-bit one, XP x64 / Server 2003
// x64 for the 64-bit one), import nothing the program looks up at run time, and
// carry the icon and drag cursors. Read natively, so no Windows program has to
// run to check either build.
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

TEST(PeFiles, RulesJudgeEachImport) {
    struct Case {
        Import import;
        bool forbidden32, forbidden64;
    };
    const Case cases[] = {
        {{"ADVAPI32.DLL", "RegOpenKeyExA"}, false, false},  // DLL names in any case
        {{"msvcrt.dll", "strcpy"}, false, false},
        {{"kernel32.dll", "EncodePointer"}, true, false},
        {{"kernel32.dll", "GetTickCount64"}, true, true},
        {{"kernel32.dll", "FlsAlloc"}, true, true},
        {{"kernel32.dll", "InitOnceExecuteOnce"}, true, true},
        {{"kernel32.dll", "SleepConditionVariableCS"}, true, true},
        {{"msvcrt.dll", "strcpy_s"}, true, true},
        {{"shell32.dll", "", 61}, true, true},  // the Run dialog, by ordinal
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!ForbiddenImports({c.import}, false).empty(), c.forbidden32) << c.import.function << c.import.ordinal;
        EXPECT_EQ(!ForbiddenImports({c.import}, true).empty(), c.forbidden64) << c.import.function << c.import.ordinal;
    }
}

uint16_t Word(const std::vector<uint8_t>& data, size_t at) {
    return at + 2 <= data.size() ? static_cast<uint16_t>(data[at] | data[at + 1] << 8) : 0;
}
int32_t Long(const std::vector<uint8_t>& data, size_t at) {
    return at + 4 <= data.size() ? static_cast<int32_t>(Word(data, at) | static_cast<uint32_t>(Word(data, at + 2)) << 16) : 0;
}

TEST(PeFiles, ProgramIconHasBothSizes) {
    // The icon directory lists the images themselves; a single image would be stretched into the other size.
    const Image cvt(files.cvt);
    const auto group = cvt.Resource(cvt::pe::kResourceGroupIcon, 1);
    ASSERT_TRUE(group.has_value()) << "icon 1";
    const uint16_t count = Word(*group, 4);
    ASSERT_LE(6 + count * 14u, group->size());
    std::vector<int> sizes;
    for (uint16_t i = 0; i < count; ++i) {
        const int size = (*group)[6 + i * 14];
        sizes.push_back(size);
        const auto image = cvt.Resource(cvt::pe::kResourceIcon, uint32_t{Word(*group, 6 + i * 14 + 12)});
        ASSERT_TRUE(image.has_value()) << size;
        EXPECT_EQ(Long(*image, 4), size) << "the image's own width";
        EXPECT_EQ(Long(*image, 8), 2 * size) << "colour and mask rows";
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
}

TEST(PeFiles, DragCursorsAreDistinct32PixelArrowsPointingFromTheTopLeft) {
    const Image cvt(files.cvt);
    std::vector<uint8_t> bits[2];
    for (int i = 0; i < 2; ++i) {
        const std::string name = "DRAGCUR" + std::to_string(i + 1);  // resource names are kept in upper case
        const auto group = cvt.Resource(cvt::pe::kResourceGroupCursor, name);
        ASSERT_TRUE(group.has_value()) << name;
        ASSERT_EQ(Word(*group, 4), 1) << name;
        const auto cursor = cvt.Resource(cvt::pe::kResourceCursor, uint32_t{Word(*group, 6 + 12)});
        ASSERT_TRUE(cursor.has_value()) << name;
        EXPECT_EQ(Word(*cursor, 0) + Word(*cursor, 2), 0) << name << ": hot spot";
        EXPECT_EQ(Long(*cursor, 4 + 4), 32) << name;
        EXPECT_EQ(Long(*cursor, 4 + 8), 64) << name << ": 32 rows of image and 32 of mask";
        bits[i].assign(cursor->begin() + 4 + 40, cursor->end());
    }
    EXPECT_NE(bits[0], bits[1]) << "the copy cursor shows a plus";
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
