// The main menu, the window list's popup and the keyboard shortcuts.
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
    if (processAccel_ && GetFocus() == processes_.List() && TranslateAcceleratorA(Hwnd(), processAccel_.Get(), &msg)) return true;
    return mainAccel_ && TranslateAcceleratorA(Hwnd(), mainAccel_.Get(), &msg) != 0;
}

void TFrmCVT::InitCommandTags() {
    processes_.InitCommandTags();
    const struct { int id; int tag; } appTags[] = {
        {cmd::MiAppChangeTask, 0},    {cmd::MiAppMinimize, 2},      {cmd::MiAppMaximize, 3},
        {cmd::MiAppAlwaysTopMost, 4}, {cmd::MiAppToolWindow, 5},    {cmd::MiAppEnableUserInput, 6},
        {cmd::MiAppShowDetail, 7},    {cmd::MiAppShowProcess, 8},   {cmd::MiAppTerminate, 9}};
    for (const auto& t : appTags) ui::SetMenuItemTag(pumApp_.Get(), t.id, t.tag);
    ui::SetControlTag(Control(cmd::BtnAppShowForeground), 1);
    ui::SetControlTag(Control(cmd::BtnAppTerminate), 9);

    // The 95/98/Me family has no standard task manager setting.
    const bool nt = state_.isNTPlatform;
    EnableWindow(Control(cmd::ChkStandardization), nt ? TRUE : FALSE);
}

}  // namespace cvt
