// Per-SID and per-process memo of the refresh.
#include "sysinfo/ProcessInfoCache.h"

namespace cvt {

// A SID table that outgrew any real system is cleared rather than grown.
constexpr size_t kMaxAccounts = 4096;

const std::string* ProcessInfoCache::AccountName(const std::string& sidBytes) const {
    auto it = accounts_.find(sidBytes);
    return it == accounts_.end() ? nullptr : &it->second;
}

void ProcessInfoCache::RememberAccountName(std::string sidBytes, std::string name) {
    if (accounts_.size() >= kMaxAccounts) accounts_.clear();
    accounts_[std::move(sidBytes)] = std::move(name);
}

void ProcessInfoCache::BeginPass() {
    for (auto& [pid, entry] : identities_) entry.seen = false;
}

ProcessInfoCache::Identity* ProcessInfoCache::Find(uint32_t pid, uint64_t creationTime) {
    auto it = identities_.find(pid);
    if (it == identities_.end() || it->second.creationTime != creationTime) return nullptr;
    it->second.seen = true;
    return &it->second.identity;
}

ProcessInfoCache::Identity& ProcessInfoCache::Remember(uint32_t pid, uint64_t creationTime) {
    Entry& entry = identities_[pid];
    if (entry.creationTime != creationTime) entry = Entry{creationTime, {}, true};
    entry.seen = true;
    return entry.identity;
}

void ProcessInfoCache::EndPass() {
    std::erase_if(identities_, [](const auto& item) { return !item.second.seen; });
}

}  // namespace cvt
