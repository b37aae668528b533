// File facts by path, size and write time; database entries by name; verdicts
// by the memo, which judges again only what changed.
#include "process/ProcessVerdicts.h"

#include <windows.h>

#include "base/Ini.h"
#include "details/VersionInfo.h"
#include "process/VerdictRows.h"

namespace cvt {
namespace {

bool IsLeadByteOfAnsiCodePage(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

constexpr size_t kMaxRememberedFiles = 4096;  // more than any real system runs at once

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

}  // namespace

void ProcessVerdicts::Configure(const ProcessDangerDb* database, const HostFacts& host) {
    memo_.reset();
    database_ = database;
    entries_.clear();
    Expectations expectations;
    if (database != nullptr) {
        const ProfileIniFile file(database->Path());
        const ProfileFileSnapshot keys(file);
        expectations.Load(keys.Source());
    }
    Environment environment{host.windowsFolder, host.systemFolder, host.systemFolder32, host.ntFamily,
                            host.major,         host.minor,        host.underWine,      IsLeadByteOfAnsiCodePage};
    engine_ = std::make_unique<VerdictEngine>(std::move(expectations), std::move(environment));
    memo_ = std::make_unique<VerdictMemo>(*engine_);
}

std::vector<Verdict> ProcessVerdicts::Judge(const std::vector<TProcessManager>& processes,
                                            const std::string& systemRoot) {
    std::vector<Verdict> verdicts;
    if (!memo_) return verdicts;
    std::vector<ProcessFacts> all = FactsOfSnapshot(processes, systemRoot);
    InstanceCounts counts(IsLeadByteOfAnsiCodePage);
    for (const ProcessFacts& facts : all) counts.Add(facts.imageName);
    for (auto& [path, file] : versions_) file.seen = false;
    verdicts.reserve(all.size());
    for (ProcessFacts& facts : all) {
        facts.database = EntryOf(facts.imageName);
        if (!facts.imagePath.empty()) facts.version = VersionOf(facts.imagePath);
        verdicts.push_back(memo_->Judge(facts, counts));
    }
    memo_->Sweep();
    std::erase_if(versions_, [](const auto& item) { return !item.second.seen; });
    return verdicts;
}

std::optional<DatabaseEntry> ProcessVerdicts::EntryOf(const std::string& imageName) {
    if (database_ == nullptr) return std::nullopt;
    const auto known = entries_.find(imageName);
    if (known != entries_.end()) return known->second;
    std::optional<DatabaseEntry> entry;
    if (const TPdbEntry* found = database_->Table().Find(imageName, SameImageName)) {
        entry = DatabaseEntry{found->Danger, {}};
        // Only the levels the verdict shows need their comment; the table holds none.
        if (found->Danger >= 3 && found->Danger != kPdbMissingDanger)
            entry->detail = ReadIniString(database_->Path(), found->Name, "Detail", "");
    }
    if (entries_.size() >= kMaxRememberedFiles) entries_.clear();
    entries_.emplace(imageName, entry);
    return entry;
}

std::optional<VersionNames> ProcessVerdicts::VersionOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    // Unreadable: no facts of the file, and nothing judged by them.
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    const uint64_t size = Join(data.nFileSizeHigh, data.nFileSizeLow);
    const uint64_t writeTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    auto at = versions_.find(path);
    if (at == versions_.end() || at->second.size != size || at->second.writeTime != writeTime) {
        if (versions_.size() >= kMaxRememberedFiles) versions_.clear();
        TVersionInfo info;
        info.SetFileName(path, VersionInfoPart::VersionResource);
        ++versionReads_;
        at = versions_.insert_or_assign(path, FileVersion{size, writeTime,
                                                          {info.CompanyName(), info.FileDescription(),
                                                           info.OriginalFilename()},
                                                          false})
                 .first;
    }
    at->second.seen = true;
    return at->second.names;
}

}  // namespace cvt
