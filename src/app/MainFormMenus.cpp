// The main menu, the keyboard shortcuts and the command tags.
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
    applications_.InitCommandTags();
    settings_.InitCommandTags();
}

}  // namespace cvt
