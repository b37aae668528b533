// What the verdict engine judges one process by, and what it says about it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "verdict/VerdictText.h"

namespace cvt {

enum class VerdictLevel { None, Notice /*注意*/, Warning /*警告*/, Danger /*危険*/ };

// The account of a process's token, by well-known SID. Unknown: the token could not be read.
enum class Account { System, LocalService, NetworkService, Other, Unknown };

// The version resource's strings; empty where the resource has no such string.
struct VersionNames {
    std::string companyName;
    std::string fileDescription;
    std::string originalFilename;
    friend bool operator==(const VersionNames&, const VersionNames&) = default;
};

// The danger database's entry for the image name.
struct DatabaseEntry {
    int32_t danger = 0;
    std::string detail;
    friend bool operator==(const DatabaseEntry&, const DatabaseEntry&) = default;
};

struct ProcessFacts {
    std::string imageName;
    std::string imagePath;  // normalised; empty when it could not be read
    uint32_t pid = 0;
    uint64_t creationTime = 0;  // tells the process from a later one with the same PID
    uint32_t parentPid = 0;
    std::string parentImageName;       // empty when no process of parentPid is in the snapshot
    bool parentCreatedBefore = false;  // false also when not known: a reused PID is no parent
    Account account = Account::Unknown;
    std::string accountName;                // the name shown for an account of no well-known SID
    std::optional<std::string> commandLine;  // absent on 95/98/Me or when unreadable
    std::optional<VersionNames> version;     // absent when the file cannot be read; empty names without a resource
    std::optional<DatabaseEntry> database;   // absent when the database does not list the name
    friend bool operator==(const ProcessFacts&, const ProcessFacts&) = default;
};

// The system the processes run on; fixed for an engine's lifetime. Folders
// are compared without regard to the case of A-Z or trailing backslashes.
struct Environment {
    std::string windowsFolder;   // %SystemRoot%
    std::string systemFolder;    // %System%: the system's own, where 64-bit Windows keeps 64-bit files
    std::string systemFolder32;  // %SysWOW64%: 64-bit Windows' 32-bit system folder; empty elsewhere
    bool ntFamily = true;
    uint32_t major = 5;
    uint32_t minor = 1;
    bool underWine = false;
    LeadByteTest isLeadByte = nullptr;  // the ANSI code page's; paths and names are in it
};

// One finding: a string-table text and the parameters that fill its "%s".
struct Reason {
    VerdictLevel level = VerdictLevel::None;
    unsigned stringId = 0;
    std::vector<std::string> parameters;
    friend bool operator==(const Reason&, const Reason&) = default;
};

// level is the first reason's; reasons are ordered most serious first.
struct Verdict {
    VerdictLevel level = VerdictLevel::None;
    std::vector<Reason> reasons;
};

// The string id of a level's name; 0 for None, which has no name.
[[nodiscard]] unsigned LevelStringId(VerdictLevel level) noexcept;

}  // namespace cvt
