#include "editor/VellUndo.h"

#include <utility>

namespace cvt {

void UndoHistory::PushNewest(UndoRecord record) {
    const auto size = static_cast<std::int64_t>(record.Text.size());
    records.push_front(std::move(record));
    bytes += size;
}

UndoRecord UndoHistory::PopNewest() {
    UndoRecord record = std::move(records.front());
    records.pop_front();
    bytes -= static_cast<std::int64_t>(record.Text.size());
    return record;
}

bool UndoHistory::MakeRoom(std::int64_t incoming, std::int64_t capacity) {
    bool freed = false;
    while (bytes + incoming > capacity && !records.empty()) {
        bytes -= static_cast<std::int64_t>(records.back().Text.size());
        records.pop_back();
        freed = true;
    }
    return freed;
}

void UndoHistory::Clear() noexcept {
    std::deque<UndoRecord>().swap(records);
    bytes = 0;
}

}  // namespace cvt
