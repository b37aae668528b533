// Verdicts kept between refreshes: a process is judged again only when what its
// verdict depends on has changed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

#include "verdict/VerdictEngine.h"

namespace cvt {

// A verdict depends on the process's facts and, of the snapshot, only on the
// number of processes of its own name. Both are kept and compared whole: a
// hash that collided would show a stale verdict, and comparing costs no more
// than hashing. An entry lives while its process (PID and creation time) is judged.
class VerdictMemo {
public:
    // The engine must outlive the memo; a new database or environment needs a new memo.
    explicit VerdictMemo(const VerdictEngine& engine) : engine_(engine) {}
    // Valid until the next Sweep.
    [[nodiscard]] const Verdict& Judge(const ProcessFacts& facts, const InstanceCounts& counts);
    // Forgets the processes not judged since the last Sweep: they have ended.
    void Sweep();

    [[nodiscard]] size_t Size() const noexcept { return entries_.size(); }
    [[nodiscard]] uint64_t Computations() const noexcept { return computations_; }

private:
    struct Entry {
        ProcessFacts facts;
        int32_t instances = 0;
        Verdict verdict;
        bool judged = false;
    };
    const VerdictEngine& engine_;
    std::map<std::pair<uint32_t, uint64_t>, Entry> entries_;
    uint64_t computations_ = 0;
};

}  // namespace cvt
