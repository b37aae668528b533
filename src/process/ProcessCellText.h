// The texts the columns of the process list show for one process.
#pragma once
#include <string>
#include <string_view>

#include "sysinfo/ProcessRecord.h"

namespace cvt {

// Kernel-style prefixes rewritten: "\SystemRoot\" (present in that case) becomes the
// Windows folder, any case replaced; then every "\??\" is removed.
[[nodiscard]] std::string NormalizeImagePath(std::string_view path, std::string_view systemRoot);

// The cell text of a process column kind; kinds outside 0-6 give "".
// priorityName is the already looked-up name of the record's class.
[[nodiscard]] std::string ProcessCellText(int kind, const TProcessManager& process, std::string_view priorityName,
                                          std::string_view systemRoot);

}  // namespace cvt
