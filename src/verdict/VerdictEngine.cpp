// The verdict rules: each row says which system it applies to, what level it
// gives and which text explains it; the expected values come from the database.
#include "verdict/VerdictEngine.h"

#include <algorithm>
#include <array>
#include <optional>

#include "../../res/resource.h"
#include "base/AsciiText.h"

namespace cvt {
namespace {

constexpr int32_t kDangerousDatabaseLevel = 3;
constexpr int32_t kDatabaseLevelMissing = 99;  // what the danger table reads for an entry without a level
constexpr size_t kShortestImitatedStem = 4;    // one edit from a shorter name hits ordinary names
constexpr size_t kLongBlankRun = 4;

constexpr std::array<std::string_view, 3> kRunnableExtensions = {"exe", "scr", "com"};
constexpr std::array<std::string_view, 23> kDocumentExtensions = {
    "pdf", "doc", "docx", "xls", "xlsx", "ppt", "pptx", "txt", "rtf", "htm", "html", "jpg",
    "jpeg", "gif", "bmp", "png", "mp3", "wav", "wma", "wmv", "avi", "mpg", "mpeg"};
// Folder names programs are left in rather than installed to, wherever they are.
constexpr std::array<std::string_view, 7> kUnusualFolderNames = {
    "temp", "tmp", "recycler", "recycled", "$recycle.bin", "system volume information", "temporary internet files"};
// Folders of Windows that hold data only.
constexpr std::array<std::string_view, 4> kDataFoldersOfWindows = {"fonts", "help", "debug", "tasks"};

template <size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

using Parameters = std::optional<std::vector<std::string>>;
Parameters Fire(std::vector<std::string> parameters) { return parameters; }

struct Context {
    const ProcessFacts& facts;
    const InstanceCounts& counts;
    const Environment& env;
    const Expectations& expectations;
    const std::vector<VerdictEngine::KnownName>& knownNames;
    const Expectation* expected;  // null: nothing expected of this name
    std::string_view folder;      // empty: path not known
    std::string_view fileName;
};

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
    std::string joined;
    for (const std::string& item : items) joined += (joined.empty() ? "" : std::string(separator)) + item;
    return joined;
}

std::string_view AccountText(Account account) {
    switch (account) {
    case Account::System: return "SYSTEM";
    case Account::LocalService: return "LOCAL SERVICE";
    case Account::NetworkService: return "NETWORK SERVICE";
    default: return "";
    }
}

// A pattern's placeholders filled in; none when it names a folder the system lacks.
std::optional<std::string> ExpandFolder(std::string_view pattern, const Environment& env) {
    std::string folder;
    for (size_t i = 0; i < pattern.size();) {
        const size_t open = pattern.find('%', i);
        const size_t close = open == std::string_view::npos ? open : pattern.find('%', open + 1);
        if (close == std::string_view::npos) {
            folder += pattern.substr(i);
            break;
        }
        const std::string_view name = pattern.substr(open + 1, close - open - 1);
        const std::string* value = AsciiEqualsIgnoringCase(name, "SystemRoot") ? &env.windowsFolder
                                   : AsciiEqualsIgnoringCase(name, "System")   ? &env.systemFolder
                                   : AsciiEqualsIgnoringCase(name, "SysWOW64") ? &env.systemFolder32
                                                                               : nullptr;
        if (!value || value->empty()) return std::nullopt;
        folder += pattern.substr(i, open - i);
        folder += *value;
        i = close + 1;
    }
    return folder;
}

// 0 and o, 1, i and l, rn and m, vv and w read as one another in most fonts.
std::string FoldConfusables(std::string_view lowered) {
    std::string folded;
    for (size_t i = 0; i < lowered.size(); ++i) {
        const char c = lowered[i], next = i + 1 < lowered.size() ? lowered[i + 1] : '\0';
        if ((c == 'r' && next == 'n') || (c == 'v' && next == 'v')) {
            folded.push_back(c == 'r' ? 'm' : 'w');
            ++i;
        } else {
            folded.push_back(c == '0' ? 'o' : (c == '1' || c == 'i') ? 'l' : c);
        }
    }
    return folded;
}

// Equal, or one letter replaced, added or dropped.
bool WithinOneEdit(std::string_view a, std::string_view b) {
    if (a.size() > b.size()) std::swap(a, b);
    if (b.size() - a.size() > 1) return false;
    size_t same = 0;
    while (same < a.size() && a[same] == b[same]) ++same;
    if (same == a.size()) return true;
    return a.substr(same + (a.size() == b.size() ? 1 : 0)) == b.substr(same + 1);
}

std::string_view Stem(std::string_view name) { return name.substr(0, std::min(name.rfind('.'), name.size())); }

// --- The rules: each gives its text's parameters when it fires. ---

Parameters DatabaseLevel(const Context& c) {
    const auto& entry = c.facts.database;
    if (!entry || entry->danger < kDangerousDatabaseLevel || entry->danger == kDatabaseLevelMissing) return {};
    return Fire({std::to_string(entry->danger), entry->detail});
}

Parameters WrongFolder(const Context& c) {
    if (!c.expected || c.folder.empty()) return {};
    std::vector<std::string> folders;
    for (const std::string& pattern : c.expected->folders) {
        const auto folder = ExpandFolder(pattern, c.env);
        if (!folder) continue;
        if (SameFolder(c.folder, *folder, c.env.isLeadByte)) return {};
        folders.push_back(*folder);
    }
    if (folders.empty()) return {};
    return Fire({c.facts.imageName, Join(folders, "; "), std::string(c.folder)});
}

Parameters LookAlike(const Context& c) {
    const std::string_view name = c.facts.imageName;
    const bool ascii = std::all_of(name.begin(), name.end(), [](char ch) { return ch >= 0x20 && ch <= 0x7E; });
    // A name the database lists is that program's own, not an imitation.
    if (name.empty() || !ascii || c.expectations.Listed(name)) return {};
    const std::string folded = FoldConfusables(FoldCase(name, nullptr));
    for (const VerdictEngine::KnownName& known : c.knownNames)
        if (WithinOneEdit(folded, known.confusablesFolded)) return Fire({known.name});
    return {};
}

Parameters WrongParent(const Context& c) {
    if (!c.expected || c.expected->parents.empty()) return {};
    const std::string& parent = c.facts.parentImageName;
    if (parent.empty() || !c.facts.parentCreatedBefore) return {};
    for (const std::string& expected : c.expected->parents)
        if (AsciiEqualsIgnoringCase(parent, expected)) return {};
    return Fire({parent, Join(c.expected->parents, ", ")});
}

Parameters TooMany(const Context& c) {
    if (!c.expected || c.expected->instances <= 0) return {};
    const int32_t count = c.counts.Of(c.facts.imageName);
    if (count <= c.expected->instances) return {};
    return Fire({c.facts.imageName, std::to_string(count), std::to_string(c.expected->instances)});
}

// "-k" and "/k" are one switch to the programs that take it; case never matters.
bool SameSwitch(std::string_view argument, std::string_view wanted) {
    const auto isSwitch = [](std::string_view text) { return !text.empty() && (text[0] == '-' || text[0] == '/'); };
    if (isSwitch(argument) && isSwitch(wanted)) return AsciiEqualsIgnoringCase(argument.substr(1), wanted.substr(1));
    return AsciiEqualsIgnoringCase(argument, wanted);
}

Parameters MissingArgument(const Context& c) {
    // An empty command line was not read: every process has at least its program's name.
    if (!c.expected || c.expected->argument.empty() || !c.facts.commandLine || c.facts.commandLine->empty()) return {};
    for (const std::string& argument : CommandArguments(*c.facts.commandLine))
        if (SameSwitch(argument, c.expected->argument)) return {};
    return Fire({c.facts.imageName, c.expected->argument});
}

Parameters WrongAccount(const Context& c) {
    const Account account = c.facts.account;
    if (!c.expected || c.expected->accounts.empty() || account == Account::Unknown) return {};
    const auto& accounts = c.expected->accounts;
    if (std::find(accounts.begin(), accounts.end(), account) != accounts.end()) return {};
    std::vector<std::string> names;
    for (const Account expected : accounts) names.emplace_back(AccountText(expected));
    const std::string found = account == Account::Other ? c.facts.accountName : std::string(AccountText(account));
    return Fire({found, Join(names, ", ")});
}

Parameters NewerWindowsName(const Context& c) {
    if (!c.expected || c.expected->minMajor == 0) return {};
    const auto version = [](uint32_t major, uint32_t minor) {
        return std::to_string(major) + "." + std::to_string(minor);
    };
    const Expectation& first = *c.expected;
    if (std::pair(c.env.major, c.env.minor) >= std::pair(first.minMajor, first.minMinor)) return {};
    return Fire({c.facts.imageName, version(first.minMajor, first.minMinor), version(c.env.major, c.env.minor)});
}

// The stem before a runnable extension: empty when the name does not end in one.
std::string_view RunnableStem(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || !OneOf(kRunnableExtensions, FoldCase(name.substr(dot + 1), nullptr)))
        return {};
    return name.substr(0, dot);
}

Parameters DoubleExtension(const Context& c) {
    std::string_view stem = RunnableStem(c.facts.imageName);
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    const size_t dot = stem.rfind('.');
    if (dot == std::string_view::npos || !OneOf(kDocumentExtensions, FoldCase(stem.substr(dot + 1), nullptr)))
        return {};
    return Fire({c.facts.imageName.substr(dot)});
}

Parameters BlanksBeforeExtension(const Context& c) {
    const std::string_view stem = RunnableStem(c.facts.imageName);
    const size_t blanks = stem.size() - std::min(stem.find_last_not_of(' ') + 1, stem.size());
    if (blanks < kLongBlankRun) return {};
    return Fire({std::to_string(blanks)});
}

Parameters UnusualFolder(const Context& c) {
    if (c.folder.empty()) return {};
    const LeadByteTest lead = c.env.isLeadByte;
    for (const std::string_view name : FolderNames(c.folder, lead))
        if (OneOf(kUnusualFolderNames, FoldCase(name, lead))) return Fire({std::string(c.folder)});
    if (c.env.windowsFolder.empty()) return {};
    // A data folder of Windows, or one inside it.
    const std::string folder = FoldCase(c.folder, lead) + "\\";
    const std::string windows = FoldCase(WithoutTrailingBackslashes(c.env.windowsFolder, lead), lead) + "\\";
    for (const std::string_view data : kDataFoldersOfWindows)
        if (folder.starts_with(windows + std::string(data) + "\\")) return Fire({std::string(c.folder)});
    return {};
}

Parameters NoVersionNames(const Context& c) {
    const auto& version = c.facts.version;
    if (!version || !version->companyName.empty() || !version->fileDescription.empty()) return {};
    return Fire({});
}

// Windows' own files name themselves in any case and sometimes without the
// extension, and language resources add ".mui": none of that is a difference.
Parameters OriginalNameDiffers(const Context& c) {
    if (!c.facts.version || c.fileName.empty()) return {};
    const std::string& original = c.facts.version->originalFilename;
    std::string wanted = FoldCase(original, c.env.isLeadByte);
    std::string actual = FoldCase(c.fileName, c.env.isLeadByte);
    if (wanted.ends_with(".mui")) wanted.resize(wanted.size() - 4);
    // A short 8.3 alias ("MYPROG~1.EXE") cannot be compared with a long name.
    const size_t tilde = actual.find('~');
    const char afterTilde = tilde + 1 < actual.size() ? actual[tilde + 1] : '\0';
    const bool alias = tilde != std::string::npos && afterTilde >= '0' && afterTilde <= '9';
    if (wanted.empty() || alias) return {};
    if (wanted.find('.') == std::string::npos) actual = std::string(Stem(actual));
    if (actual.find('.') == std::string::npos) wanted = std::string(Stem(wanted));
    if (wanted == actual) return {};
    return Fire({original});
}

enum class Scope : uint8_t { Everywhere, NtFamily, Nt5 };
// Under Wine every process runs as one user with no NT start-up chain, and
// Wine keeps its own programs in the system folder, laid out its own way.
enum class UnderWine : uint8_t { Judged, NotJudged, NotForWinePrograms };

struct Rule {
    unsigned stringId;
    VerdictLevel level;
    Scope scope;
    UnderWine wine;
    Parameters (*fires)(const Context&);
};

constexpr Rule kRules[] = {
    {IDS_VERDICT_DATABASE_LEVEL, VerdictLevel::Danger, Scope::Everywhere, UnderWine::Judged, DatabaseLevel},
    {IDS_VERDICT_WRONG_FOLDER, VerdictLevel::Danger, Scope::NtFamily, UnderWine::NotForWinePrograms, WrongFolder},
    {IDS_VERDICT_LOOK_ALIKE, VerdictLevel::Warning, Scope::Everywhere, UnderWine::NotForWinePrograms, LookAlike},
    // The NT 5 start-up chain; later systems start these from other processes.
    {IDS_VERDICT_WRONG_PARENT, VerdictLevel::Warning, Scope::Nt5, UnderWine::NotJudged, WrongParent},
    {IDS_VERDICT_TOO_MANY, VerdictLevel::Warning, Scope::NtFamily, UnderWine::NotJudged, TooMany},
    {IDS_VERDICT_NO_ARGUMENT, VerdictLevel::Warning, Scope::NtFamily, UnderWine::NotJudged, MissingArgument},
    {IDS_VERDICT_WRONG_ACCOUNT, VerdictLevel::Warning, Scope::NtFamily, UnderWine::NotJudged, WrongAccount},
    {IDS_VERDICT_NEWER_WINDOWS, VerdictLevel::Warning, Scope::Nt5, UnderWine::NotJudged, NewerWindowsName},
    {IDS_VERDICT_DOUBLE_EXTENSION, VerdictLevel::Warning, Scope::Everywhere, UnderWine::Judged, DoubleExtension},
    {IDS_VERDICT_BLANKS_BEFORE_EXTENSION, VerdictLevel::Warning, Scope::Everywhere, UnderWine::Judged,
     BlanksBeforeExtension},
    {IDS_VERDICT_UNUSUAL_FOLDER, VerdictLevel::Notice, Scope::Everywhere, UnderWine::Judged, UnusualFolder},
    {IDS_VERDICT_NO_VERSION_NAMES, VerdictLevel::Notice, Scope::Everywhere, UnderWine::NotForWinePrograms,
     NoVersionNames},
    {IDS_VERDICT_ORIGINAL_NAME, VerdictLevel::Notice, Scope::Everywhere, UnderWine::NotForWinePrograms,
     OriginalNameDiffers},
};

bool Applies(const Rule& rule, const Environment& env, bool wineProgram) {
    if (rule.scope == Scope::NtFamily && !env.ntFamily) return false;
    if (rule.scope == Scope::Nt5 && !(env.ntFamily && env.major == 5)) return false;
    if (env.underWine && rule.wine == UnderWine::NotJudged) return false;
    return !(wineProgram && rule.wine == UnderWine::NotForWinePrograms);
}

}  // namespace

unsigned LevelStringId(VerdictLevel level) noexcept {
    switch (level) {
    case VerdictLevel::Notice: return IDS_VERDICT_NOTICE;
    case VerdictLevel::Warning: return IDS_VERDICT_WARNING;
    case VerdictLevel::Danger: return IDS_VERDICT_DANGER;
    default: return 0;
    }
}

void InstanceCounts::Add(std::string_view imageName) { ++counts_[FoldCase(imageName, isLeadByte_)]; }

int32_t InstanceCounts::Of(std::string_view imageName) const {
    const auto at = counts_.find(FoldCase(imageName, isLeadByte_));
    return at == counts_.end() ? 0 : at->second;
}

VerdictEngine::VerdictEngine(Expectations expectations, Environment environment)
    : expectations_(std::move(expectations)), environment_(std::move(environment)) {
    for (const Expectation& expected : expectations_.All())
        if (Stem(expected.name).size() >= kShortestImitatedStem)
            knownNames_.push_back({FoldConfusables(FoldCase(expected.name, nullptr)), expected.name});
}

Verdict VerdictEngine::Judge(const ProcessFacts& facts, const InstanceCounts& counts) const {
    const Environment& env = environment_;
    PathParts path = SplitPath(facts.imagePath, env.isLeadByte);
    // A path still in the kernel's form ("\SystemRoot\...") names no folder that can be compared.
    const std::string_view folder = path.folder;
    if (!(folder.size() >= 2 && folder[1] == ':') && !folder.starts_with("\\\\")) path = {{}, facts.imageName};
    const Context context{facts, counts, env, expectations_, knownNames_, expectations_.Find(facts.imageName),
                          path.folder, path.file};
    const bool wineProgram = env.underWine && (SameFolder(path.folder, env.systemFolder, env.isLeadByte) ||
                                               SameFolder(path.folder, env.systemFolder32, env.isLeadByte));
    Verdict verdict;
    for (const Rule& rule : kRules) {
        if (!Applies(rule, env, wineProgram)) continue;
        if (Parameters parameters = rule.fires(context))
            verdict.reasons.push_back({rule.level, rule.stringId, std::move(*parameters)});
    }
    std::stable_sort(verdict.reasons.begin(), verdict.reasons.end(),
                     [](const Reason& a, const Reason& b) { return a.level > b.level; });
    if (!verdict.reasons.empty()) verdict.level = verdict.reasons.front().level;
    return verdict;
}

}  // namespace cvt
