// The editor's rows: one byte string per row, each carrying its own row end.
#pragma once

#include <iosfwd>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editor/VellEditSub.h"

namespace cvt {

// Every bad row index, count or capacity; the window layer shows what() as it is.
class ListIndexError : public std::runtime_error {
public:
    ListIndexError();
};

// Rows end with CR and one more byte, with the end marker (two NULs, last row only) or with
// nothing when the next row continues the same line. The store keeps whatever it is given;
// its text conversions and loaders produce that shape.
class TVellStrings {
public:
    // Count <= Capacity <= MaxRows: a row index always fits in an int.
    static constexpr int MaxRows = 134'217'727;

    TVellStrings() noexcept = default;
    ~TVellStrings() = default;
    // One document per editor: a copy of several hundred MB must be asked for with Assign.
    TVellStrings(const TVellStrings&) = delete;
    TVellStrings& operator=(const TVellStrings&) = delete;
    TVellStrings(TVellStrings&&) = delete;
    TVellStrings& operator=(TVellStrings&&) = delete;

    [[nodiscard]] int Count() const noexcept { return static_cast<int>(rows.size()); }
    [[nodiscard]] int Capacity() const noexcept { return capacity; }
    // New rows are empty; rows beyond a smaller count are released.
    void SetCount(int newCount);
    void SetCapacity(int newCapacity);

    [[nodiscard]] std::string Get(int index) const;
    // The row itself, valid until the next change of the store.
    [[nodiscard]] const std::string& Row(int index) const;
    void Put(int index, std::string_view row);
    int Add(std::string_view row);
    // index == Count appends.
    void Insert(int index, std::string_view row);
    void Delete(int index);
    // count rows from index on, moving the rows after them once.
    void DeleteRows(int index, int count);
    void Clear() noexcept;

    // All rows joined, less the last two bytes (the end marker).
    [[nodiscard]] std::string GetText() const;
    // Rows of text cut after each CR or NUL and the byte that follows it; empty text leaves no rows.
    void SetText(std::string_view text);
    // Inserts the rows of text from index on and leaves index on the last inserted row.
    void InsertText(int& index, std::string_view text);

    void AddStrings(std::span<const std::string> list);
    void Assign(std::span<const std::string> list);
    // Takes the rows over without copying them.
    void Assign(std::vector<std::string>&& list);
    // Hands the rows over without copying them and leaves the store empty.
    [[nodiscard]] std::vector<std::string> TakeRows() noexcept;
    // First row equal to s byte for byte, row end included; -1 when none is.
    [[nodiscard]] int IndexOf(std::string_view s) const noexcept;

    // Rows holding a blank or a comma are quoted; quotes inside are written as they are.
    [[nodiscard]] std::string GetCommaText() const;
    void SetCommaText(std::string_view text);

    // Paths are ANSI byte strings. Loading ends with the end marker on the last row.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromStream(std::istream& stream);
    void SaveToStream(std::ostream& stream) const;

    // The physical line a row belongs to, and the first row of a line (Count when past the last).
    // Answered from an index of line starts that changes rebuild only from the changed row on,
    // so that edits near the end of a large document stay cheap.
    [[nodiscard]] int LineOfRow(int index) const;
    [[nodiscard]] int FirstRowOfLine(int line) const;

    [[noreturn]] static void Error();

private:
    std::vector<std::string> rows;
    // Slots by the growth rule; rows.capacity() is at least this.
    int capacity = 0;
    // First rows of the lines that start at or before row scannedRows (lineStarts[0] == 0).
    mutable std::vector<int> lineStarts{0};
    mutable int scannedRows = 0;

    // Rows from index on may have changed: the line index is kept only before it.
    void Changed(int index) noexcept;
    void ScanLinesThrough(int index) const;

    void CheckIndex(int index) const;
    void Grow();
    void ReplaceRows(std::vector<std::string>&& newRows);
    void LoadCrLf(std::istream& file, const std::string& fileName);
    void LoadSeparated(std::istream& file, const std::string& fileName, char separator);
};

}  // namespace cvt
