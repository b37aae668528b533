// The danger database file beside the program, and the detail window's label
// that shows a lookup in its text and background colour.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "base/Ini.h"
#include "details/PdbTable.h"
#include "ui/Controls.h"

namespace cvt {

// The locale's case-insensitive equality (CompareStringA, LOCALE_USER_DEFAULT,
// NORM_IGNORECASE); plain printable ASCII is folded without the system call.
[[nodiscard]] bool SameImageName(std::string_view imageName, std::string_view entryName);

[[nodiscard]] constexpr COLORREF ToColorRef(PdbColour colour) noexcept {
    return RGB(colour.red, colour.green, colour.blue);
}

class ProcessDangerDb {
public:
    // Empty until LoadPdb.
    explicit ProcessDangerDb(std::string path) : file_(std::move(path)) {}
    // appDir (ending in a backslash) + the file name of the string table.
    [[nodiscard]] static std::string PathIn(const std::string& appDir);

    // Reads the whole file once; a missing or unreadable file leaves no entries.
    void LoadPdb();
    // Reads the match's comment from the file now, so an edited comment shows at once.
    [[nodiscard]] PdbInfo Lookup(std::string_view imageName) const;

    [[nodiscard]] const PdbTable& Table() const noexcept { return table_; }
    [[nodiscard]] const std::string& Path() const noexcept { return file_.Path(); }

private:
    ProfileIniFile file_;
    PdbTable table_;
};

// The database at path, loaded.
[[nodiscard]] ProcessDangerDb LoadPdb(const std::string& path);

// LblPdb: a word-wrapping static control whose background its parent paints;
// the parent passes WM_CTLCOLORSTATIC to OnCtlColorStatic.
class PdbLabel {
public:
    PdbLabel() = default;
    ~PdbLabel();
    // Owns a brush: a copy would delete it twice.
    PdbLabel(const PdbLabel&) = delete;
    PdbLabel& operator=(const PdbLabel&) = delete;

    HWND Create(HWND parent, ui::Bounds bounds, HFONT font);
    void Attach(HWND label) noexcept { label_ = label; }
    [[nodiscard]] HWND Hwnd() const noexcept { return label_; }

    // Looks imageName up and shows the result.
    void ShowPdbInfo(const ProcessDangerDb& database, std::string_view imageName);
    void Show(const PdbInfo& info);

    // The brush and text background for the label; nullptr for any other control.
    [[nodiscard]] HBRUSH OnCtlColorStatic(HDC dc, HWND control) const;
    [[nodiscard]] COLORREF Background() const noexcept { return background_; }

private:
    HWND label_ = nullptr;
    COLORREF background_ = RGB(255, 255, 255);
    HBRUSH brush_ = nullptr;
};

}  // namespace cvt
