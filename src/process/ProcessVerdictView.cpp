// The verdicts on the Processes page: rows drawn in their level's colour, the
// popup item that turns that off, and the rows the detail window adds.
#include <windows.h>
#include <commctrl.h>

#include "../../res/resource.h"
#include "base/StringTable.h"
#include "lists/CommandIds.h"
#include "process/ProcessPage.h"
#include "sysinfo/HostFacts.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

namespace cvt {

void ProcessPage::SetVerdictSources(const ProcessDangerDb* database, const HostFacts& host) {
    verdicts_.Configure(database, host);
}

void ProcessPage::SetVerdictColours(bool on) {
    verdictColours_ = on;
    if (popup_) ui::CheckMenuCommand(popup_.Get(), cmd::MiProcessVerdictColours, on);
    if (list_ != nullptr) InvalidateRect(list_, nullptr, TRUE);
}

std::optional<RowColour> ProcessPage::RowBackgroundOfRow(int row) const {
    if (!verdictColours_ || list_ == nullptr) return std::nullopt;
    const std::string* key = rowIds_.KeyOf(static_cast<uintptr_t>(ui::ListRowParam(list_, row)));
    if (key == nullptr) return std::nullopt;
    const auto look = looks_.find(*key);
    if (look == looks_.end()) return std::nullopt;
    return RowBackground(look->second.level, look->second.isNew);
}

LRESULT ProcessPage::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return verdictColours_ ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    // A selected row keeps the system's selection colours, which are made to be read.
    if ((draw.nmcd.uItemState & CDIS_SELECTED) != 0) return CDRF_DODEFAULT;
    const std::string* key = rowIds_.KeyOf(static_cast<uintptr_t>(draw.nmcd.lItemlParam));
    const auto look = key != nullptr ? looks_.find(*key) : looks_.end();
    if (look == looks_.end()) return CDRF_DODEFAULT;
    const auto colour = RowBackground(look->second.level, look->second.isNew);
    if (!colour) return CDRF_DODEFAULT;
    draw.clrTextBk = RGB(colour->red, colour->green, colour->blue);
    draw.clrText = RGB(0, 0, 0);  // every row colour is light
    return CDRF_NEWFONT;
}

std::vector<std::pair<std::string, std::string>> ProcessPage::VerdictRowsOfSelection() {
    const int row = ui::SelectedListRow(list_);
    if (row < 0 || !verdicts_.Configured()) return {};
    const std::string* key = rowIds_.KeyOf(static_cast<uintptr_t>(ui::ListRowParam(list_, row)));
    if (key == nullptr) return {};
    // A refresh that needed no verdicts judged none: judge its snapshot now.
    if (verdictOf_.empty() && !lastProcesses_.empty()) {
        const std::vector<Verdict> verdicts = verdicts_.Judge(lastProcesses_, SystemRootFolder());
        for (size_t i = 0; i < verdicts.size(); ++i) verdictOf_[ProcessRowKey(lastProcesses_[i])] = verdicts[i];
    }
    const auto found = verdictOf_.find(*key);
    const Verdict verdict = found != verdictOf_.end() ? found->second : Verdict{};
    const TextLoader load = [](unsigned id) { return LoadText(id); };
    std::vector<std::pair<std::string, std::string>> rows;
    rows.emplace_back("判定", verdict.reasons.empty() ? LoadText(IDS_VERDICT_NONE) : load(LevelStringId(verdict.level)));
    for (const Reason& reason : verdict.reasons)
        rows.emplace_back(load(LevelStringId(reason.level)), ReasonText(reason, load));
    return rows;
}

}  // namespace cvt
