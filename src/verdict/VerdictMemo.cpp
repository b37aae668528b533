// Judging again only what changed.
#include "verdict/VerdictMemo.h"

namespace cvt {

const Verdict& VerdictMemo::Judge(const ProcessFacts& facts, const InstanceCounts& counts) {
    auto [at, added] = entries_.try_emplace({facts.pid, facts.creationTime});
    Entry& entry = at->second;
    const int32_t instances = counts.Of(facts.imageName);
    if (added || entry.instances != instances || !(entry.facts == facts)) {
        entry.verdict = engine_.Judge(facts, counts);
        entry.facts = facts;
        entry.instances = instances;
        ++computations_;
    }
    entry.judged = true;
    return entry.verdict;
}

void VerdictMemo::Sweep() {
    for (auto at = entries_.begin(); at != entries_.end();) {
        if (!at->second.judged) {
            at = entries_.erase(at);
            continue;
        }
        at->second.judged = false;
        ++at;
    }
}

}  // namespace cvt
