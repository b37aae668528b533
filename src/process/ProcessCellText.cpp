// Cell texts of the process list.
#include "process/ProcessCellText.h"

#include "base/AsciiText.h"
#include "lists/CellFormat.h"

namespace cvt {

std::string NormalizeImagePath(std::string_view path, std::string_view systemRoot) {
    constexpr std::string_view kSystemRoot = "\\SystemRoot\\";
    constexpr std::string_view kDosDevices = "\\??\\";
    std::string result;
    // The presence test is case-sensitive; the replacement then takes every case.
    if (path.find(kSystemRoot) != std::string_view::npos) {
        std::string root(systemRoot);
        if (root.empty() || root.back() != '\\') root += '\\';
        for (size_t i = 0; i < path.size();) {
            if (AsciiEqualsIgnoringCase(path.substr(i, kSystemRoot.size()), kSystemRoot)) {
                result += root;
                i += kSystemRoot.size();
            } else {
                result += path[i++];
            }
        }
    } else {
        result.assign(path);
    }
    for (size_t at; (at = result.find(kDosDevices)) != std::string::npos;) result.erase(at, kDosDevices.size());
    return result;
}

std::string ProcessCellText(int kind, const TProcessManager& process, std::string_view priorityName,
                            std::string_view systemRoot, const ProcessExtraTexts& extra) {
    switch (kind) {
        case 0: return FormatPidHex(process.ProcessID);
        case 1: return FormatDecimal5(static_cast<int32_t>(process.ProcessID));
        case 2: return process.ImageName;
        case 3: return NormalizeImagePath(TrimControls(process.ImagePath), systemRoot);
        case 4: return std::string(priorityName);
        case 5: return process.UserName;
        case 6: return FormatDecimal5(static_cast<int32_t>(process.ThreadCount));
        case kKindVerdict: return std::string(extra.verdict);
        case kKindParentPid: return FormatDecimal5(static_cast<int32_t>(process.ParentProcessID));
        case kKindStartTime: return std::string(extra.startTime);
        case kKindCommandLine: return process.CommandLine.value_or(std::string());
        default: return {};
    }
}

}  // namespace cvt
