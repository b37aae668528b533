// PE32 header and import table reader, and the Windows 2000 import rules.
#include "PeImage.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace cvt::pe {
namespace {

// Bounds-checked little-endian reads: a malformed file yields errors, not
// reads past the buffer.
class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  bool Has(std::uint64_t offset, std::uint64_t size) const {
    return offset <= bytes_.size() && size <= bytes_.size() - offset;
  }
  std::uint16_t U16(std::uint64_t offset) const {
    if (!Has(offset, 2)) return 0;
    return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  std::uint32_t U32(std::uint64_t offset) const {
    if (!Has(offset, 4)) return 0;
    return static_cast<std::uint32_t>(U16(offset)) | static_cast<std::uint32_t>(U16(offset + 2)) << 16;
  }
  std::optional<std::string> Text(std::uint64_t offset) const {
    std::string text;
    for (std::uint64_t i = offset; i < bytes_.size() && text.size() < 4096; ++i) {
      if (bytes_[i] == 0) return text;
      text.push_back(static_cast<char>(bytes_[i]));
    }
    return std::nullopt;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
};

struct Section {
  std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

std::optional<std::uint64_t> RvaToOffset(const std::vector<Section>& sections, std::uint32_t rva) {
  for (const Section& s : sections) {
    const std::uint32_t span = std::max(s.virtualSize, s.rawSize);
    if (rva >= s.virtualAddress && rva - s.virtualAddress < span) {
      const std::uint32_t within = rva - s.virtualAddress;
      if (within >= s.rawSize) return std::nullopt;  // in memory only
      return std::uint64_t{s.rawOffset} + within;
    }
  }
  return std::nullopt;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What the program may import statically: the system's own libraries that
// every Windows from 95 on has.
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

const std::vector<std::string> kForbiddenParts = {"ConditionVariable", "SRWLock"};
const std::vector<std::string> kForbiddenPrefixes = {"InitOnce", "Fls"};

bool IsForbidden(const Import& import) {
  const std::string& f = import.function;
  if (std::find(kForbiddenFunctions.begin(), kForbiddenFunctions.end(), f) != kForbiddenFunctions.end()) {
    return true;
  }
  for (const std::string& part : kForbiddenParts) {
    if (f.find(part) != std::string::npos) return true;
  }
  for (const std::string& prefix : kForbiddenPrefixes) {
    if (f.rfind(prefix, 0) == 0) return true;
  }
  // The secure "_s" functions came to msvcrt.dll with Windows Vista.
  return Lower(import.dll) == "msvcrt.dll" && EndsWith(f, "_s");
}

}  // namespace

std::optional<Image> ReadImage(const std::vector<std::uint8_t>& bytes, std::string* error) {
  const Reader r(bytes);
  auto fail = [error](const char* why) -> std::optional<Image> {
    if (error != nullptr) *error = why;
    return std::nullopt;
  };
  if (!r.Has(0, 64) || r.U16(0) != 0x5A4D) return fail("no MZ header");
  const std::uint64_t pe = r.U32(0x3C);
  if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550) return fail("no PE signature");

  Image image;
  image.machine = r.U16(pe + 4);
  const std::uint16_t sectionCount = r.U16(pe + 6);
  const std::uint16_t optionalSize = r.U16(pe + 20);
  const std::uint64_t optional = pe + 24;
  if (!r.Has(optional, optionalSize) || optionalSize < 96) return fail("optional header too short");
  image.optionalMagic = r.U16(optional);
  if (image.optionalMagic != 0x10B) return fail("not PE32");
  image.subsystemMajor = r.U16(optional + 48);
  image.subsystemMinor = r.U16(optional + 50);
  image.subsystem = r.U16(optional + 68);
  const std::uint32_t directoryCount = r.U32(optional + 92);

  std::vector<Section> sections;
  const std::uint64_t table = optional + optionalSize;
  if (!r.Has(table, std::uint64_t{sectionCount} * 40)) return fail("section table truncated");
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t s = table + std::uint64_t{i} * 40;
    sections.push_back({r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16)});
  }

  if (directoryCount < 2 || optionalSize < 96 + 2 * 8) return image;  // no import directory
  const std::uint32_t importRva = r.U32(optional + 96 + 8);
  if (importRva == 0) return image;
  const auto importOffset = RvaToOffset(sections, importRva);
  if (!importOffset) return fail("import directory outside the file");

  // Bounded loops: a malformed table ends in an error, never a hang.
  for (std::uint64_t d = *importOffset, count = 0;; d += 20, ++count) {
    if (!r.Has(d, 20) || count > 4096) return fail("import descriptors unterminated");
    const std::uint32_t lookupRva = r.U32(d);
    const std::uint32_t nameRva = r.U32(d + 12);
    const std::uint32_t addressRva = r.U32(d + 16);
    if (nameRva == 0 && addressRva == 0) break;
    const auto nameOffset = RvaToOffset(sections, nameRva);
    const auto dll = nameOffset ? r.Text(*nameOffset) : std::nullopt;
    if (!dll) return fail("DLL name unreadable");
    const auto thunks = RvaToOffset(sections, lookupRva != 0 ? lookupRva : addressRva);
    if (!thunks) return fail("import lookup table outside the file");
    for (std::uint64_t t = *thunks, n = 0;; t += 4, ++n) {
      if (!r.Has(t, 4) || n > 65536) return fail("import lookup table unterminated");
      const std::uint32_t thunk = r.U32(t);
      if (thunk == 0) break;
      if (thunk & 0x80000000u) {
        image.imports.push_back({*dll, "", static_cast<int>(thunk & 0xFFFF)});
        continue;
      }
      const auto hint = RvaToOffset(sections, thunk);
      const auto function = hint ? r.Text(*hint + 2) : std::nullopt;
      if (!function) return fail("imported name unreadable");
      image.imports.push_back({*dll, *function, -1});
    }
  }
  return image;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> ForbiddenImports(const Image& image) {
  std::vector<std::string> found;
  for (const Import& import : image.imports) {
    const bool systemDll =
        std::find(kSystemDlls.begin(), kSystemDlls.end(), Lower(import.dll)) != kSystemDlls.end();
    if (!systemDll) {
      if (std::find(found.begin(), found.end(), import.dll) == found.end()) found.push_back(import.dll);
    } else if (import.ordinal >= 0) {
      // Ordinals differ between Windows versions.
      found.push_back(import.dll + "!#" + std::to_string(import.ordinal));
    } else if (IsForbidden(import)) {
      found.push_back(import.dll + "!" + import.function);
    }
  }
  return found;
}

}  // namespace cvt::pe
