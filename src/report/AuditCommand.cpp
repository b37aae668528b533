// The system audit command: read, judge, and show the text in the report editor.
#include "report/AuditReport.h"
#include "report/ReportPage.h"
#include "sysinfo/HijackAuditWin32.h"
#include "sysinfo/OsNameWin32.h"

namespace cvt {

void ReportPage::MiSystemAuditClick() {
    if (sedReport_ == nullptr) return;
    ProcessApi api;
    const AuditFacts facts = ReadAuditFacts({.appDir = state_.appDir, .programFolder = auditProgramFolder_}, api);
    sedReport_->SetText(AuditReportText(Now(), GetOSName(), JudgeAudit(facts)));
    links_.showPage();
}

}  // namespace cvt
