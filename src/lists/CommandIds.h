// Command ids of the main window's menu items, buttons and controls.
#pragma once

namespace cvt::cmd {

enum : int {
    // Main menu
    MiFileNewTask = 100,
    MiFileExit,
    MiRefreshApp,
    MiRefreshProcess,
    MiHelpURLDevelop,
    MiHelpAbout,
    // System audit, a block of its own
    MiFileSystemAudit = 150,
    // Process list popup
    MiProcessDetail = 200,
    MiProcessSetManager,
    MiProcessPriority,
    MiProcessPrioReal,
    MiProcessPrioHigh,
    MiProcessPrioAbove,
    MiProcessPrioNormal,
    MiProcessPrioBelow,
    MiProcessPrioIdle,
    MiProcessExit,
    MiProcessOpenFolder,
    MiProcessCopy,
    MiProcessCopyAll,
    MiProcessCopyFileName,
    MiProcessCopyFilePath,
    // Window list popup
    MiAppChangeTask = 300,
    MiAppMinimize,
    MiAppMaximize,
    MiAppAlwaysTopMost,
    MiAppToolWindow,
    MiAppEnableUserInput,
    MiAppShowDetail,
    MiAppShowProcess,
    MiAppSetManager,
    MiAppTerminate,
    // Buttons
    BtnProcessShowDetail = 400,
    BtnProcessOpenFolder,
    BtnProcessRefresh,
    BtnProcessSnapShot,
    BtnProcessExit,
    BtnAppNewTask,
    BtnAppShowForeground,
    BtnAppTerminate,
    BtnAppRefresh,
    BtnAppExit,
    BtnManageChangeTimeFormat,
    BtnManageAdd,
    BtnManageDelete,
    BtnManagerExit,
    BtnReportSave,
    BtnReportClipboard,
    BtnReportExit,
    // Other controls
    PgcOnly = 500,
    Lsv0,
    Lsv1,
    Lsv2,
    TrbRefreshRate,
    ChkStandardization,
    ChkRegisterStartup,
    SedReport,
    // Process list popup, verdicts
    MiProcessVerdictColours = 1250,
};

}  // namespace cvt::cmd
