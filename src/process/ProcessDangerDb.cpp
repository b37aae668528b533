// Reading cvtpdb.ini in one pass, looking image names up and painting the danger label.
#include "process/ProcessDangerDb.h"

#include <optional>

#include "app/StringTable.h"
#include "process/ProfileSnapshot.h"
#include "../../res/resource.h"

namespace cvt {
namespace {

bool IsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

// Larger files are left to the system alone, so a broken file never costs its size twice in memory.
constexpr DWORD kMaxSnapshotBytes = 64u << 20;

std::optional<std::string> ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> bytes;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size != INVALID_FILE_SIZE && high == 0 && size <= kMaxSnapshotBytes) {
        std::string buffer(size, '\0');
        DWORD read = 0;
        if (size == 0 || (ReadFile(file, buffer.data(), size, &read, nullptr) && read == size)) bytes = std::move(buffer);
    }
    CloseHandle(file);
    return bytes;
}

// Whether the system's reading of the file as ANSI text gives back these very bytes.
bool DecodesExactly(const std::string& bytes) {
    if (bytes.empty()) return true;
    const int size = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (wide <= 0) return false;
    std::wstring text(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), wide);
    const int back = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    if (back != size) return false;
    std::string again(static_cast<size_t>(back), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wide, again.data(), back, nullptr, nullptr);
    return again == bytes;
}

}  // namespace

bool SameImageName(std::string_view imageName, std::string_view entryName) {
    if (IsPrintableAscii(imageName) && IsPrintableAscii(entryName))
        return AsciiEqualsIgnoringCase(imageName, entryName);
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, imageName.data(), static_cast<int>(imageName.size()),
                          entryName.data(), static_cast<int>(entryName.size())) == CSTR_EQUAL;
}

std::string ProcessDangerDb::PathIn(const std::string& appDir) { return appDir + LoadText(IDS_CVTPDB_INI); }

void ProcessDangerDb::LoadPdb() {
    // The private-profile functions search the whole file for every key: one
    // pass here keeps loading linear, with the system answering what the pass cannot.
    const std::optional<std::string> bytes = ReadWholeFile(file_.Path());
    if (!bytes) {
        table_.LoadPdb(file_);
        return;
    }
    const ProfileSnapshot snapshot(*bytes, file_, DecodesExactly(*bytes), IsAnsiLeadByte);
    table_.LoadPdb(snapshot);
}

ProcessDangerDb LoadPdb(const std::string& path) {
    ProcessDangerDb database(path);
    database.LoadPdb();
    return database;
}

PdbInfo ProcessDangerDb::Lookup(std::string_view imageName) const { return table_.Lookup(imageName, file_, SameImageName); }

PdbLabel::~PdbLabel() {
    if (brush_) DeleteObject(brush_);
}

HWND PdbLabel::Create(HWND parent, ui::Bounds bounds, HFONT font) {
    label_ = ui::CreateLabel(parent, "", bounds, font);
    return label_;
}

void PdbLabel::ShowPdbInfo(const ProcessDangerDb& database, std::string_view imageName) { Show(database.Lookup(imageName)); }

void PdbLabel::Show(const PdbInfo& info) {
    background_ = ToColorRef(info.background);
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(background_);
    if (!label_) return;
    SetWindowTextA(label_, info.caption.c_str());
    InvalidateRect(label_, nullptr, TRUE);
}

HBRUSH PdbLabel::OnCtlColorStatic(HDC dc, HWND control) const {
    if (!label_ || control != label_ || !brush_) return nullptr;
    SetBkColor(dc, background_);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return brush_;
}

}  // namespace cvt
