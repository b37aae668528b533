// What a genuine system process looks like, per image name: optional keys in
// the danger database's entry sections, which the danger table itself never reads.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/IniSource.h"
#include "verdict/Verdict.h"

namespace cvt {

// Keys of an entry's section, each optional:
//   Folder=%System%;%SysWOW64%     folders it runs from; %SystemRoot%, %System% and
//                                  %SysWOW64% are filled in, an alternative naming
//                                  a folder the system lacks is skipped
//   Parent=services.exe            the image names that start it (comma-separated)
//   Instances=1                    the most that run at once
//   Account=SYSTEM,LOCAL SERVICE   the accounts it runs under (SYSTEM, LOCAL SERVICE, NETWORK SERVICE)
//   Args=-k                        a switch its command line always carries
//   MinVersion=6.0                 the Windows NT version that first has it
struct Expectation {
    std::string name;  // as the database spells it
    std::vector<std::string> folders;
    std::vector<std::string> parents;
    int32_t instances = 0;  // 0: any number
    std::vector<Account> accounts;
    std::string argument;
    uint32_t minMajor = 0;  // 0: every version
    uint32_t minMinor = 0;

    [[nodiscard]] bool Any() const noexcept {
        return !folders.empty() || !parents.empty() || instances > 0 || !accounts.empty() || !argument.empty() ||
               minMajor > 0;
    }
};

class Expectations {
public:
    // Reads the entries the way the danger table does. Only names of printable
    // ASCII are kept: every system name is one, and their case folds without a code page.
    void Load(const IniSource& file);

    // By image name, without regard to the case of A-Z; null when it has none.
    [[nodiscard]] const Expectation* Find(std::string_view imageName) const;
    // Whether the database lists the name at all, with or without expectations.
    [[nodiscard]] bool Listed(std::string_view imageName) const;
    // The names with expectations, in file order.
    [[nodiscard]] const std::vector<Expectation>& All() const noexcept { return entries_; }

private:
    std::vector<Expectation> entries_;
    std::unordered_map<std::string, size_t> index_;  // lower-case name to entries_
    std::unordered_set<std::string> listed_;         // lower-case names of every entry
};

}  // namespace cvt
