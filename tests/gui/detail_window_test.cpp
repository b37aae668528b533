// The detail window, opened on files the tests choose.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "details/Detail.h"
#include "lists/CommandIds.h"
#include "ui/ListView.h"
#include "ui/Menu.h"

using namespace cvt;
using namespace cvt::test;
using testing::ElementsAre;

namespace {

class DetailWindowTest : public testing::Test {
protected:
    DetailWindowTest() {
        folder_.CopyShippedColumnIni();
        CopyFileA(SourceTreePath(CVT_SOURCE_DIR "/data/cvtpdb.ini").c_str(), folder_.File("cvtpdb.ini").c_str(), FALSE);
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        self_ = self;
    }

    std::vector<std::string> Column(const TFrmDetail& detail, bool keys) {
        std::vector<std::string> texts;
        for (int row = 0; row < detail.Grid().RowCount(); ++row)
            texts.push_back(keys ? detail.Grid().Key(row) : detail.Grid().Value(row));
        return texts;
    }

    TempFolder folder_;
    MessageLog messages_;
    std::string self_;
};

}  // namespace

TEST_F(DetailWindowTest, ShowsTheTwentyFiveRowsOfAnExecutable) {
    MainFormHost host(folder_);
    TFrmDetail& detail = host.Form().Detail();
    EXPECT_FALSE(IsWindowVisible(detail.Hwnd()));
    detail.ShowDetailForFile(self_);
    EXPECT_TRUE(IsWindowVisible(detail.Hwnd()));
    const std::string name = self_.substr(self_.rfind('\\') + 1);
    EXPECT_EQ(WindowText(detail.Hwnd()), "[ " + name + " ] の詳細");
    EXPECT_THAT(Column(detail, true),
                ElementsAre("ファイル名", "ファイルの種類", "説明", "フルパス", "親パス", "サイズ", "作成日時", "更新日時",
                            "アクセス日時", "属性", "正式ファイル名", "製品名", "内部名", "ファイルバージョン",
                            "製品バージョン", "ｽﾍﾟｼｬﾙ ﾋﾞﾙﾄﾞ情報", "ﾌﾟﾗｲﾍﾞｰﾄ ﾋﾞﾙﾄﾞ情報", "コメント", "著作権",
                            "会社名", "商標", "言語", "互換:OS", "互換:ﾃﾞｨｽﾌﾟﾚｲ設定", "互換:入力設定", "MD5", "SHA-1",
                            "SHA-256"));
    const auto values = Column(detail, false);
    EXPECT_EQ(values[0], name);
    EXPECT_EQ(values[3], self_);
    EXPECT_EQ(values[4], self_.substr(0, self_.rfind('\\') + 1));
    // The test program carries the program's own version resource.
    EXPECT_EQ(values[11], "Corvault");
    EXPECT_EQ(values[13], "1.01");
    EXPECT_EQ(values[10], "cvt.exe");
    EXPECT_NE(values[5].find("バイト"), std::string::npos) << values[5];
    EXPECT_TRUE(IsWindowEnabled(detail.OpenFolderButton()));
    EXPECT_NE(detail.LargeIcon(), nullptr);
    EXPECT_FALSE(WindowText(detail.DangerLabel()).empty());
}

TEST_F(DetailWindowTest, ValueCellsCanBeEditedAndTheNextFillReplacesTheEdit) {
    MainFormHost host(folder_);
    TFrmDetail& detail = host.Form().Detail();
    detail.ShowDetailForFile(self_);
    auto& grid = const_cast<ui::KeyValueGrid&>(detail.Grid());
    grid.BeginEdit(2);
    ASSERT_NE(grid.Editor(), nullptr);
    SetWindowTextA(grid.Editor(), "メモ");
    SendMessageA(grid.Editor(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(grid.Value(2), "メモ");
    EXPECT_EQ(grid.Key(2), "説明");
    grid.BeginEdit(2);  // Escape drops the edit
    SetWindowTextA(grid.Editor(), "捨てる");
    SendMessageA(grid.Editor(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(grid.Value(2), "メモ");
    detail.ShowDetailForFile(self_);
    EXPECT_NE(grid.Value(2), "メモ");
}
