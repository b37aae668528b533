// What a refresh may remember between passes without ever showing stale data:
// account names by SID (a SID names one account), and a process's image path
// and user by its PID together with its creation time (a reused PID has
// another creation time). Entries of processes gone from a pass are dropped.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>

#include "sysinfo/ProcessRecord.h"

namespace cvt {

class ProcessInfoCache {
public:
    struct Identity {
        std::string imagePath;  // empty: not known yet
        std::string userName;   // empty: not known yet
        WellKnownAccount account = WellKnownAccount::Unknown;
        std::optional<std::string> commandLine;  // absent: not read yet
    };

    [[nodiscard]] const std::string* AccountName(const std::string& sidBytes) const;
    void RememberAccountName(std::string sidBytes, std::string name);

    // Starts a pass; identities not looked up again before EndPass are dropped.
    void BeginPass();
    [[nodiscard]] Identity* Find(uint32_t pid, uint64_t creationTime);
    Identity& Remember(uint32_t pid, uint64_t creationTime);
    void EndPass();

    [[nodiscard]] size_t IdentityCount() const noexcept { return identities_.size(); }

private:
    struct Entry {
        uint64_t creationTime;
        Identity identity;
        bool seen;
    };
    std::unordered_map<std::string, std::string> accounts_;
    std::map<uint32_t, Entry> identities_;
};

}  // namespace cvt
