// The main menu, the two list popups and their keyboard shortcuts.
#include "app/MainForm.h"
#include "lists/CommandIds.h"
#include "ui/Controls.h"
#include "ui/Menu.h"

namespace cvt {

HMENU TFrmCVT::CreateMainMenu() {
    HMENU bar = CreateMenu();
    HMENU file = ui::AppendSubmenu(bar, {.caption = "ファイル(&F)"});
    ui::AppendMenuItem(file, {.id = cmd::MiFileNewTask, .caption = "新しいタスクの実行(&N)..."});
    ui::AppendMenuSeparator(file);
    ui::AppendMenuItem(file, {.id = cmd::MiFileExit, .caption = "Corvaultの終了(&X)"});
    HMENU refresh = ui::AppendSubmenu(bar, {.caption = "更新(&R)"});
    ui::AppendMenuItem(refresh, {.id = cmd::MiRefreshApp, .caption = "アプリケーションの更新(&A)", .shortcut = "F5"});
    ui::AppendMenuItem(refresh, {.id = cmd::MiRefreshProcess, .caption = "プロセスの更新(&P)", .shortcut = "F6"});
    HMENU help = ui::AppendSubmenu(bar, {.caption = "ヘルプ(&H)"});
    ui::AppendMenuItem(help, {.id = cmd::MiHelpURLDevelop, .caption = "開発元ホームページ(&D)..."});
    ui::AppendMenuSeparator(help);
    ui::AppendMenuItem(help, {.id = cmd::MiHelpAbout, .caption = "バージョン情報(&A)..."});
    return bar;
}

void TFrmCVT::CreatePopupMenus() {
    pumProcess_.Reset(CreatePopupMenu());
    HMENU p = pumProcess_.Get();
    ui::AppendMenuItem(p, {.id = cmd::MiProcessDetail, .caption = "詳細(&D)...", .shortcut = "Ctrl+D"});
    ui::AppendMenuItem(p, {.id = cmd::MiProcessSetManager, .caption = "マネジメントする(&N)...", .enabled = false});
    ui::AppendMenuSeparator(p);
    HMENU priority = ui::AppendSubmenu(p, {.id = cmd::MiProcessPriority, .caption = "優先度の設定(&P)"});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioReal, .caption = "リアルタイム(&R)", .radio = true});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioHigh, .caption = "高(&H)", .radio = true});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioAbove, .caption = "通常以上(&A)", .radio = true});
    ui::AppendMenuItem(priority,
                       {.id = cmd::MiProcessPrioNormal, .caption = "通常(&N)", .shortcut = "Ctrl+N", .radio = true,
                        .checked = true});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioBelow, .caption = "通常以下(&B)", .radio = true});
    ui::AppendMenuItem(priority, {.id = cmd::MiProcessPrioIdle, .caption = "低(&L)", .radio = true});
    ui::AppendMenuItem(p, {.id = cmd::MiProcessExit, .caption = "プロセスの終了(&E)", .shortcut = "Ctrl+Q"});
    ui::AppendMenuSeparator(p);
    ui::AppendMenuItem(p, {.id = cmd::MiProcessOpenFolder, .caption = "フォルダを開く(&F)...", .shortcut = "Ctrl+F"});
    HMENU copy = ui::AppendSubmenu(p, {.id = cmd::MiProcessCopy, .caption = "クリップボードにコピー"});
    ui::AppendMenuItem(copy, {.id = cmd::MiProcessCopyAll, .caption = "一括(&A)", .shortcut = "Ctrl+C"});
    ui::AppendMenuSeparator(copy);
    ui::AppendMenuItem(copy, {.id = cmd::MiProcessCopyFileName, .caption = "プロセスのイメージ名(&N)"});
    ui::AppendMenuItem(copy, {.id = cmd::MiProcessCopyFilePath, .caption = "プロセスのパス(&P)"});

    pumApp_.Reset(CreatePopupMenu());
    HMENU a = pumApp_.Get();
    ui::AppendMenuItem(a, {.id = cmd::MiAppChangeTask, .caption = "切り替え(&S)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppMinimize, .caption = "最小化(&M)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppMaximize, .caption = "最大化(&X)"});
    ui::AppendMenuSeparator(a);
    ui::AppendMenuItem(a, {.id = cmd::MiAppAlwaysTopMost, .caption = "常に手前に表示(&A)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppToolWindow, .caption = "ツールウィンドウとして表示(&T)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppEnableUserInput, .caption = "ユーザー入力を受け付ける(&I)"});
    ui::AppendMenuSeparator(a);
    ui::AppendMenuItem(a, {.id = cmd::MiAppShowDetail, .caption = "実行ファイルの詳細(&O)..."});
    ui::AppendMenuItem(a, {.id = cmd::MiAppShowProcess, .caption = "プロセスの表示(&P)"});
    ui::AppendMenuItem(a, {.id = cmd::MiAppSetManager, .caption = "マネジメントする(&N)..."});
    ui::AppendMenuSeparator(a);
    ui::AppendMenuItem(a, {.id = cmd::MiAppTerminate, .caption = "タスクの終了(&E)"});
}

void TFrmCVT::CreateAccelerators() {
    mainAccel_ = ui::CreateAccelerators({{FVIRTKEY, VK_F5, cmd::MiRefreshApp}, {FVIRTKEY, VK_F6, cmd::MiRefreshProcess}});
    processAccel_ = ui::CreateAccelerators({{FVIRTKEY | FCONTROL, 'D', cmd::MiProcessDetail},
                                            {FVIRTKEY | FCONTROL, 'N', cmd::MiProcessPrioNormal},
                                            {FVIRTKEY | FCONTROL, 'Q', cmd::MiProcessExit},
                                            {FVIRTKEY | FCONTROL, 'F', cmd::MiProcessOpenFolder},
                                            {FVIRTKEY | FCONTROL, 'C', cmd::MiProcessCopyAll}});
}

bool TFrmCVT::TranslateShortcut(MSG& msg) {
    if (processAccel_ && GetFocus() == lsv_[0] && TranslateAcceleratorA(Hwnd(), processAccel_.Get(), &msg)) return true;
    return mainAccel_ && TranslateAcceleratorA(Hwnd(), mainAccel_.Get(), &msg) != 0;
}

void TFrmCVT::InitCommandTags() {
    // Column positions are unknown until UpdateColumnPositions runs.
    processPositions_ = ProcessColumnPositions{};
    HMENU p = pumProcess_.Get();
    const struct { int id; int tag; } menuTags[] = {
        {cmd::MiProcessPrioReal, 256},  {cmd::MiProcessPrioHigh, 128},   {cmd::MiProcessPrioAbove, 32768},
        {cmd::MiProcessPrioNormal, 32}, {cmd::MiProcessPrioBelow, 16384}, {cmd::MiProcessPrioIdle, 64},
        {cmd::MiProcessCopyAll, 0},     {cmd::MiProcessCopyFileName, 1},  {cmd::MiProcessCopyFilePath, 2},
        {cmd::MiProcessCopy, 0}};
    for (const auto& t : menuTags) ui::SetMenuItemTag(p, t.id, t.tag);
    const struct { int id; int tag; } appTags[] = {
        {cmd::MiAppChangeTask, 0},    {cmd::MiAppMinimize, 2},      {cmd::MiAppMaximize, 3},
        {cmd::MiAppAlwaysTopMost, 4}, {cmd::MiAppToolWindow, 5},    {cmd::MiAppEnableUserInput, 6},
        {cmd::MiAppShowDetail, 7},    {cmd::MiAppShowProcess, 8},   {cmd::MiAppTerminate, 9}};
    for (const auto& t : appTags) ui::SetMenuItemTag(pumApp_.Get(), t.id, t.tag);
    ui::SetControlTag(Control(cmd::BtnAppShowForeground), 1);
    ui::SetControlTag(Control(cmd::BtnAppTerminate), 9);

    // The 95/98/Me family has no above- or below-normal class and no standard task manager setting.
    const bool nt = state_.isNTPlatform;
    ui::EnableMenuCommand(p, cmd::MiProcessPrioAbove, nt);
    ui::EnableMenuCommand(p, cmd::MiProcessPrioBelow, nt);
    EnableWindow(Control(cmd::ChkStandardization), nt ? TRUE : FALSE);
}

}  // namespace cvt
