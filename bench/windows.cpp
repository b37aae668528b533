// Cost of one window-list refresh against the bare EnumWindows walk it must
// make, with 20 and 200 visible top-level windows that this benchmark creates.
//
//   windows --column=PATH [--rounds=N (at least 10, default 15)]
//
// The windows live in this process, on this thread: under Wine another
// process's window icon cannot be read, so such windows would not be listed.
// Being on this thread, WM_GETICON and GetWindowText are direct calls here.
//
// In one run, the two sizes in alternating blocks, the kinds alternating in
// every round, as medians per size:
//   (a) ApplicationPage::RefreshAppList() on the real list view, page shown;
//   (b) the same walk with no list view: per window WM_GETICON(ICON_SMALL) by
//       SendMessageTimeoutA (SMTO_ABORTIFHUNG | SMTO_BLOCK, 200 ms), then
//       GCLP_HICONSM and GCLP_HICON while no icon, IsWindowVisible; per listed
//       window IsHungAppWindow (from user32), GetWindowThreadProcessId,
//       GetWindowTextLengthA + GetWindowTextA;
//   (b)+images: (b) plus emptying and refilling an image list as (a) does;
//   paint: UpdateWindow of the list after (a) (context only).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../tests/support/Drive.h"
#include "BenchSupport.h"
#include "app/MainForm.h"
#include "base/SystemLibrary.h"
#include "ui/ListView.h"
#include "ui/MessageDialog.h"

namespace {

using cvt::bench::Median;
using cvt::bench::Pump;
using cvt::drive::ArgValue;
using cvt::drive::NowSeconds;



using IsHungFn = BOOL(WINAPI*)(HWND);
IsHungFn g_isHung = nullptr;

struct Walk {
    int enumerated = 0;
    int listed = 0;
    HIMAGELIST images = nullptr;  // refilled when set
    size_t textBytes = 0;         // keeps the reads from being optimised away
};

BOOL CALLBACK BareWindowProc(HWND window, LPARAM param) {
    auto& walk = *reinterpret_cast<Walk*>(param);
    ++walk.enumerated;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_GETICON, ICON_SMALL, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 200, &answer))
        answer = 0;
    auto icon = reinterpret_cast<HICON>(answer);
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    if (icon == nullptr || !IsWindowVisible(window)) return TRUE;
    ++walk.listed;
    volatile BOOL hung = g_isHung(window);
    (void)hung;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::string title(static_cast<size_t>(GetWindowTextLengthA(window)) + 5, '\0');
    const int length = GetWindowTextA(window, title.data(), static_cast<int>(title.size()));
    walk.textBytes += static_cast<size_t>(std::max(0, length)) + processId % 2;
    if (walk.images != nullptr) ImageList_AddIcon(walk.images, icon);
    return TRUE;
}

Walk BarePass(HIMAGELIST images) {
    Walk walk;
    walk.images = images;
    if (images != nullptr) ImageList_RemoveAll(images);
    EnumWindows(&BareWindowProc, reinterpret_cast<LPARAM>(&walk));
    return walk;
}

constexpr char kClassName[] = "CvtBenchWindow";

// Visible, unowned, with an icon: half answer WM_GETICON with an icon of their
// own (set by WM_SETICON, as most programs do; each a distinct handle, so the
// list copies every one), half only have their class's shared icon.
class BenchWindows {
public:
    BenchWindows() = default;
    BenchWindows(const BenchWindows&) = delete;
    BenchWindows& operator=(const BenchWindows&) = delete;
    ~BenchWindows() {
        Resize(0);
        for (HICON icon : icons_) DestroyIcon(icon);
    }

    bool Resize(size_t count) {
        while (windows_.size() > count) {
            DestroyWindow(windows_.back());
            windows_.pop_back();
        }
        HICON small = LoadIconA(nullptr, IDI_APPLICATION);
        while (windows_.size() < count) {
            const size_t i = windows_.size();
            char title[64];
            wsprintfA(title, "cvt ベンチ窓 %03u", static_cast<unsigned>(i));
            const int x = 40 + static_cast<int>(i % 20) * 24, y = 40 + static_cast<int>(i % 13) * 20;
            HWND window = CreateWindowExA(WS_EX_NOACTIVATE, kClassName, title, WS_OVERLAPPEDWINDOW, x, y, 200, 120,
                                          nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
            if (window == nullptr) {
                std::fprintf(stderr, "cannot create window %zu (error %lu)\n", i + 1, GetLastError());
                return false;
            }
            if (i % 2 == 0) {
                if (icons_.size() <= i / 2) icons_.push_back(CopyIcon(small));
                SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_[i / 2]));
            }
            ShowWindow(window, SW_SHOWNOACTIVATE);
            windows_.push_back(window);
        }
        Pump();
        // Wine's desktop and X server work on for a while after windows come and go.
        Sleep(2000);
        Pump();
        return true;
    }

private:
    std::vector<HWND> windows_;
    std::vector<HICON> icons_;
};

bool RegisterBenchClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
}

struct Samples {
    int rows = 0;        // rows of the list after the last (a)
    Walk walk;           // the last bare pass
    std::vector<double> refresh, bare, images, paint;
};

bool MeasureBlock(cvt::TFrmCVT& form, size_t windows, int rounds, HIMAGELIST images, Samples* samples) {
    HWND list = form.ListView(1);
    // Unmeasured: settles the list, the image lists and the windows' first answers.
    form.Applications().RefreshAppList();
    UpdateWindow(list);
    BarePass(images);
    Pump();
    for (int round = 0; round < rounds; ++round) {
        // The order turns every round so that no kind always follows another.
        for (int step = 0; step < 3; ++step) {
            switch ((step + round) % 3) {
                case 0: {
                    double t = NowSeconds();
                    form.Applications().RefreshAppList();
                    samples->refresh.push_back(NowSeconds() - t);
                    t = NowSeconds();
                    UpdateWindow(list);
                    samples->paint.push_back(NowSeconds() - t);
                    samples->rows = ui::ListRowCount(list);
                    break;
                }
                case 1: {
                    const double t = NowSeconds();
                    samples->walk = BarePass(nullptr);
                    samples->bare.push_back(NowSeconds() - t);
                    break;
                }
                case 2: {
                    const double t = NowSeconds();
                    BarePass(images);
                    samples->images.push_back(NowSeconds() - t);
                    break;
                }
            }
            Pump();
        }
    }
    if (samples->walk.listed < static_cast<int>(windows) || samples->rows != samples->walk.listed) {
        std::fprintf(stderr, "%zu windows: the list shows %d rows, the walk lists %d\n", windows, samples->rows,
                     samples->walk.listed);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string roundsText = ArgValue(argc, argv, "rounds");
    const int rounds = roundsText.empty() ? 15 : std::max(10, std::atoi(roundsText.c_str()));
    const std::string column = cvt::drive::WindowsPath(ArgValue(argc, argv, "column"));
    if (column.empty()) {
        std::fprintf(stderr, "usage: windows --column=PATH [--rounds=N]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    std::vector<std::string> messages;
    ui::SetMessageResponder([&](const ui::MessageRecord& record) {
        messages.push_back(record.text);
        return record.yesNo ? IDNO : IDOK;
    });
    // Looked up as the program does; the library stays loaded until the end.
    g_isHung = cvt::LookUpFunction<IsHungFn>(cvt::LoadSystemLibrary("User32.dll").Release(), "IsHungAppWindow");
    if (g_isHung == nullptr || !RegisterBenchClass()) {
        std::fprintf(stderr, "user32 lacks IsHungAppWindow, or the window class cannot be registered\n");
        return 1;
    }

    cvt::drive::TempFolder folder("cvt-windows");
    if (!cvt::bench::PrepareProgramFolder(folder, {{column, "column.ini"}})) return 1;

    const size_t sizes[] = {20, 200};
    const int blocks = 3;
    const int roundsPerBlock = (rounds + blocks - 1) / blocks;
    Samples samples[2];
    HIMAGELIST images =
        ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 16, 16);
    bool ok = true;
    {
        BenchWindows windows;
        auto form = std::make_unique<cvt::TFrmCVT>(folder.Path());
        if (!form->Create()) {
            std::fprintf(stderr, "cannot create the main window\n");
            return 1;
        }
        // The list is visible while a refresh runs on it.
        form->SelectPage(cvt::kPageApplications);
        Pump();
        // The sizes take turns in blocks, so that a slow spell of a shared
        // machine falls on both.
        for (int block = 0; ok && block < blocks; ++block)
            for (int size = 0; ok && size < 2; ++size)
                ok = windows.Resize(sizes[size]) &&
                     MeasureBlock(*form, sizes[size], roundsPerBlock, images, &samples[size]);
        form.reset();
        Pump();
    }
    ImageList_Destroy(images);
    ui::SetMessageResponder(nullptr);
    if (!ok) return 1;
    if (!cvt::bench::NoMessageBoxes(messages)) return 1;

    auto ms = [](const std::vector<double>& values) { return Median(values) * 1000; };
    std::printf("windows: medians of %d rounds per size, alternating kinds; sizes in %d alternating blocks\n",
                roundsPerBlock * blocks, blocks);
    std::printf("windows on the benchmark's own thread: WM_GETICON and GetWindowText are direct calls\n");
    std::printf("%-44s %14s %14s\n", "", "20 windows", "200 windows");
    std::printf("%-44s %14d %14d\n", "top-level windows enumerated", samples[0].walk.enumerated,
                samples[1].walk.enumerated);
    std::printf("%-44s %14d %14d\n", "windows listed (rows)", samples[0].rows, samples[1].rows);
    const struct {
        const char* name;
        std::vector<double> Samples::*field;
    } rows[] = {{"(a) RefreshAppList", &Samples::refresh},
                {"(b) bare EnumWindows walk", &Samples::bare},
                {"(b) + image list refill", &Samples::images},
                {"list paint after (a) (UpdateWindow)", &Samples::paint}};
    for (const auto& row : rows)
        std::printf("%-44s %11.3f ms %11.3f ms\n", row.name, ms(samples[0].*row.field), ms(samples[1].*row.field));
    auto verdict = [](double ratio, double goal) { return ratio <= goal ? "met" : "MISSED"; };
    const Samples& small = samples[0];
    const Samples& large = samples[1];
    const double ratioSmall = Median(small.refresh) / Median(small.bare);
    const double ratioLarge = Median(large.refresh) / Median(large.bare);
    std::printf("%-44s %14.2f %14.2f   goal <= 2.0: %s, %s\n", "(a)/(b)", ratioSmall, ratioLarge,
                verdict(ratioSmall, 2.0), verdict(ratioLarge, 2.0));
    const double growth = Median(large.refresh) / Median(small.refresh);
    std::printf("(a) at 200 / (a) at 20: %.2f   goal <= 11: %s\n", growth, verdict(growth, 11));
    std::printf("(b) at 200 / (b) at 20: %.2f; rows %d / %d = %.2f\n", Median(large.bare) / Median(small.bare),
                large.rows, small.rows, static_cast<double>(large.rows) / small.rows);
    return 0;
}
