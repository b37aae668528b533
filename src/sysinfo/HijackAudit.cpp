// The audit's rules: which value is suspicious, how much, and why.
#include "sysinfo/HijackAudit.h"

#include <algorithm>

#include "base/AppPath.h"
#include "base/AsciiText.h"
#include "sysinfo/DebuggerValue.h"

namespace cvt {
namespace {

bool ContainsName(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return AsciiEqualsIgnoringCase(n, name); });
}

bool IsAccessibilityProgram(std::string_view image) {
    const auto& programs = AccessibilityPrograms();
    return std::any_of(programs.begin(), programs.end(),
                       [&](std::string_view p) { return AsciiEqualsIgnoringCase(p, image); });
}

AuditFinding JudgeDebugger(const AuditFacts& facts, const ImageDebugger& entry, unsigned view) {
    const std::string place = "IFEO\\" + entry.image + " Debugger=" + entry.debugger;
    const bool taskManager = AsciiEqualsIgnoringCase(entry.image, facts.taskManagerImage);
    if (taskManager && NamesCorvault(entry.debugger)) {
        // Any cvt.exe counts as ours, as for the settings page that removes it; the reason tells which copy.
        const bool thisCopy = AsciiEqualsIgnoringCase(TrimControls(entry.debugger), facts.ownDebuggerCommand);
        return {AuditLevel::Info, place,
                thisCopy ? "このCorvaultを標準のタスクマネージャにする登録です"
                         : "別のフォルダのCorvaultを標準のタスクマネージャにする登録です",
                view};
    }
    if (IsAccessibilityProgram(entry.image))
        return {AuditLevel::Critical, place, "ログオン画面からも起動できるユーザー補助が別のプログラムに置き換えられます",
                view};
    if (taskManager) return {AuditLevel::Critical, place, "タスクマネージャが別のプログラムに置き換えられます", view};
    if (ContainsName(facts.runningImages, entry.image))
        return {AuditLevel::Critical, place, "実行中のプログラムです。次に起動すると別のプログラムが代わりに動きます",
                view};
    return {AuditLevel::Warning, place, "このプログラムを起動すると別のプログラムが代わりに動きます", view};
}

bool IsSystemUserinit(std::string_view value, std::string_view systemFolder) {
    // Windows starts every entry of the comma-separated list; the system's own value is one entry and a comma.
    int entries = 0;
    bool system = false;
    size_t start = 0;
    while (start <= value.size()) {
        size_t comma = value.find(',', start);
        if (comma == std::string_view::npos) comma = value.size();
        const std::string_view entry = TrimControls(value.substr(start, comma - start));
        if (!entry.empty()) {
            ++entries;
            system = AsciiEqualsIgnoringCase(FolderPart(entry), std::string(systemFolder) + "\\") &&
                     AsciiEqualsIgnoringCase(FileNamePart(entry), "userinit.exe");
        }
        start = comma + 1;
    }
    return entries == 1 && system;
}

void JudgeView(const AuditFacts& facts, const RegistryFacts& view, std::vector<AuditFinding>& out) {
    for (const ImageDebugger& entry : view.debuggers) {
        // An empty Debugger starts nothing.
        if (!TrimControls(entry.debugger).empty()) out.push_back(JudgeDebugger(facts, entry, view.view));
    }
    if (view.shell && !AsciiEqualsIgnoringCase(TrimControls(*view.shell), "explorer.exe"))
        out.push_back({AuditLevel::Warning, "Winlogon Shell=" + *view.shell,
                       "ログオン時にエクスプローラーではないプログラムがシェルとして起動します", view.view});
    if (view.userinit && !IsSystemUserinit(*view.userinit, facts.systemFolder))
        out.push_back({AuditLevel::Critical, "Winlogon Userinit=" + *view.userinit,
                       "ログオン時にシステムのuserinit.exe以外のプログラムが起動します", view.view});
    if (view.appInitDlls && !TrimControls(*view.appInitDlls).empty())
        out.push_back({AuditLevel::Warning, "Windows AppInit_DLLs=" + *view.appInitDlls,
                       "ウィンドウを使うすべてのプログラムにこのDLLが読み込まれます", view.view});
}

// System files carry their own name as OriginalFilename; newer systems add ".mui".
bool IsOwnOriginalName(std::string_view original, std::string_view fileName) {
    original = TrimControls(original);
    constexpr std::string_view kMui = ".mui";
    if (original.size() > kMui.size() && AsciiEqualsIgnoringCase(original.substr(original.size() - kMui.size()), kMui))
        original.remove_suffix(kMui.size());
    return AsciiEqualsIgnoringCase(original, fileName);
}

}  // namespace

const std::vector<std::string_view>& AccessibilityPrograms() {
    static const std::vector<std::string_view> programs = {"sethc.exe", "utilman.exe", "osk.exe", "magnify.exe",
                                                           "narrator.exe"};
    return programs;
}

std::vector<AuditFinding> JudgeAudit(const AuditFacts& facts) {
    std::vector<AuditFinding> findings;
    for (const RegistryFacts& view : facts.views) {
        std::vector<AuditFinding> found;
        JudgeView(facts, view, found);
        for (AuditFinding& finding : found) {
            // A key both views share reads the same twice: one finding, both views.
            auto same = std::find_if(findings.begin(), findings.end(), [&](const AuditFinding& f) {
                return f.level == finding.level && f.place == finding.place && f.reason == finding.reason;
            });
            if (same != findings.end()) same->views |= finding.views;
            else findings.push_back(std::move(finding));
        }
    }
    for (const SystemFileFact& file : facts.accessibilityFiles) {
        const std::string_view name = FileNamePart(file.path);
        if (TrimControls(file.originalFilename).empty())
            findings.push_back({AuditLevel::Critical, file.path + " OriginalFilename=(なし)",
                                "システムのファイルにあるはずの正式ファイル名がありません", kViewOnly});
        else if (!IsOwnOriginalName(file.originalFilename, name))
            findings.push_back({AuditLevel::Critical, file.path + " OriginalFilename=" + file.originalFilename,
                                "システムのファイルではなく、別のプログラムがこの名前で置かれています", kViewOnly});
    }
    return findings;
}

std::string_view AuditLevelText(AuditLevel level) noexcept {
    switch (level) {
        case AuditLevel::Info: return "情報";
        case AuditLevel::Warning: return "警告";
        case AuditLevel::Critical: return "危険";
    }
    return "";
}

}  // namespace cvt
