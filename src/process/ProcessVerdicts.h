// The verdicts of one refresh: the engine fed with the snapshot's records, the
// files' version names and the danger database, each read only when it changes.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "details/ProcessDangerDb.h"
#include "sysinfo/HostFacts.h"
#include "sysinfo/ProcessRecord.h"
#include "verdict/VerdictMemo.h"

namespace cvt {

class ProcessVerdicts {
public:
    ProcessVerdicts() = default;
    ProcessVerdicts(const ProcessVerdicts&) = delete;  // the memo refers to the engine
    ProcessVerdicts& operator=(const ProcessVerdicts&) = delete;

    // database: null for none; it outlives this object. Forgets every verdict.
    void Configure(const ProcessDangerDb* database, const HostFacts& host);
    [[nodiscard]] bool Configured() const noexcept { return engine_ != nullptr; }
    [[nodiscard]] const ProcessDangerDb* Database() const noexcept { return database_; }

    // One verdict per process, in the records' order.
    [[nodiscard]] std::vector<Verdict> Judge(const std::vector<TProcessManager>& processes,
                                             const std::string& systemRoot);

    [[nodiscard]] uint64_t VersionReads() const noexcept { return versionReads_; }

private:
    [[nodiscard]] std::optional<DatabaseEntry> EntryOf(const std::string& imageName);
    [[nodiscard]] std::optional<VersionNames> VersionOf(const std::string& path);

    struct FileVersion {
        uint64_t size = 0;
        uint64_t writeTime = 0;
        VersionNames names;
        bool seen = false;
    };
    const ProcessDangerDb* database_ = nullptr;
    std::unique_ptr<VerdictEngine> engine_;
    std::unique_ptr<VerdictMemo> memo_;
    std::unordered_map<std::string, std::optional<DatabaseEntry>> entries_;  // by image name as the snapshot gave it
    std::unordered_map<std::string, FileVersion> versions_;                 // by path
    uint64_t versionReads_ = 0;
};

}  // namespace cvt
