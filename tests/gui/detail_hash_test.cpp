// The detail window's hash rows and commands, and the chunked hasher on files
// that change under it.
#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "base/Sha256.h"
#include "details/Detail.h"
#include "details/FileHasher.h"
#include "ui/Clipboard.h"

using namespace cvt;
using namespace cvt::test;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

constexpr char kAbcMd5[] = "900150983cd24fb0d6963f7d28e17f72";
constexpr char kAbcSha1[] = "a9993e364706816aba3e25717850c26c9cd0d89d";
constexpr char kAbcSha256[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

// The detail window on a file holding "abc", its hashes computed.
class DetailHashTest : public testing::Test {
protected:
    DetailHashTest() : host_(Prepared(folder_)), detail_(host_.Form().Detail()) {
        detail_.ShowDetailForFile(folder_.File("abc.txt"));
        // Filled by the timer, not while the window opens.
        opening_ = detail_.Grid().Value(detail_.FirstHashRow());
        copyEnabledAtOpening_ = IsWindowEnabled(detail_.CopyHashesButton()) != FALSE;
        for (int i = 0; i < 500 && detail_.Hashing(); ++i) PumpMessages(10);
    }
    static const TempFolder& Prepared(const TempFolder& folder) {
        folder.CopyShippedColumnIni();
        folder.Write("abc.txt", "abc");
        return folder;
    }

    TempFolder folder_;
    MessageLog messages_;
    MainFormHost host_;
    TFrmDetail& detail_;
    std::string opening_;
    bool copyEnabledAtOpening_ = true;
};

}  // namespace

TEST_F(DetailHashTest, RowsFillInAfterTheOthersAndCopyGivesTheThreeHashes) {
    EXPECT_THAT(opening_, HasSubstr("計算中"));
    EXPECT_FALSE(copyEnabledAtOpening_);
    std::vector<std::string> rows;
    for (int row = detail_.FirstHashRow(); row < detail_.Grid().RowCount(); ++row)
        rows.push_back(detail_.Grid().Key(row) + "=" + detail_.Grid().Value(row));
    EXPECT_THAT(rows, ElementsAre(std::string("MD5=") + kAbcMd5, std::string("SHA-1=") + kAbcSha1,
                                  std::string("SHA-256=") + kAbcSha256));
    SendMessageA(detail_.CopyHashesButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(ui::ClipboardText(detail_.Hwnd()), std::string("MD5: ") + kAbcMd5 + "\r\nSHA-1: " + kAbcSha1 +
                                                     "\r\nSHA-256: " + kAbcSha256 + "\r\n");
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].kind, ui::MessageKind::Information);
}

TEST_F(DetailHashTest, LookUpAsksFirstAndHandsTheBrowserOnlyTheHashsAddress) {
    std::vector<std::string> calls;
    detail_.SetShellExecutor([&](HWND, const char* verb, const char* file, const char* parameters, const char*,
                                 int) -> INT_PTR {
        calls.push_back(std::string(verb) + "|" + file + "|" + (parameters ? parameters : "-"));
        return 33;
    });
    const std::string url = std::string("https://www.virustotal.com/gui/file/") + kAbcSha256;
    messages_.Answer(IDNO);
    SendMessageA(detail_.LookUpHashButton(), BM_CLICK, 0, 0);
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(messages_.Records().size(), 1u);
    EXPECT_EQ(messages_.Records()[0].kind, ui::MessageKind::Confirmation);
    EXPECT_THAT(messages_.Records()[0].text, HasSubstr(url));

    messages_.Answer(IDYES);
    SendMessageA(detail_.LookUpHashButton(), BM_CLICK, 0, 0);
    EXPECT_THAT(calls, ElementsAre("open|" + url + "|-"));
}

TEST(FileHasher, StepsOfOneChunkGiveTheWholeDigestAndNoticeChangeAndRemoval) {
    TempFolder folder;
    std::string bytes(200 * 1024 + 7, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    folder.Write("big.bin", bytes);

    FileHasher whole(folder.File("big.bin"));
    int steps = 0;
    while (whole.Step(0) == HashOutcome::Running) ++steps;
    EXPECT_GE(steps, 3);  // one chunk a step
    EXPECT_EQ(whole.Outcome(), HashOutcome::Done);
    EXPECT_EQ(whole.Hashes().sha256, Sha256Hex(bytes));
    EXPECT_EQ(whole.Hashes().md5.size(), 32u);

    FileHasher changed(folder.File("big.bin"));
    EXPECT_EQ(changed.Step(0), HashOutcome::Running);
    folder.Write("big.bin", bytes + "x");
    EXPECT_EQ(changed.Step(0), HashOutcome::Changed);
    EXPECT_TRUE(changed.Hashes().sha256.empty());

    EXPECT_EQ(FileHasher(folder.File("none.bin")).Step(0), HashOutcome::Missing);
    FileHasher removed(folder.File("big.bin"));
    EXPECT_EQ(removed.Step(0), HashOutcome::Running);
    ASSERT_TRUE(DeleteFileA(folder.File("big.bin").c_str()));
    EXPECT_EQ(removed.Step(0), HashOutcome::Removed);
}
