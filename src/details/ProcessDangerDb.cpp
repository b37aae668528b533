// Reading cvtpdb.ini in one pass, looking image names up and painting the danger label.
#include "details/ProcessDangerDb.h"

#include "../../res/resource.h"
#include "base/StringTable.h"

namespace cvt {

bool SameImageName(std::string_view imageName, std::string_view entryName) {
    if (IsPrintableAscii(imageName) && IsPrintableAscii(entryName))
        return AsciiEqualsIgnoringCase(imageName, entryName);
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, imageName.data(), static_cast<int>(imageName.size()),
                          entryName.data(), static_cast<int>(entryName.size())) == CSTR_EQUAL;
}

std::string ProcessDangerDb::PathIn(const std::string& appDir) { return appDir + LoadText(IDS_CVTPDB_INI); }

void ProcessDangerDb::LoadPdb() {
    // One pass keeps loading linear in the file's size.
    const ProfileFileSnapshot snapshot(file_);
    table_.LoadPdb(snapshot.Source());
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
