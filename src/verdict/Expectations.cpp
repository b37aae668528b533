// Reading the expectation keys of the danger database's entries.
#include "verdict/Expectations.h"

#include <algorithm>
#include <optional>

#include "base/AsciiText.h"

namespace cvt {
namespace {

constexpr int32_t kMaxEntries = 100000;  // the danger table's bound: "Num" is untrusted

// Only bytes below 0x80 are lowered: a name outside ASCII then never equals an ASCII one.
std::string Lower(std::string_view name) {
    std::string lowered(name);
    for (char& c : lowered) c = AsciiLower(c);
    return lowered;
}

bool IsPrintableAscii(std::string_view text) noexcept {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::string_view TrimBlanks(std::string_view text) noexcept {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Neither separator can be the second byte of a double-byte character.
std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> items;
    while (!text.empty()) {
        const size_t end = std::min(text.find(separator), text.size());
        if (const std::string_view item = TrimBlanks(text.substr(0, end)); !item.empty()) items.emplace_back(item);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return items;
}

std::optional<Account> AccountNamed(std::string_view name) {
    if (AsciiEqualsIgnoringCase(name, "SYSTEM")) return Account::System;
    if (AsciiEqualsIgnoringCase(name, "LOCAL SERVICE")) return Account::LocalService;
    if (AsciiEqualsIgnoringCase(name, "NETWORK SERVICE")) return Account::NetworkService;
    return std::nullopt;
}

// "6.0" and "6" give 6.0; anything else that does not start with a digit gives no version.
void ReadVersion(std::string_view text, Expectation& expected) {
    uint32_t parts[2] = {0, 0};
    size_t part = 0, digits = 0;
    for (const char c : text) {
        if (c == '.' && part == 0) {
            ++part;
            continue;
        }
        if (c < '0' || c > '9' || parts[part] > 999) break;
        parts[part] = parts[part] * 10 + static_cast<uint32_t>(c - '0');
        ++digits;
    }
    if (digits == 0) return;
    expected.minMajor = parts[0];
    expected.minMinor = parts[1];
}

Expectation Read(const IniSource& file, const std::string& name) {
    Expectation expected;
    expected.name = name;
    expected.folders = SplitList(file.ReadString(name, "Folder", ""), ';');
    expected.parents = SplitList(file.ReadString(name, "Parent", ""), ',');
    expected.instances = std::max(file.ReadInt(name, "Instances", 0), 0);
    for (const std::string& account : SplitList(file.ReadString(name, "Account", ""), ','))
        if (const auto known = AccountNamed(account)) expected.accounts.push_back(*known);
    expected.argument = std::string(TrimBlanks(file.ReadString(name, "Args", "")));
    ReadVersion(TrimBlanks(file.ReadString(name, "MinVersion", "")), expected);
    return expected;
}

}  // namespace

void Expectations::Load(const IniSource& file) {
    entries_.clear();
    index_.clear();
    listed_.clear();
    const int32_t count = std::clamp(file.ReadInt("General", "Num", 0), 0, kMaxEntries);
    for (int32_t n = 0; n < count; ++n) {
        const std::string name = file.ReadString("General", "db" + std::to_string(n), "");
        if (name.empty() || !IsPrintableAscii(name)) continue;
        // A name listed twice is looked up by its first entry only.
        std::string lowered = Lower(name);
        if (!listed_.insert(lowered).second) continue;
        Expectation expected = Read(file, name);
        if (!expected.Any()) continue;
        index_.emplace(std::move(lowered), entries_.size());
        entries_.push_back(std::move(expected));
    }
}

const Expectation* Expectations::Find(std::string_view imageName) const {
    const auto at = index_.find(Lower(imageName));
    return at == index_.end() ? nullptr : &entries_[at->second];
}

bool Expectations::Listed(std::string_view imageName) const { return listed_.count(Lower(imageName)) != 0; }

}  // namespace cvt
