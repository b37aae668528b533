// The file information reader on real files: executables with known version
// resources, files with known times, sizes and attributes, and layer values in
// the registry. Layers are read on Windows XP only, so those checks run in a
// copy of this program that Wine is told to treat as Windows XP.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <cstring>

#include "GuiTestSupport.h"
#include "details/VersionInfo.h"

using namespace cvt;
using namespace cvt::test;

namespace {

constexpr char kLayersFolderVariable[] = "CVT_TEST_LAYERS_FOLDER";

std::string Sample(const char* exeName) {
    return SourceTreePath((std::string(CVT_VERSION_SAMPLE_DIR) + "/" + exeName).c_str());
}

FILETIME UtcFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME system{year, month, 0, day, hour, minute, second, 0};
    FILETIME time{};
    SystemTimeToFileTime(&system, &time);
    return time;
}

// Overwrites "wValueLength", the word four bytes before the entry's UTF-16 key.
void SetValueLength(std::string& image, const std::string& key, uint16_t length) {
    std::string wide;
    for (char c : key) wide += std::string{c, '\0'};
    const size_t at = image.find(wide + std::string(2, '\0'));
    ASSERT_TRUE(at != std::string::npos && at >= 4) << key;
    image[at - 4] = static_cast<char>(length & 0xFF);
    image[at - 3] = static_cast<char>(length >> 8);
}

void ExpectNoVersionFields(const TVersionInfo& info) {
    EXPECT_EQ(info.FixedFileInfo(), FixedFileInfoWords{});
    const std::string all = info.Language() + info.CompanyName() + info.FileDescription() + info.FileVersion() +
                            info.InternalName() + info.LegalCopyright() + info.OriginalFilename() +
                            info.ProductName() + info.ProductVersion() + info.Comments() + info.LegalTrademarks() +
                            info.PrivateBuild() + info.SpecialBuild();
    EXPECT_EQ(all, "");
}

int IconWidth(HICON icon) {
    ICONINFO parts{};
    if (!GetIconInfo(icon, &parts)) return 0;
    BITMAP bitmap{};
    GetObjectA(parts.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(parts.hbmMask);
    if (parts.hbmColor != nullptr) DeleteObject(parts.hbmColor);
    return bitmap.bmWidth;
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

TEST(VersionInfo, OnlyTheFirstTranslationCountsAndNoneMeansNoStrings) {
    TVersionInfo two;
    two.SetFileName(Sample("vi_two_translations.exe"));
    EXPECT_EQ(two.Language(), "English");  // 0x0409; Wine leaves out the country
    EXPECT_EQ(two.CompanyName(), "English company");
    EXPECT_EQ(two.FileDescription(), "English description");
    EXPECT_EQ(two.Comments(), "");  // only the second translation has one

    TVersionInfo none;
    none.SetFileName(Sample("vi_no_translation.exe"));
    EXPECT_EQ(none.FixedFileInfo()[2], 0x00030001u);
    EXPECT_EQ(none.Language(), "");
    EXPECT_EQ(none.CompanyName(), "");
}

TEST(VersionInfo, BrokenLengthsInTheResourceLeaveItsFieldsEmpty) {
    TempFolder folder;
    std::ifstream in(Sample("vi_one_translation.exe"), std::ios::binary);
    const std::string original{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(original.empty());

    // A translation list shorter than one pair, and one far longer than the whole block.
    for (const uint16_t length : {uint16_t{2}, uint16_t{0xFFFF}}) {
        std::string image = original;
        SetValueLength(image, "Translation", length);
        folder.Write("broken.exe", image);
        TVersionInfo info;
        info.SetFileName(folder.File("broken.exe"));
        EXPECT_EQ(info.Language() + info.CompanyName(), "") << length;
        EXPECT_EQ(info.FixedFileInfo()[0], 0xFEEF04BDu) << "the fixed block is still whole";
    }

    // A fixed block shorter than its 13 words is not copied at all.
    std::string image = original;
    SetValueLength(image, "VS_VERSION_INFO", 20);
    folder.Write("shortfixed.exe", image);
    folder.Write("text.exe", "MZ and nothing else\r\n");
    for (const char* name : {"shortfixed.exe", "text.exe"}) {
        TVersionInfo info;
        info.SetFileName(folder.File(name));
        ExpectNoVersionFields(info);
    }
}

TEST(VersionInfo, FileDataOfAFileWithKnownSizeAndAttributes) {
    TempFolder folder;
    folder.Write("data.txt", std::string(1234, 'x'));
    const std::string path = folder.File("data.txt");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    TVersionInfo info;
    info.SetFileName(path);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that the folder can be removed

    EXPECT_EQ(TVersionInfo::FormatAttributes(info.Attributes()), "読み取り専用, ｱｰｶｲﾌﾞ");
    EXPECT_EQ(info.Size(), 1234u);
    EXPECT_EQ(info.SizeText(), "1.20 KB（1234バイト）");
    EXPECT_EQ(info.FileData().nFileSizeLow, 1234u);
    EXPECT_NE(info.TypeName(), "");
    EXPECT_NE(info.CreationTime(), "");
}

TEST(VersionInfo, TimesAreLocalAndInTheDefaultFormatsNotTheUsersOwn) {
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT || zone.Bias != 0) GTEST_SKIP() << "expects UTC";
    TempFolder folder;
    folder.Write("dated.txt", "x");
    const std::string path = folder.File("dated.txt");
    const FILETIME accessed = UtcFileTime(2025, 1, 2, 3, 4, 5);
    const FILETIME written = UtcFileTime(2026, 12, 6, 18, 30, 13);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, &accessed, &written));
    CloseHandle(file);

    // The file data alone: reading the version resource would touch the access time.
    TVersionInfo info;
    info.SetFileName(path, VersionInfoPart::FileData);
    EXPECT_EQ(info.LastAccessTime(), "2025/1/2、3:04:05");
    EXPECT_EQ(info.LastWriteTime(), "2026/12/6、18:30:13");

    // The user's own short date picture, in effect only while the file is read again.
    char old[100] = {}, overridden[64] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old, sizeof old);
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy'-'MM'-'dd"));
    const SYSTEMTIME system{2026, 12, 0, 6, 18, 30, 13, 0};
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &system, nullptr, overridden, sizeof overridden);
    TVersionInfo again;
    again.SetFileName(path, VersionInfoPart::FileData);
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old);
    EXPECT_STREQ(overridden, "2026-12-06") << "the override must be in effect for this check to mean anything";
    EXPECT_EQ(again.LastWriteTime(), "2026/12/6、18:30:13");
}

TEST(VersionInfo, AMissingFileLeavesNothingOfTheFileReadBefore) {
    TempFolder folder;
    TVersionInfo info;
    info.SetFileName(Sample("vi_one_translation.exe"));
    ASSERT_NE(info.CompanyName(), "");
    ASSERT_NE(info.SmallIcon(), nullptr);

    info.SetFileName(folder.File("gone.exe"));
    EXPECT_EQ(info.FileName(), folder.File("gone.exe"));
    ExpectNoVersionFields(info);
    EXPECT_EQ(info.Attributes(), 0u);
    EXPECT_EQ(info.CreationTime() + info.LastAccessTime() + info.LastWriteTime() + info.TypeName(), "");
    EXPECT_EQ(info.Size(), 0u);
    EXPECT_EQ(info.SizeText(), "0バイト");
    EXPECT_EQ(info.FileData().nFileSizeLow, 0u);
    EXPECT_EQ(info.LargeIcon(), nullptr);
    EXPECT_EQ(info.SmallIcon(), nullptr);
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

TEST(VersionInfo, TheSamePathReadsNothingAndLetterCaseMakesAnotherPath) {
    TempFolder folder;
    folder.Write("same.txt", std::string(10, 'x'));
    const std::string path = folder.File("same.txt");
    TVersionInfo info;
    info.SetFileName(path, VersionInfoPart::FileData);
    folder.Write("same.txt", std::string(20, 'x'));
    info.SetFileName(path, VersionInfoPart::FileData);
    EXPECT_EQ(info.SizeText(), "10 バイト（10バイト）");

    const std::string upper = folder.File("SAME.TXT");
    info.SetFileName(upper, VersionInfoPart::FileData);
    EXPECT_EQ(info.FileName(), upper);
    EXPECT_EQ(info.Size(), 20u);

    TVersionInfo fresh;
    fresh.SetFileName("");
    EXPECT_EQ(fresh.SizeText(), "");
}

TEST(VersionInfo, APartSelectorReadsThatPartOnly) {
    const std::string exe = Sample("vi_one_translation.exe");
    TVersionInfo version, data, icons;
    version.SetFileName(exe, VersionInfoPart::VersionResource);
    data.SetFileName(exe, VersionInfoPart::FileData);
    icons.SetFileName(exe, VersionInfoPart::Icons);
    EXPECT_NE(version.CompanyName(), "");
    EXPECT_EQ(version.SizeText() + data.CompanyName() + icons.CompanyName() + icons.SizeText(), "");
    EXPECT_GT(data.Size(), 0u);
    EXPECT_EQ(version.LargeIcon(), nullptr);
    EXPECT_EQ(data.LargeIcon(), nullptr);
    EXPECT_NE(icons.LargeIcon(), nullptr);
}

TEST(VersionInfo, TheShellsIconsInBothSizesCanBeHandedOver) {
    TVersionInfo info;
    info.SetFileName(Sample("vi_one_translation.exe"), VersionInfoPart::Icons);
    EXPECT_EQ(IconWidth(info.LargeIcon()), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(info.SmallIcon()), GetSystemMetrics(SM_CXSMICON));

    const HICON large = info.LargeIcon();
    const UniqueIcon taken = info.TakeLargeIcon();
    EXPECT_EQ(taken.Get(), large);
    EXPECT_EQ(info.LargeIcon(), nullptr);
}

namespace {

constexpr char kLayersKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
// Paths in the test's folder, as layer value names; "CASE.EXE" is looked up as "case.exe".
const std::pair<const char*, const char*> kLayerValues[] = {
    {"tokens.exe", "WIN98 256COLOR"}, {"none.exe", "none"}, {"CASE.EXE", "WIN2000"}, {"binary.exe", "WIN2000"}};

// Sets a value under the user's key, or removes it when text is null.
void SetUserValue(const std::string& key, const std::string& name, const char* text, DWORD type = REG_SZ) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    if (text == nullptr) RegDeleteValueA(handle, name.c_str());
    else RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text), strlen(text) + 1);
    RegCloseKey(handle);
}

TCompatLayers LayersOf(const std::string& path) {
    TVersionInfo info;
    info.SetFileName(path, VersionInfoPart::CompatLayers);
    return info.CompatLayers();
}

}  // namespace

// Wine treats this program as Windows 7: the values are there but not read. The checks of
// the values run in a copy of this program that Wine treats as Windows XP.
TEST(VersionInfo, CompatLayersAreReadOnlyOnWindowsXp) {
    TempFolder folder;
    for (const auto& [file, text] : kLayerValues) {
        const DWORD type = std::string(file) == "binary.exe" ? REG_BINARY : REG_SZ;
        SetUserValue(kLayersKey, folder.File(file), text, type);
    }
    EXPECT_EQ(LayersOf(folder.File("tokens.exe")), TCompatLayers{});
    EXPECT_EQ(LayersOf(folder.File("none.exe")), TCompatLayers{});

    RunCopyAsWindows(folder, "winxp", "VersionInfoOnWindowsXp.*", kLayersFolderVariable, folder.Path());
    for (const auto& [file, text] : kLayerValues) SetUserValue(kLayersKey, folder.File(file), nullptr);
    EXPECT_TRUE(folder.Exists("passed")) << "the checks in the Windows XP copy failed or did not run";
}

TEST(VersionInfoOnWindowsXp, LayersOfTheExactPathFromItsTokens) {
    const char* folder = std::getenv(kLayersFolderVariable);
    if (folder == nullptr) GTEST_SKIP() << "runs only in the Windows XP copy";
    OSVERSIONINFOA version{sizeof version};
    ASSERT_TRUE(GetVersionExA(&version));
    ASSERT_EQ(version.dwMajorVersion * 10 + version.dwMinorVersion, 51u);
    const std::string base = folder;

    TCompatLayers tokens;
    tokens.Win98 = true;
    tokens.Color256 = true;
    EXPECT_EQ(LayersOf(base + "tokens.exe"), tokens);
    TCompatLayers none;
    none.None = true;
    EXPECT_EQ(LayersOf(base + "none.exe"), none);
    // Another spelling of the name, a value that is no string, and no value at all.
    EXPECT_EQ(LayersOf(base + "case.exe"), TCompatLayers{});
    EXPECT_EQ(LayersOf(base + "binary.exe"), TCompatLayers{});
    EXPECT_EQ(LayersOf(base + "unlisted.exe"), TCompatLayers{});

    TVersionInfo whole;  // the layers come with the other parts
    whole.SetFileName(base + "tokens.exe");
    EXPECT_EQ(whole.CompatLayers(), tokens);

    if (!HasFailure()) std::ofstream(base + "passed") << "passed";
}
