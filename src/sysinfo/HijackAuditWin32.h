// Reading what the system audit judges: the registry places, the running
// images and the accessibility programs' version information. Read-only.
#pragma once
#include <string>

#include "sysinfo/HijackAudit.h"
#include "sysinfo/ProcessApi.h"

namespace cvt {

struct AuditSources {
    std::string appDir;  // this copy's program folder, for its own registration
    // Where the accessibility programs are looked for; empty: the system folder.
    std::string programFolder;
};

[[nodiscard]] AuditFacts ReadAuditFacts(const AuditSources& sources, ProcessApi& api);

}  // namespace cvt
