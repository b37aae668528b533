// The editor's undo history: records newest first, bounded by bytes of recorded text.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace cvt {

enum class UndoKind : std::uint8_t {
    Inserted = 0,
    DeletedSelection = 1,
    DeletedBack = 2,    // Backspace
    DeletedAhead = 3,   // Delete
    Overwritten = 5,
};

// Row and Col are physical (line, byte offset) while the editor wraps, so re-cutting keeps them.
struct UndoRecord {
    UndoKind Kind = UndoKind::Inserted;
    int Col = 0;
    int Row = 0;
    std::string Text;
};

class UndoHistory {
public:
    [[nodiscard]] bool Empty() const noexcept { return records.empty(); }
    [[nodiscard]] std::size_t Size() const noexcept { return records.size(); }
    [[nodiscard]] std::int64_t Bytes() const noexcept { return bytes; }
    [[nodiscard]] const UndoRecord& Newest() const { return records.front(); }
    [[nodiscard]] const UndoRecord* SecondNewest() const noexcept {
        return records.size() > 1 ? &records[1] : nullptr;
    }

    void PushNewest(UndoRecord record);
    UndoRecord PopNewest();
    // Frees the oldest records until bytes + incoming fits capacity; true when any went.
    bool MakeRoom(std::int64_t incoming, std::int64_t capacity);
    void Clear() noexcept;

private:
    std::deque<UndoRecord> records;
    std::int64_t bytes = 0;
};

}  // namespace cvt
