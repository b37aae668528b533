// Reading the running processes: one snapshot, one open per process.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sysinfo/ProcessApi.h"
#include "sysinfo/ProcessInfoCache.h"
#include "sysinfo/ProcessRecord.h"

namespace cvt {

struct ProcessSnapshot {
    bool failed = false;  // the system refused the snapshot
    std::vector<TProcessManager> processes;  // in the order the snapshot delivered them
};

// unknownUser: the text of a user that cannot be read. commandLines: read
// them too (NT family only); they cost two more reads of each process's memory.
[[nodiscard]] ProcessSnapshot ReadProcessSnapshot(ProcessApi& api, bool isNTPlatform, const std::string& unknownUser,
                                                  ProcessInfoCache& cache, bool commandLines = false);

// Full image path of one process, not normalised; empty when it cannot be found.
[[nodiscard]] std::string GetProcessImagePath(ProcessApi& api, bool isNTPlatform, uint32_t processId);

}  // namespace cvt
