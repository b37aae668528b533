// The PEB's process parameters hold the command line as a counted UTF-16
// string; their offsets are those of the reader's own pointer width.
#include "sysinfo/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/SystemLibrary.h"

namespace cvt {
namespace {

struct BasicInformation {  // PROCESS_BASIC_INFORMATION
    LONG exitStatus;
    void* pebBaseAddress;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR uniqueProcessId;
    ULONG_PTR inheritedFromUniqueProcessId;
};

struct CountedString {  // UNICODE_STRING
    USHORT length;  // in bytes
    USHORT maximumLength;
    wchar_t* buffer;
};

constexpr size_t kParametersInPeb = sizeof(void*) == 8 ? 0x20 : 0x10;
constexpr size_t kCommandLineInParameters = sizeof(void*) == 8 ? 0x70 : 0x40;

using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
using IsWow64Fn = BOOL(WINAPI*)(HANDLE, BOOL*);

// Looked up once: ntdll and kernel32 are in every process and never unloaded.
QueryFn Query() {
    static const QueryFn query = LookUpFunction<QueryFn>(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess");
    return query;
}

bool IsWow64(HANDLE process) {
    static const IsWow64Fn isWow64 = LookUpFunction<IsWow64Fn>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(process, &wow64) && wow64;
}

template <typename T>
bool ReadInto(HANDLE process, const void* address, T& value) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, &value, sizeof value, &read) && read == sizeof value;
}

}  // namespace

std::optional<std::string> ReadCommandLine(HANDLE process) {
    const QueryFn query = Query();
    if (query == nullptr) return std::nullopt;
    // A 32-bit reader sees only the 32-bit half of a 64-bit system.
    if constexpr (sizeof(void*) == 4) {
        if (IsWow64(GetCurrentProcess()) && !IsWow64(process)) return std::nullopt;
    }
    BasicInformation basic{};
    if (query(process, 0 /*ProcessBasicInformation*/, &basic, sizeof basic, nullptr) < 0 ||
        basic.pebBaseAddress == nullptr)
        return std::nullopt;
    void* parameters = nullptr;
    CountedString line{};
    if (!ReadInto(process, static_cast<const std::byte*>(basic.pebBaseAddress) + kParametersInPeb, parameters) ||
        parameters == nullptr ||
        !ReadInto(process, static_cast<const std::byte*>(parameters) + kCommandLineInParameters, line))
        return std::nullopt;
    if (line.length == 0) return std::string();
    if (line.buffer == nullptr || line.length % 2 != 0) return std::nullopt;
    std::vector<wchar_t> wide(line.length / 2);
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, line.buffer, wide.data(), line.length, &read) || read != line.length)
        return std::nullopt;
    const int wideLength = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::nullopt;
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, text.data(), size, nullptr, nullptr);
    return text;
}

}  // namespace cvt
