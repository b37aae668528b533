// The command line a process was started with, read from its own memory.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace cvt {

// process needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ. Absent where it
// cannot be read: no NtQueryInformationProcess (95/98/Me), a 64-bit process
// seen from a 32-bit program, a process gone or refusing. In the ANSI code page.
[[nodiscard]] std::optional<std::string> ReadCommandLine(HANDLE process);

}  // namespace cvt
