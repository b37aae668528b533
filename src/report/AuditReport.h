// The plain-text system audit shown in the report editor: the same banner
// lines as the process report, then one block per finding.
#pragma once
#include <span>
#include <string>
#include <string_view>

#include "report/ProcessReport.h"
#include "sysinfo/HijackAudit.h"

namespace cvt {

// CR LF after every line. A finding seen in only one of two views read names that view.
[[nodiscard]] std::string AuditReportText(const LocalDateTime& now, std::string_view osName,
                                          std::span<const AuditFinding> findings);

}  // namespace cvt
