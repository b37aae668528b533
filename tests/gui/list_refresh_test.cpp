// Lists brought up to date in place must show what a rebuild from nothing shows.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "ui/ListView.h"

using namespace cvt;
using namespace cvt::test;

namespace {

// Every cell of every row, whether the row has an image, and the selected row.
struct ListContents {
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> imaged;
    int selected = -1;
    bool operator==(const ListContents&) const = default;
};

ListContents ReadList(HWND list) {
    ListContents contents;
    for (int row = 0; row < ui::ListRowCount(list); ++row) {
        auto& cells = contents.rows.emplace_back();
        for (int column = 0; column < ui::ListColumnCount(list); ++column)
            cells.push_back(ui::ListCellText(list, row, column));
        LVITEMA item{.mask = LVIF_IMAGE, .iItem = row};
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        contents.imaged.push_back(item.iImage >= 0);
    }
    contents.selected = ui::SelectedListRow(list);
    return contents;
}

std::string Describe(const ListContents& contents) {
    std::string text = "selected " + std::to_string(contents.selected) + "\n";
    for (const auto& cells : contents.rows) {
        for (const auto& cell : cells) text += cell + " | ";
        text += "\n";
    }
    return text;
}

TEST(ListRefreshTest, RandomRefreshesShowWhatARebuildShows) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    // One form keeps its rows from refresh to refresh; the other starts from an empty list each time.
    MainFormHost kept(folder), rebuilt(folder);
    TFrmCVT& a = kept.Form();
    TFrmCVT& b = rebuilt.Form();
    std::vector<std::unique_ptr<ChildProcess>> children;
    std::vector<std::unique_ptr<TestWindow>> windows;
    // The lists are alike after each step, so one row number picks the same process or window in both.
    const auto selectSameRows = [&](unsigned pick) {
        for (int page = 0; page < 2; ++page) {
            const int rows = ui::ListRowCount(a.ListView(page));
            if (rows == 0) continue;
            ui::SelectListRow(a.ListView(page), static_cast<int>(pick % rows));
            ui::SelectListRow(b.ListView(page), static_cast<int>(pick % rows));
        }
    };
    // Each form remembers its own first selection; start them alike.
    b.Processes().RefreshProcessList();
    b.Applications().RefreshAppList();
    a.Processes().RefreshProcessList();
    a.Applications().RefreshAppList();
    selectSameRows(0);
    std::mt19937 random(20261207);
    int named = 0;
    for (int step = 0; step < 40; ++step) {
        switch (random() % 7) {
        case 0:
            if (children.size() < 4) {
                const auto mode = random() % 2 == 0 ? ChildProcess::Window::None : ChildProcess::Window::Serving;
                children.push_back(std::make_unique<ChildProcess>(
                    folder, "cvtrefresh" + std::to_string(named++) + ".exe", mode));
                break;
            }
            [[fallthrough]];
        case 1:
            if (!children.empty()) children.erase(children.begin() + static_cast<long>(random() % children.size()));
            break;
        case 2:
            if (windows.size() < 6) {
                const std::string title = "cvt refresh " + std::to_string(named++);
                windows.push_back(std::make_unique<TestWindow>(title.c_str(), random() % 4 != 0, true));
                break;
            }
            [[fallthrough]];
        case 3:
            if (!windows.empty()) windows.erase(windows.begin() + static_cast<long>(random() % windows.size()));
            break;
        case 4:
            if (!windows.empty()) {
                const std::string title = "cvt renamed " + std::to_string(named++);
                SetWindowTextA(windows[random() % windows.size()]->Hwnd(), title.c_str());
            }
            break;
        case 5:
            selectSameRows(random());
            break;
        default:
            // The same column header clicked in both forms: the rows are sorted in place.
            for (int page = 0; page < 2; ++page) {
                NMLISTVIEW click{};
                click.hdr.code = LVN_COLUMNCLICK;
                click.iSubItem = static_cast<int>(random() % 3);
                for (TFrmCVT* form : {&a, &b}) {
                    click.hdr.hwndFrom = form->ListView(page);
                    SendMessageA(form->Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
                }
            }
            break;
        }
        PumpMessages(20);
        // Wine's own processes may start, end or change their thread count between the two
        // reads: then both read again. A fault of the in-place update stays through the retries.
        std::vector<ListContents> inPlace(2), fromNothing(2);
        for (int attempt = 0; attempt < 4 && (attempt == 0 || inPlace != fromNothing); ++attempt) {
            a.Processes().RefreshProcessList();
            a.Applications().RefreshAppList();
            for (int page = 0; page < 2; ++page) SendMessageA(b.ListView(page), LVM_DELETEALLITEMS, 0, 0);
            b.Processes().RefreshProcessList();
            b.Applications().RefreshAppList();
            for (int page = 0; page < 2; ++page) {
                inPlace[page] = ReadList(a.ListView(page));
                fromNothing[page] = ReadList(b.ListView(page));
            }
        }
        for (int page = 0; page < 2; ++page) {
            SCOPED_TRACE("step " + std::to_string(step) + ", page " + std::to_string(page));
            ASSERT_TRUE(inPlace[page] == fromNothing[page])
                << Describe(inPlace[page]) << "---\n" << Describe(fromNothing[page]);
            ASSERT_GE(inPlace[page].selected, 0);
        }
        // One image per icon still in use, however many windows came and went.
        const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(a.ListView(1), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        EXPECT_LE(ImageList_GetImageCount(images), ui::ListRowCount(a.ListView(1)));
    }
}

}  // namespace

namespace {

bool g_shownAtFirstRow = false;
int g_rowsInserted = 0;

LRESULT CALLBACK WatchInserts(int code, WPARAM wParam, LPARAM lParam) {
    const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent.message == LVM_INSERTITEMA && g_rowsInserted++ == 0)
        g_shownAtFirstRow = IsWindowVisible(GetAncestor(sent.hwnd, GA_ROOT)) != FALSE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Painting an empty window and then its rows is a visible flash and a wasted paint.
TEST(ListRefreshTest, TheWindowIsFirstShownWithItsListsFilled) {
    TempFolder folder;
    folder.CopyShippedColumnIni();
    MainFormHost(folder).CloseByCommand();  // a stored placement, which used to show the window at once
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchInserts, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    {
        MainFormHost host(folder);
        UnhookWindowsHookEx(hook);
        EXPECT_TRUE(IsWindowVisible(host.Form().Hwnd()));
        EXPECT_GT(ui::ListRowCount(host.Form().ListView(0)), 0);
    }
    EXPECT_GT(g_rowsInserted, 0);
    EXPECT_FALSE(g_shownAtFirstRow);
}

}  // namespace
