// Loading the danger database and turning a lookup into the label's text and colour.
#include "details/PdbTable.h"

namespace cvt {
namespace {

constexpr char kNoInformation[] = "このプロセスに関する情報はありません。";


std::string FoldedOrEmpty(std::string_view name) {
    if (!IsPrintableAscii(name)) return {};
    std::string folded(name);
    for (char& c : folded) c = AsciiLower(c);
    return folded;
}

}  // namespace

bool IsPrintableAscii(std::string_view text) noexcept {
    for (const char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

void PdbTable::LoadPdb(const IniSource& file) {
    entries_.clear();
    foldedNames_.clear();
    int32_t count = file.ReadInt("General", "Num", 0);
    if (count < 0) count = 0;
    if (count > kPdbMaxEntries) count = kPdbMaxEntries;
    entries_.reserve(static_cast<size_t>(count));
    for (int32_t n = 0; n < count; ++n) {
        TPdbEntry entry{n, file.ReadString("General", "db" + std::to_string(n), ""), kPdbMissingDanger};
        // An entry without a name has no section and can never match.
        if (!entry.Name.empty()) entry.Danger = file.ReadInt(entry.Name, "Danger", kPdbMissingDanger);
        foldedNames_.push_back(FoldedOrEmpty(entry.Name));
        entries_.push_back(std::move(entry));
    }
}

const TPdbEntry* PdbTable::Find(std::string_view imageName, ImageNameEquals equals) const {
    if (imageName.empty()) return nullptr;
    const std::string folded = FoldedOrEmpty(imageName);
    for (size_t i = 0; i < entries_.size(); ++i) {
        const TPdbEntry& entry = entries_[i];
        if (entry.Name.empty()) continue;
        const bool same = !folded.empty() && !foldedNames_[i].empty() ? folded == foldedNames_[i]
                                                                         : equals(imageName, entry.Name);
        if (same) return &entry;
    }
    return nullptr;
}

PdbInfo PdbTable::Lookup(std::string_view imageName, const IniSource& file, ImageNameEquals equals) const {
    const TPdbEntry* entry = Find(imageName, equals);
    if (!entry) return {kNoInformation, kPdbWhite};
    const std::string comment = file.ReadString(entry->Name, "Detail", "");
    if (comment.empty()) return {kNoInformation, kPdbWhite};
    return {"[危険度=" + std::to_string(entry->Danger) + "] " + comment, DangerColour(entry->Danger)};
}

}  // namespace cvt
