// The system audit's judging and its text, from facts the tests make up.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "report/AuditReport.h"
#include "sysinfo/HijackAudit.h"

using namespace cvt;
using testing::ElementsAre;

namespace {

constexpr char kOwn[] = "\"C:\\Program Files\\Corvault\\cvt.exe\"";

AuditFacts Facts(std::vector<RegistryFacts> views) {
    AuditFacts facts;
    facts.views = std::move(views);
    facts.runningImages = {"explorer.exe", "Worker.exe"};
    facts.ownDebuggerCommand = kOwn;
    facts.taskManagerImage = "taskmgr.exe";
    facts.systemFolder = "C:\\WINDOWS\\system32";
    return facts;
}

std::vector<std::string> Lines(const std::vector<AuditFinding>& findings) {
    std::vector<std::string> lines;
    for (const AuditFinding& f : findings)
        lines.push_back(std::string(AuditLevelText(f.level)) + " " + f.place + " " + std::to_string(f.views));
    return lines;
}

}  // namespace

TEST(HijackAudit, DebuggersAreJudgedByImageOwnerAndWhatRuns) {
    const RegistryFacts view{.debuggers = {{"taskmgr.exe", kOwn}, {"TASKMGR.EXE", "D:\\old\\cvt.exe"},
                                           {"taskmgr.exe", "x.exe"}, {"SETHC.EXE", "cmd.exe"},
                                           {"worker.exe", "w.exe"}, {"notepad.exe", "vsjitdebugger.exe"},
                                           {"osk.exe", " "}, {"notepad2.exe", "cvt.exe"}}};
    const auto findings = JudgeAudit(Facts({view}));
    EXPECT_THAT(Lines(findings), ElementsAre(std::string("情報 IFEO\\taskmgr.exe Debugger=") + kOwn + " 0",
                                             "情報 IFEO\\TASKMGR.EXE Debugger=D:\\old\\cvt.exe 0",
                                             "危険 IFEO\\taskmgr.exe Debugger=x.exe 0",
                                             "危険 IFEO\\SETHC.EXE Debugger=cmd.exe 0",
                                             "危険 IFEO\\worker.exe Debugger=w.exe 0",
                                             "警告 IFEO\\notepad.exe Debugger=vsjitdebugger.exe 0",
                                             "警告 IFEO\\notepad2.exe Debugger=cvt.exe 0"));
    EXPECT_NE(findings[0].reason, findings[1].reason);  // this copy, or another folder's
}

TEST(HijackAudit, WinlogonAndAppInitAreFoundOnlyWhenNotTheSystemsOwn) {
    const RegistryFacts clean{.shell = " Explorer.exe", .userinit = "c:\\windows\\system32\\userinit.exe,",
                              .appInitDlls = " "};
    EXPECT_TRUE(JudgeAudit(Facts({clean})).empty());

    const RegistryFacts bad{.shell = "explorer.exe evil.exe",
                            .userinit = "C:\\evil.exe,C:\\WINDOWS\\system32\\userinit.exe,",
                            .appInitDlls = "hook.dll"};
    const RegistryFacts elsewhere{.userinit = "C:\\temp\\userinit.exe"};
    EXPECT_THAT(Lines(JudgeAudit(Facts({bad}))), ElementsAre("警告 Winlogon Shell=explorer.exe evil.exe 0",
                                                             "危険 Winlogon Userinit=C:\\evil.exe,"
                                                             "C:\\WINDOWS\\system32\\userinit.exe, 0",
                                                             "警告 Windows AppInit_DLLs=hook.dll 0"));
    EXPECT_EQ(JudgeAudit(Facts({elsewhere})).size(), 1u);
}

TEST(HijackAudit, TheSameValueInBothViewsIsOneFindingAndOthersNameTheirView) {
    RegistryFacts native{.view = kView64, .debuggers = {{"a.exe", "x.exe"}}, .appInitDlls = "one.dll"};
    RegistryFacts wow{.view = kView32, .debuggers = {{"a.exe", "x.exe"}}, .appInitDlls = "two.dll"};
    const auto findings = JudgeAudit(Facts({native, wow}));
    EXPECT_THAT(Lines(findings), ElementsAre("警告 IFEO\\a.exe Debugger=x.exe 3", "警告 Windows AppInit_DLLs=one.dll 1",
                                             "警告 Windows AppInit_DLLs=two.dll 2"));
    const std::string text = AuditReportText({2026, 12, 7, 8, 5, 0}, "Windows", findings);
    EXPECT_NE(text.find("\r\n[警告] IFEO\\a.exe Debugger=x.exe\r\n    "), std::string::npos) << text;
    EXPECT_NE(text.find("one.dll (64ビット)\r\n"), std::string::npos);
    EXPECT_NE(text.find("two.dll (32ビット)\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n危険=0 警告=3 情報=0\r\n"), std::string::npos);
}

TEST(HijackAudit, AccessibilityProgramsMustCarryTheirOwnName) {
    AuditFacts facts = Facts({});
    facts.accessibilityFiles = {{"C:\\s\\sethc.exe", "SETHC.EXE"},
                                {"C:\\s\\osk.exe", "osk.exe.mui"},
                                {"C:\\s\\utilman.exe", "Cmd.Exe"},
                                {"C:\\s\\magnify.exe", ""}};
    const auto findings = JudgeAudit(facts);
    EXPECT_THAT(Lines(findings), ElementsAre("危険 C:\\s\\utilman.exe OriginalFilename=Cmd.Exe 0",
                                             "危険 C:\\s\\magnify.exe OriginalFilename=(なし) 0"));
}

TEST(HijackAudit, AReportWithoutFindingsSaysSoBetweenTheRules) {
    EXPECT_EQ(AuditReportText({2026, 12, 7, 8, 5, 0}, "XP", {}),
              "[System Audit]\r\nEnhanced by Corvault\r\nDateTime : 2026/12/07 08:05:00\r\nOS : XP\r\n" +
                  std::string(53, '-') + "\r\n危険=0 警告=0 情報=0\r\n問題は見つかりませんでした。\r\n" +
                  std::string(53, '-') + "\r\n");
}
