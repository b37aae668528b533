// Facts, cell texts, colours and the new-row memory of the verdicts on the process list.
#include "process/VerdictRows.h"

#include <algorithm>
#include <unordered_set>

#include "base/AsciiText.h"
#include "process/ProcessCellText.h"
#include "verdict/VerdictText.h"

namespace cvt {

std::string ProcessRowKey(const TProcessManager& process) {
    return std::to_string(process.ProcessID) + (process.CreationTime != 0 ? "@" + std::to_string(process.CreationTime)
                                                                          : "/" + process.ImageName);
}

namespace {

Account AccountOf(WellKnownAccount account) {
    switch (account) {
        case WellKnownAccount::System: return Account::System;
        case WellKnownAccount::LocalService: return Account::LocalService;
        case WellKnownAccount::NetworkService: return Account::NetworkService;
        case WellKnownAccount::Other: return Account::Other;
        default: return Account::Unknown;
    }
}

}  // namespace

std::vector<ProcessFacts> FactsOfSnapshot(const std::vector<TProcessManager>& processes,
                                          std::string_view systemRoot) {
    std::unordered_map<uint32_t, const TProcessManager*> byPid;
    for (const TProcessManager& process : processes) byPid.emplace(process.ProcessID, &process);
    std::vector<ProcessFacts> all;
    all.reserve(processes.size());
    for (const TProcessManager& process : processes) {
        ProcessFacts& facts = all.emplace_back();
        facts.imageName = process.ImageName;
        facts.imagePath = NormalizeImagePath(TrimControls(process.ImagePath), systemRoot);
        facts.pid = process.ProcessID;
        facts.creationTime = process.CreationTime;
        facts.parentPid = process.ParentProcessID;
        const auto parent = byPid.find(process.ParentProcessID);
        // PID 0 is the idle process, never a creator; a process is not its own parent.
        if (process.ParentProcessID != 0 && parent != byPid.end() && parent->second != &process) {
            facts.parentImageName = parent->second->ImageName;
            // A parent started later took over the PID of the real one, which has gone.
            facts.parentCreatedBefore = parent->second->CreationTime != 0 && process.CreationTime != 0 &&
                                        parent->second->CreationTime < process.CreationTime;
        }
        facts.account = AccountOf(process.Account);
        if (facts.account == Account::Other) facts.accountName = process.UserName;
        facts.commandLine = process.CommandLine;
    }
    return all;
}

std::string VerdictCellText(const Verdict& verdict, const TextLoader& load) {
    if (verdict.reasons.empty()) return {};
    return load(LevelStringId(verdict.level)) + ": " + ReasonText(verdict.reasons.front(), load);
}

std::string ReasonText(const Reason& reason, const TextLoader& load) {
    return FillParameters(load(reason.stringId), reason.parameters);
}

std::optional<RowColour> RowBackground(VerdictLevel level, bool isNew) {
    switch (level) {
        case VerdictLevel::Notice: return kNoticeColour;
        case VerdictLevel::Warning: return kWarningColour;
        case VerdictLevel::Danger: return kDangerColour;
        default: break;
    }
    if (isNew) return kNewRowColour;
    return std::nullopt;
}

void NewRows::Refresh(const std::vector<std::string>& keys) {
    // Counted down first, so that a row is shown new at the refresh that found it and the one after.
    for (auto it = refreshesLeft_.begin(); it != refreshesLeft_.end();) {
        if (--it->second <= 0) it = refreshesLeft_.erase(it);
        else ++it;
    }
    if (!first_) {
        const std::unordered_set<std::string> before(previous_.begin(), previous_.end());
        for (const std::string& key : keys)
            if (!before.contains(key)) refreshesLeft_[key] = kRefreshesShown;
    }
    first_ = false;
    previous_ = keys;
    // A process that ended is forgotten with its row.
    const std::unordered_set<std::string> now(keys.begin(), keys.end());
    std::erase_if(refreshesLeft_, [&](const auto& item) { return !now.contains(item.first); });
}

}  // namespace cvt
