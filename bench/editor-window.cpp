// The report editor window against the system's multi-line EDIT control, on the same text.
//
//   editor-window [--rounds=N (at least 5, default 7)]
//
// The text: 200,000 lines, 10 MiB, Shift-JIS report-like lines. Both controls sit in windows of the
// same size with the same font ("ＭＳ ゴシック", 13-pixel cells), on this thread, each focused while
// it is measured. Per round, the two controls alternate within each step:
//   (a) set text: SetText / WM_SETTEXT of the whole text, then UpdateWindow (the first paint);
//   (b) page down: from the top, 200 times WM_KEYDOWN VK_NEXT, each followed by UpdateWindow;
//   (c) typing: at the end of the text, 500 WM_CHARs, each followed by UpdateWindow.
// Before each step the control is brought to the same start (empty text for (a), the full text and
// the caret at the start or end for (b) and (c)); that preparation is not timed. Medians per step.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../tests/support/Drive.h"
#include "BenchSupport.h"
#include "editor/VellEdit.h"

namespace {

using cvt::bench::Median;
using cvt::bench::Pump;
using cvt::drive::ArgValue;
using cvt::drive::NowSeconds;

constexpr int kLines = 200000;
constexpr size_t kBytes = 10u * 1024 * 1024;
constexpr int kPageDowns = 200;
constexpr int kTyped = 500;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::string MakeText() {
    std::string text;
    text.reserve(kBytes);
    const size_t perLine = kBytes / kLines;  // 52 bytes, the last line takes the rest
    for (int i = 0; i < kLines; ++i) {
        char head[64];
        const int n = std::snprintf(head, sizeof head, "%06d プロセス explorer.exe 通常 C:\\WINDOWS\\", i);
        std::string line(head, static_cast<size_t>(n));
        const size_t want = (i == kLines - 1 ? kBytes - text.size() : perLine) - 2;
        while (line.size() < want) line.push_back(static_cast<char>('a' + line.size() % 26));
        line.resize(want);
        text += line;
        text += "\r\n";
    }
    return text;
}

HWND MakeParent(int x) {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "CvtBenchEditorParent";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    return CreateWindowExA(0, "CvtBenchEditorParent", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, 0, kWidth,
                           kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The thread's keyboard state with Ctrl held or not, for the editor's key table.
void HoldCtrl(bool held) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

// One control under test: how to give it a text and put its caret at the start or the end.
struct Subject {
    const char* name;
    HWND hwnd;
    std::function<void(const std::string&)> setText;
    std::function<void(bool end)> caretTo;
};

double Time(const std::function<void()>& work) {
    const double start = NowSeconds();
    work();
    return (NowSeconds() - start) * 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string roundsArg = ArgValue(argc, argv, "rounds");
    const int rounds = std::max(5, roundsArg.empty() ? 7 : std::atoi(roundsArg.c_str()));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    const std::string text = MakeText();

    HWND vellParent = MakeParent(0);
    cvt::TVellEdit vell;
    vell.SetFont({.Name = "ＭＳ ゴシック", .Height = -13, .CharSet = SHIFTJIS_CHARSET, .Color = 0});
    vell.SetBorderStyle(cvt::TBorderStyle::bsSingle);
    vell.Model().HorzScrollBar = true;
    vell.Model().SetWordWrap(false);
    if (!vell.Create(vellParent, 0, 0, kWidth, kHeight)) {
        std::fprintf(stderr, "cannot create the editor\n");
        return 1;
    }

    HWND editParent = MakeParent(kWidth + 10);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                    ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                                0, 0, kWidth, kHeight, editParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    LOGFONTA record = vell.FontRecord();
    HFONT font = CreateFontIndirectA(&record);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);  // no 32K limit

    std::vector<Subject> subjects = {
        {"TVellEdit", vell.Hwnd(), [&](const std::string& t) { vell.SetText(t); },
         [&](bool end) {
             HoldCtrl(true);
             SendMessageA(vell.Hwnd(), WM_KEYDOWN, end ? VK_END : VK_HOME, 1);
             HoldCtrl(false);
         }},
        {"EDIT", edit, [&](const std::string& t) { SetWindowTextA(edit, t.c_str()); },
         [&](bool end) {
             const LPARAM at = end ? GetWindowTextLengthA(edit) : 0;
             SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(at), at);
             SendMessageA(edit, EM_SCROLLCARET, 0, 0);
         }},
    };

    std::vector<std::vector<double>> setText(2), pageDown(2), typing(2);
    for (int round = 0; round < rounds; ++round) {
        // The order of the two alternates between rounds.
        for (int k = 0; k < 2; ++k) {
            const size_t i = static_cast<size_t>((k + round) % 2);
            Subject& s = subjects[i];
            SetFocus(s.hwnd);
            s.setText("");
            UpdateWindow(s.hwnd);
            Pump();
            setText[i].push_back(Time([&] {
                s.setText(text);
                UpdateWindow(s.hwnd);
            }));
            Pump();
            std::fprintf(stderr, "round %d %s: set text %.1f ms\n", round + 1, s.name, setText[i].back());

            s.caretTo(false);
            UpdateWindow(s.hwnd);
            Pump();
            pageDown[i].push_back(Time([&] {
                for (int n = 0; n < kPageDowns; ++n) {
                    SendMessageA(s.hwnd, WM_KEYDOWN, VK_NEXT, 1);
                    SendMessageA(s.hwnd, WM_KEYUP, VK_NEXT, static_cast<LPARAM>(0xC0000001u));
                    UpdateWindow(s.hwnd);
                }
            }));
            Pump();
            std::fprintf(stderr, "round %d %s: page down %.1f ms\n", round + 1, s.name, pageDown[i].back());

            s.caretTo(true);
            UpdateWindow(s.hwnd);
            Pump();
            typing[i].push_back(Time([&] {
                for (int n = 0; n < kTyped; ++n) {
                    SendMessageA(s.hwnd, WM_CHAR, static_cast<WPARAM>('a' + n % 26), 1);
                    UpdateWindow(s.hwnd);
                }
            }));
            Pump();
            std::fprintf(stderr, "round %d %s: typing %.1f ms\n", round + 1, s.name, typing[i].back());
        }
    }

    // Both must hold what was typed, or the timings compare different work.
    const int vellLength = static_cast<int>(SendMessageA(vell.Hwnd(), WM_GETTEXTLENGTH, 0, 0));
    const int editLength = GetWindowTextLengthA(edit);
    if (vellLength != static_cast<int>(text.size()) + kTyped || editLength != vellLength)
        std::fprintf(stderr, "text lengths differ: TVellEdit %d, EDIT %d, expected %d\n", vellLength, editLength,
                     static_cast<int>(text.size()) + kTyped);

    std::printf("editor-window: %d lines, %zu bytes; medians of %d rounds, the two alternating\n", kLines, text.size(),
                rounds);
    std::printf("%-40s %12s %12s %8s\n", "", "TVellEdit", "EDIT", "ratio");
    const struct {
        const char* name;
        std::vector<std::vector<double>>* samples;
    } rows[] = {{"(a) set text until first paint", &setText},
                {"(b) 200 page downs with painting", &pageDown},
                {"(c) 500 typed characters at the end", &typing}};
    for (const auto& row : rows) {
        const double mine = Median((*row.samples)[0]);
        const double theirs = Median((*row.samples)[1]);
        std::printf("%-40s %9.1f ms %9.1f ms %8.2f   goal <= 1.0: %s\n", row.name, mine, theirs, mine / theirs,
                    mine <= theirs ? "met" : "missed");
    }
    DestroyWindow(edit);
    DeleteObject(font);
    DestroyWindow(editParent);
    DestroyWindow(vellParent);
    return 0;
}
