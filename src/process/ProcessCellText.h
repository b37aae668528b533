// The texts the columns of the process list show for one process.
#pragma once
#include <string>
#include <string_view>

#include "sysinfo/ProcessRecord.h"

namespace cvt {

// Kernel-style prefixes rewritten: "\SystemRoot\" (present in that case) becomes the
// Windows folder, any case replaced; then every "\??\" is removed.
[[nodiscard]] std::string NormalizeImagePath(std::string_view path, std::string_view systemRoot);

// Kinds beyond the snapshot's own: what the page computes for a row.
enum ProcessExtraKind : int { kKindVerdict = 100, kKindParentPid = 101, kKindStartTime = 102, kKindCommandLine = 103 };
struct ProcessExtraTexts {
    std::string_view verdict;    // kind 100
    std::string_view startTime;  // kind 102, in local time
};

// The cell text of a process column kind; kinds outside 0-6 and 100-103 give "".
// priorityName is the already looked-up name of the record's class.
[[nodiscard]] std::string ProcessCellText(int kind, const TProcessManager& process, std::string_view priorityName,
                                          std::string_view systemRoot, const ProcessExtraTexts& extra = {});

}  // namespace cvt
