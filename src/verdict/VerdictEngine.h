// Which process is suspicious, and why: a table of rules over one process's
// facts, the snapshot's instance counts and the system it runs on.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "verdict/Expectations.h"
#include "verdict/Verdict.h"

namespace cvt {

// How many processes of each image name the snapshot holds, without regard to letter case.
class InstanceCounts {
public:
    explicit InstanceCounts(LeadByteTest isLeadByte) : isLeadByte_(isLeadByte) {}
    void Add(std::string_view imageName);
    [[nodiscard]] int32_t Of(std::string_view imageName) const;

private:
    LeadByteTest isLeadByte_;
    std::unordered_map<std::string, int32_t> counts_;
};

class VerdictEngine {
public:
    VerdictEngine(Expectations expectations, Environment environment);

    // The reasons that fire, most serious first (table order among equals).
    [[nodiscard]] Verdict Judge(const ProcessFacts& facts, const InstanceCounts& counts) const;

    // A known system name and the form the look-alike rule compares.
    struct KnownName {
        std::string confusablesFolded;
        std::string name;
    };

private:
    Expectations expectations_;
    Environment environment_;
    std::vector<KnownName> knownNames_;
};

}  // namespace cvt
