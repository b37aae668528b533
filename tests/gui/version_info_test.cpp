// The file information reader on real files: an executable with a known version
// resource, and a file of more than 4 GiB.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "details/VersionInfo.h"

using namespace cvt;
using namespace cvt::test;

namespace {

std::string Sample(const char* exeName) {
    return SourceTreePath((std::string(CVT_VERSION_SAMPLE_DIR) + "/" + exeName).c_str());
}

}  // namespace

TEST(VersionInfo, ReadsEveryStringOfTheOnlyTranslation) {
    TVersionInfo info;
    info.SetFileName(Sample("vi_one_translation.exe"));
    EXPECT_EQ(info.Language(), "Japanese");  // Wine names languages in English
    EXPECT_EQ(info.CompanyName(), "試験用ソフト表示社");
    EXPECT_EQ(info.FileDescription(), "版情報の試験用プログラム");
    EXPECT_EQ(info.FileVersion(), "1.2.3.4");
    EXPECT_EQ(info.InternalName(), "sample-one");
    EXPECT_EQ(info.LegalCopyright(), "Copyright (C) 2026 試験");
    EXPECT_EQ(info.OriginalFilename(), "sample1.exe");
    EXPECT_EQ(info.ProductName(), "試験製品");
    EXPECT_EQ(info.ProductVersion(), "5.6.7.8");
    EXPECT_EQ(info.Comments(), "コメント欄");
    EXPECT_EQ(info.LegalTrademarks(), "商標なし");
    EXPECT_EQ(info.PrivateBuild(), "ﾌﾟﾗｲﾍﾞｰﾄ 1");
    EXPECT_EQ(info.SpecialBuild(), "ｽﾍﾟｼｬﾙ 2");
    const FixedFileInfoWords& fixed = info.FixedFileInfo();
    EXPECT_EQ(fixed[0], 0xFEEF04BDu);  // signature
    EXPECT_EQ(fixed[2], 0x00010002u);  // file version 1.2
    EXPECT_EQ(fixed[3], 0x00030004u);  // .3.4
    EXPECT_EQ(fixed[5], 0x00070008u);  // product version .7.8
    EXPECT_EQ(fixed[9], static_cast<uint32_t>(VFT_APP));
}

TEST(VersionInfo, FilesOfFourGiBAndMoreGetTheRightShortSize) {
    TempFolder folder;
    const std::string path = folder.File("large.bin");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LONG high = 1;  // 5 GiB, sparse: nothing is written
    SetFilePointer(file, 0x40000000, &high, FILE_BEGIN);
    const BOOL extended = SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(extended);

    TVersionInfo info;
    info.SetFileName(path, VersionInfoPart::FileData);
    EXPECT_EQ(info.Size(), 5368709120ull);
    EXPECT_EQ(info.SizeText(), "5.00 GB（5368709120バイト）");  // not the 1 GiB of the low half
}
