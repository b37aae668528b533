// Judging the registry places and files that silently replace or inject
// programs: facts in, findings out. Reading them is HijackAuditWin32's job.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cvt {

enum class AuditLevel { Info, Warning, Critical };

// Which registry view a fact came from. The 64-bit program and a 32-bit one on
// 32-bit Windows read one view; a 32-bit program on 64-bit Windows reads both.
enum AuditView : unsigned { kViewOnly = 0, kView64 = 1, kView32 = 2 };

struct ImageDebugger {
    std::string image;  // the subkey's name
    std::string debugger;
};

// The registry facts of one view; an absent value is nullopt.
struct RegistryFacts {
    unsigned view = kViewOnly;
    std::vector<ImageDebugger> debuggers;
    std::optional<std::string> shell;
    std::optional<std::string> userinit;
    std::optional<std::string> appInitDlls;
};

// A system program that exists; originalFilename is empty when it has none.
struct SystemFileFact {
    std::string path;
    std::string originalFilename;
};

struct AuditFacts {
    std::vector<RegistryFacts> views;
    std::vector<std::string> runningImages;  // file names
    std::vector<SystemFileFact> accessibilityFiles;
    std::string ownDebuggerCommand;  // what this copy writes when it registers itself
    std::string taskManagerImage;    // the image that registration is for
    std::string systemFolder;        // without a trailing backslash
};

struct AuditFinding {
    AuditLevel level;
    std::string place;  // where, and the value found there
    std::string reason;
    unsigned views;  // AuditView bits; kViewOnly when a single view was read

    friend bool operator==(const AuditFinding&, const AuditFinding&) = default;
};

// The programs a user can start from the logon screen, the usual targets of a replacement.
[[nodiscard]] const std::vector<std::string_view>& AccessibilityPrograms();

// In the order the places are listed; the same finding in both views is given once.
[[nodiscard]] std::vector<AuditFinding> JudgeAudit(const AuditFacts& facts);

[[nodiscard]] std::string_view AuditLevelText(AuditLevel level) noexcept;

}  // namespace cvt
