// Loading the settings at start and writing them at close, and the header clicks
// and drags that change the columns they describe.
#include <windows.h>
#include <commctrl.h>

#include "../../res/resource.h"
#include "app/MainForm.h"
#include "base/Ini.h"
#include "base/IniBool.h"
#include "base/StringTable.h"
#include "lists/ColumnView.h"
#include "ui/ListView.h"
#include "ui/MessageDialog.h"

namespace cvt {

std::string TFrmCVT::IniPath(int stringId) const { return state_.appDir + LoadText(static_cast<unsigned>(stringId)); }

void TFrmCVT::LoadSettings() {
    const ProfileIniFile cvtIni(IniPath(IDS_CVT_INI));
    const ProfileIniFile columnIni(IniPath(IDS_COLUMN_INI));

    // An absent key leaves the structure zero; its length is then wrong and the
    // system refuses it, so the default placement stays.
    WINDOWPLACEMENT placement{};
    ReadIniStruct(cvtIni.Path(), "Window", "Placement", &placement, sizeof placement);
    // Applied hidden: the controls are laid out once at the stored size, and the
    // window is first painted with its lists filled. Only a shown state is kept.
    if (placement.showCmd == SW_SHOWMAXIMIZED || placement.showCmd == SW_SHOWMINIMIZED)
        firstShow_ = static_cast<int>(placement.showCmd);
    placement.showCmd = SW_HIDE;
    SetWindowPlacement(Hwnd(), &placement);

    // Every key through the system costs a search of its file, and under Wine a
    // file written less than two seconds ago is read again at each key: one pass each.
    const ProfileFileSnapshot cvtKeys(cvtIni);
    const ProfileFileSnapshot columnKeys(columnIni);
    const LoadedSettings loaded = LoadSettingsModel(cvtKeys.Source(), columnKeys.Source());
    for (const std::string& text : loaded.invalidBooleans)
        ui::ShowMessage(Hwnd(), ui::MessageKind::Error, InvalidBooleanMessage(text));
    for (const GeneralOptions& options : loaded.generalPasses) settings_.ApplyGeneralOptions(options);
    if (loaded.columnsMissing) {
        ui::ShowMessage(Hwnd(), ui::MessageKind::Error, LoadText(IDS_NO_COLUMN_DEFINITIONS));
        RequestTermination();
        return;
    }
    columnSettings_ = loaded.columns;
    for (int n = 0; n < kListCount; ++n) {
        const TColumnManager& manager = columnSettings_[static_cast<size_t>(n)];
        BuildListColumns(ListView(n), n, manager, columnKeys.Source());
        sortFlags_[static_cast<size_t>(n)].Reset(manager.Count);
    }
    // Absent or not "False": the colours are on, as before the choice existed.
    processes_.SetVerdictColours(cvtKeys.Source().ReadString("General", "VerdictColors", "True") != "False");
    settingsLoaded_ = true;
}

void TFrmCVT::SaveSettings() {
    // A start that ended at missing column definitions leaves the file as it was.
    if (!settingsLoaded_) return;
    ProfileIniFile cvtIni(IniPath(IDS_CVT_INI));

    SavedState saved;
    saved.general = settings_.Options();
    for (int n = 0; n < kListCount; ++n) {
        const TColumnManager& manager = columnSettings_[static_cast<size_t>(n)];
        HWND list = ListView(n);
        for (const int cell : ui::ListColumnOrder(list)) {
            if (cell < 0 || cell >= manager.Count) continue;
            const auto c = static_cast<size_t>(cell);
            saved.shown[static_cast<size_t>(n)].push_back(
                {cell, manager.Index[c], ui::ListColumnWidth(list, cell), manager.Align[c]});
        }
    }
    SaveSettingsModel(cvtIni, saved, columnSettings_);
    cvtIni.WriteString("General", "VerdictColors", processes_.VerdictColours() ? "True" : "False");

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Hwnd(), &placement);
    WriteIniStruct(cvtIni.Path(), "Window", "Placement", &placement, sizeof placement);
}

void TFrmCVT::LsvColumnDragged(int tag) {
    if (tag == 0) processes_.UpdateColumnPositions();
    else if (tag == 1) applications_.UpdateColumnPositions();
}

void TFrmCVT::LsvColumnClick(int tag, int cellIndex) {
    if (tag < 0 || tag >= kListCount) return;
    const int key = ColumnClick(sortFlags_[static_cast<size_t>(tag)], columnSettings_[static_cast<size_t>(tag)],
                                cellIndex);
    if (key != 0) SortList(ListView(tag), key);
}

}  // namespace cvt
