// Row storage, text conversions and text-file input/output of the editor.
#include "editor/VellStrings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <istream>
#include <iterator>
#include <ostream>

namespace cvt {

namespace {

[[nodiscard]] bool IsRowEndByte(char c) noexcept { return c == '\r' || c == '\0'; }

// The next CR or NUL at or after pos, or the text's size. NULs are rare, so each kind is found
// with memchr and the later one is only searched again once passed.
class RowEndFinder {
public:
    explicit RowEndFinder(std::string_view t) noexcept : text(t), nextCr(Find('\r', 0)), nextNul(Find('\0', 0)) {}
    [[nodiscard]] std::size_t Next(std::size_t pos) noexcept {
        if (nextCr < pos) nextCr = Find('\r', pos);
        if (nextNul < pos) nextNul = Find('\0', pos);
        return std::min(nextCr, nextNul);
    }

private:
    std::string_view text;
    std::size_t nextCr;
    std::size_t nextNul;
    [[nodiscard]] std::size_t Find(char c, std::size_t pos) const noexcept {
        if (pos >= text.size()) return text.size();
        const void* hit = std::memchr(text.data() + pos, c, text.size() - pos);
        return hit == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    }
};

// Calls emit(body, pairWithNul) for each row of text: a row ends after a CR or NUL and the byte
// that follows it; a CR or NUL that is the last byte is paired with a NUL.
template <class Emit>
void CutRows(std::string_view text, Emit&& emit) {
    const std::size_t n = text.size();
    RowEndFinder finder(text);
    std::size_t start = 0;
    while (start < n) {
        const std::size_t i = finder.Next(start);
        if (i == n) {
            emit(text.substr(start), false);
            return;
        }
        if (i + 1 == n) {
            emit(text.substr(start), true);
            return;
        }
        emit(text.substr(start, i + 2 - start), false);
        start = i + 2;
    }
}

// The number of rows CutRows gives, counted without building them.
[[nodiscard]] std::size_t CountRows(std::string_view text) noexcept {
    const std::size_t n = text.size();
    RowEndFinder finder(text);
    std::size_t count = 0;
    for (std::size_t i = 0; i < n; i += 2) {  // a row end is two bytes
        ++count;
        i = finder.Next(i);
    }
    return count;
}

[[nodiscard]] std::string MakeRow(std::string_view body, bool pairWithNul) {
    std::string row;
    row.reserve(body.size() + (pairWithNul ? 1 : 0));
    row.append(body);
    if (pairWithNul) row.push_back('\0');
    return row;
}

[[nodiscard]] std::vector<std::string> RowsOf(std::string_view text, std::size_t count) {
    std::vector<std::string> rows;
    rows.reserve(count);
    CutRows(text, [&](std::string_view body, bool pair) { rows.push_back(MakeRow(body, pair)); });
    return rows;
}

[[nodiscard]] bool EndsWithEndMarker(const std::string& row) noexcept {
    return row.size() >= 2 && std::string_view(row).substr(row.size() - 2) == EndMarker;
}

[[noreturn]] void Fail(const char* prefix, const std::string& fileName, const char* suffix) {
    throw InOutError(prefix + fileName + suffix);
}

}  // namespace

ListIndexError::ListIndexError() : std::runtime_error("インデックスがリストの範囲を超えています") {}

void TVellStrings::Error() { throw ListIndexError(); }

void TVellStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) Error();
}

// Capacity is the store's own count of slots; the memory behind it grows by half at least, so
// that inserting a few rows into a large document does not copy every row each time.
void TVellStrings::SetCapacity(int newCapacity) {
    if (newCapacity < Count() || newCapacity > MaxRows) Error();
    if (newCapacity == capacity) return;
    const auto wanted = static_cast<std::size_t>(newCapacity);
    if (wanted > rows.capacity()) {
        rows.reserve(std::max(wanted, rows.capacity() + rows.capacity() / 2));
    } else if (wanted < rows.capacity() / 4) {
        std::vector<std::string> fresh;
        fresh.reserve(wanted);
        std::move(rows.begin(), rows.end(), std::back_inserter(fresh));
        rows.swap(fresh);
    }
    capacity = newCapacity;
}

void TVellStrings::Changed(int index) noexcept {
    if (scannedRows <= index) return;
    scannedRows = std::max(index, 0);
    while (lineStarts.size() > 1 && lineStarts.back() > scannedRows) lineStarts.pop_back();
}

void TVellStrings::ScanLinesThrough(int index) const {
    const int count = Count();
    while (scannedRows <= index && scannedRows < count) {
        if (HasRowEnd(rows[static_cast<std::size_t>(scannedRows)])) lineStarts.push_back(scannedRows + 1);
        ++scannedRows;
    }
}

int TVellStrings::LineOfRow(int index) const {
    CheckIndex(index);
    ScanLinesThrough(index);
    return static_cast<int>(std::upper_bound(lineStarts.begin(), lineStarts.end(), index) - lineStarts.begin()) - 1;
}

int TVellStrings::FirstRowOfLine(int line) const {
    if (line <= 0) return 0;
    const int count = Count();
    while (lineStarts.size() <= static_cast<std::size_t>(line) && scannedRows < count) ScanLinesThrough(scannedRows);
    if (lineStarts.size() <= static_cast<std::size_t>(line)) return count;
    return std::min(lineStarts[static_cast<std::size_t>(line)], count);
}

void TVellStrings::SetCount(int newCount) {
    if (newCount < 0 || newCount > MaxRows) Error();
    if (newCount > capacity) SetCapacity(newCount);
    Changed(std::min(newCount, Count()));
    rows.resize(static_cast<std::size_t>(newCount));
}

// Room for one more row: grows by max(Count div 128, 32), never past MaxRows.
void TVellStrings::Grow() {
    if (Count() < capacity) return;
    if (capacity >= MaxRows) Error();
    const std::int64_t wanted = std::int64_t{capacity} + std::max(Count() / 128, 32);
    SetCapacity(static_cast<int>(std::min<std::int64_t>(wanted, MaxRows)));
}

std::string TVellStrings::Get(int index) const {
    CheckIndex(index);
    return rows[static_cast<std::size_t>(index)];
}

const std::string& TVellStrings::Row(int index) const {
    CheckIndex(index);
    return rows[static_cast<std::size_t>(index)];
}

void TVellStrings::Put(int index, std::string_view row) {
    CheckIndex(index);
    Changed(index);
    rows[static_cast<std::size_t>(index)].assign(row.begin(), row.end());
}

int TVellStrings::Add(std::string_view row) {
    std::string copy(row);  // row may point into a row that Grow moves
    Grow();
    Changed(Count());
    rows.push_back(std::move(copy));
    return Count() - 1;
}

void TVellStrings::Insert(int index, std::string_view row) {
    if (index < 0 || index > Count()) Error();
    std::string copy(row);
    Grow();
    Changed(index);
    rows.insert(rows.begin() + index, std::move(copy));
}

void TVellStrings::Delete(int index) {
    CheckIndex(index);
    Changed(index);
    rows.erase(rows.begin() + index);
}

void TVellStrings::DeleteRows(int index, int count) {
    if (count <= 0) return;
    CheckIndex(index);
    if (count > Count() - index) Error();
    Changed(index);
    rows.erase(rows.begin() + index, rows.begin() + index + count);
}

void TVellStrings::Clear() noexcept {
    Changed(0);
    std::vector<std::string>().swap(rows);
    capacity = 0;
}

void TVellStrings::ReplaceRows(std::vector<std::string>&& newRows) {
    if (newRows.size() > static_cast<std::size_t>(MaxRows)) Error();
    Changed(0);
    rows = std::move(newRows);
    rows.shrink_to_fit();
    capacity = Count();
}

std::string TVellStrings::GetText() const {
    std::size_t total = 0;
    for (const auto& row : rows) total += row.size();
    if (total < 2) return {};
    std::size_t left = total - 2;
    std::string text;
    text.reserve(left);
    for (const auto& row : rows) {
        const std::size_t take = std::min(row.size(), left);
        text.append(row, 0, take);
        left -= take;
    }
    return text;
}

void TVellStrings::SetText(std::string_view text) {
    const std::size_t count = CountRows(text);
    if (count > static_cast<std::size_t>(MaxRows)) Error();  // before anything is lost
    Clear();
    if (text.empty()) return;
    try {
        rows.reserve(count);
        capacity = static_cast<int>(count);
        CutRows(text, [&](std::string_view body, bool pair) { rows.push_back(MakeRow(body, pair)); });
    } catch (...) {
        Clear();  // no half document
        throw;
    }
}

void TVellStrings::InsertText(int& index, std::string_view text) {
    if (text.empty()) return;
    if (index < 0 || index > Count()) Error();
    const std::size_t count = CountRows(text);
    if (count > static_cast<std::size_t>(MaxRows - Count())) Error();
    auto added = RowsOf(text, count);
    SetCapacity(Count() + static_cast<int>(count));
    Changed(index);
    rows.insert(rows.begin() + index, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    index += static_cast<int>(count) - 1;
}

void TVellStrings::AddStrings(std::span<const std::string> list) {
    if (list.size() > static_cast<std::size_t>(MaxRows - Count())) Error();
    std::vector<std::string> added(list.begin(), list.end());
    SetCapacity(Count() + static_cast<int>(added.size()));
    Changed(Count());
    std::move(added.begin(), added.end(), std::back_inserter(rows));
}

void TVellStrings::Assign(std::span<const std::string> list) {
    if (list.size() > static_cast<std::size_t>(MaxRows)) Error();
    ReplaceRows(std::vector<std::string>(list.begin(), list.end()));
}

void TVellStrings::Assign(std::vector<std::string>&& list) { ReplaceRows(std::move(list)); }

std::vector<std::string> TVellStrings::TakeRows() noexcept {
    Changed(0);
    std::vector<std::string> taken;
    taken.swap(rows);
    capacity = 0;
    return taken;
}

int TVellStrings::IndexOf(std::string_view s) const noexcept {
    const auto found = std::find(rows.begin(), rows.end(), s);
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

std::string TVellStrings::GetCommaText() const {
    std::string text;
    for (const auto& row : rows) {
        const bool quote = row.find_first_of(" ,") != std::string::npos;
        if (quote) text += '"';
        text += row;
        if (quote) text += '"';
        text += ',';
    }
    if (!text.empty()) text.pop_back();
    return text;
}

void TVellStrings::SetCommaText(std::string_view text) {
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const bool quoted = text[pos] == '"';
        if (quoted) ++pos;
        const std::size_t start = pos;
        while (pos < text.size()) {
            const char c = text[pos];
            if (IsRowEndByte(c) || c == '"' || (!quoted && c == ',')) break;
            ++pos;
        }
        items.emplace_back(text.substr(start, pos - start));
        pos += quoted ? 2 : 1;  // a quoted item also skips its closing quote's separator
    }
    ReplaceRows(std::move(items));
}

void TVellStrings::LoadFromFile(const std::string& fileName) {
    const LineBreakStyle style = DetectLineBreak(fileName);  // a missing file leaves the store as it was
    std::ifstream file(fileName, std::ios::binary);
    if (!file) Fail("ファイル \"", fileName, "\" を開けません");
    switch (style) {
    case LineBreakStyle::Empty:
        ReplaceRows(std::vector<std::string>{std::string(EndMarker)});
        break;
    case LineBreakStyle::CrLf:
        LoadCrLf(file, fileName);
        break;
    case LineBreakStyle::Lf:
        LoadSeparated(file, fileName, '\n');
        break;
    case LineBreakStyle::Cr:
        LoadSeparated(file, fileName, '\r');
        break;
    }
}

// The file in one piece, cut like SetText: rows keep their CR LF and a NUL ends a row too.
void TVellStrings::LoadCrLf(std::istream& file, const std::string& fileName) {
    Clear();  // the old document's memory is given back before the new one is read
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    std::string data;
    if (size < 0 || static_cast<std::uint64_t>(size) > data.max_size() - 2) Fail("ファイル \"", fileName, "\" を読めません");
    data.resize(static_cast<std::size_t>(size));
    file.read(data.data(), static_cast<std::streamsize>(size));
    if (file.gcount() != static_cast<std::streamsize>(size)) Fail("ファイル \"", fileName, "\" を読めません");
    data.push_back('\0');  // with the NUL past the end: the end marker
    SetText(data);
    // Only a lone CR at the very end takes that NUL; it becomes a whole line break before the marker.
    if (std::string& last = rows.back(); !EndsWithEndMarker(last)) {
        Changed(Count() - 1);
        last.back() = '\n';
        Add(EndMarker);
        SetCapacity(Count());
    }
}

// Blocks of 16 KiB; each separator becomes CR LF, NUL bytes are dropped.
void TVellStrings::LoadSeparated(std::istream& file, const std::string& fileName, char separator) {
    Clear();
    std::vector<std::string> collected;
    std::string row;
    std::vector<char> block(std::size_t{16} * 1024);
    for (;;) {
        file.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(file.gcount());
        if (got == 0) break;
        const std::string_view chunk(block.data(), got);
        std::size_t start = 0;
        for (std::size_t i = 0; i < got; ++i) {
            const char c = chunk[i];
            if (c != separator && c != '\0') continue;
            row.append(chunk.substr(start, i - start));
            start = i + 1;
            if (c == separator) {
                row.append(LineBreak);
                collected.push_back(std::move(row));
                row.clear();
            }
        }
        row.append(chunk.substr(start));
    }
    if (file.bad()) Fail("ファイル \"", fileName, "\" を読めません");
    row.append(EndMarker);  // on the unfinished row, or alone after a finished one
    collected.push_back(std::move(row));
    ReplaceRows(std::move(collected));
}

void TVellStrings::SaveToFile(const std::string& fileName) const {
    // Binary: a text-mode runtime would turn each stored CR LF into CR CR LF.
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file) Fail("ファイル \"", fileName, "\" を開けません");
    for (std::size_t i = 0; i + 1 < rows.size(); ++i)
        file.write(rows[i].data(), static_cast<std::streamsize>(rows[i].size()));
    if (!rows.empty() && rows.back().size() > 2)
        file.write(rows.back().data(), static_cast<std::streamsize>(rows.back().size() - 2));
    file.close();
    if (!file) Fail("ファイル \"", fileName, "\" に書き込めません");
}

void TVellStrings::LoadFromStream(std::istream& stream) {
    std::string data;
    std::vector<char> block(std::size_t{64} * 1024);
    while (stream.read(block.data(), static_cast<std::streamsize>(block.size())) || stream.gcount() > 0) {
        data.append(block.data(), static_cast<std::size_t>(stream.gcount()));
        if (!stream) break;
    }
    if (stream.bad()) throw InOutError("ストリームを読めません");
    SetText(data);
}

// GetText's bytes, written row by row so that a large document is not copied first.
void TVellStrings::SaveToStream(std::ostream& stream) const {
    std::size_t total = 0;
    for (const auto& row : rows) total += row.size();
    std::size_t left = total < 2 ? 0 : total - 2;
    for (const auto& row : rows) {
        const std::size_t take = std::min(row.size(), left);
        stream.write(row.data(), static_cast<std::streamsize>(take));
        left -= take;
    }
    if (!stream) throw InOutError("ストリームに書き込めません");
}

}  // namespace cvt
