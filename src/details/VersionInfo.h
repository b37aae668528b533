// The file information reader: version resource, file data, shell icons and
// compatibility layers of one file, read once and then served as values.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/Handles.h"
#include "details/FileInfoText.h"
#include "details/VersionBlock.h"

namespace cvt {

// What SetFileName reads; the numbers are those callers pass.
enum class VersionInfoPart { All = 0, VersionResource = 1, FileData = 2, Icons = 3, CompatLayers = 4 };

// Local date and time in the user's default short formats, the user's own overrides
// ignored: "2026/12/6、18:30:13"; the date alone without a time; "" when unconvertible.
[[nodiscard]] std::string FormatFileTime(const FILETIME& time);

class TVersionInfo {
public:
    TVersionInfo() = default;
    TVersionInfo(const TVersionInfo&) = delete;  // owns its icons
    TVersionInfo& operator=(const TVersionInfo&) = delete;

    // Reads nothing when path is the current file name (exact, case-sensitive).
    void SetFileName(std::string_view path, VersionInfoPart part = VersionInfoPart::All);

    [[nodiscard]] static std::string FormatAttributes(uint32_t attributes) { return cvt::FormatAttributes(attributes); }

    [[nodiscard]] const std::string& FileName() const noexcept { return fileName_; }
    [[nodiscard]] const FixedFileInfoWords& FixedFileInfo() const noexcept { return fixedFileInfo_; }
    [[nodiscard]] const std::string& Language() const noexcept { return language_; }
    [[nodiscard]] const std::string& CompanyName() const noexcept { return strings_[0]; }
    [[nodiscard]] const std::string& FileDescription() const noexcept { return strings_[1]; }
    [[nodiscard]] const std::string& FileVersion() const noexcept { return strings_[2]; }
    [[nodiscard]] const std::string& InternalName() const noexcept { return strings_[3]; }
    [[nodiscard]] const std::string& LegalCopyright() const noexcept { return strings_[4]; }
    [[nodiscard]] const std::string& OriginalFilename() const noexcept { return strings_[5]; }
    [[nodiscard]] const std::string& ProductName() const noexcept { return strings_[6]; }
    [[nodiscard]] const std::string& ProductVersion() const noexcept { return strings_[7]; }
    [[nodiscard]] const std::string& Comments() const noexcept { return strings_[8]; }
    [[nodiscard]] const std::string& LegalTrademarks() const noexcept { return strings_[9]; }
    [[nodiscard]] const std::string& PrivateBuild() const noexcept { return strings_[10]; }
    [[nodiscard]] const std::string& SpecialBuild() const noexcept { return strings_[11]; }

    // The attribute data as the system reported it; zero when it could not be read.
    [[nodiscard]] const WIN32_FILE_ATTRIBUTE_DATA& FileData() const noexcept { return fileData_; }
    [[nodiscard]] const std::string& TypeName() const noexcept { return typeName_; }
    [[nodiscard]] uint32_t Attributes() const noexcept { return attributes_; }
    [[nodiscard]] const std::string& CreationTime() const noexcept { return creationTime_; }
    [[nodiscard]] const std::string& LastAccessTime() const noexcept { return lastAccessTime_; }
    [[nodiscard]] const std::string& LastWriteTime() const noexcept { return lastWriteTime_; }
    [[nodiscard]] uint64_t Size() const noexcept { return size_; }
    [[nodiscard]] const std::string& SizeText() const noexcept { return sizeText_; }

    // Still owned by this reader; null when the shell gave none.
    [[nodiscard]] HICON LargeIcon() const noexcept { return largeIcon_.Get(); }
    [[nodiscard]] HICON SmallIcon() const noexcept { return smallIcon_.Get(); }
    // Hands an icon over to a control that keeps it beyond this reader.
    [[nodiscard]] UniqueIcon TakeLargeIcon() noexcept { return std::move(largeIcon_); }
    [[nodiscard]] UniqueIcon TakeSmallIcon() noexcept { return std::move(smallIcon_); }

    [[nodiscard]] const TCompatLayers& CompatLayers() const noexcept { return compatLayers_; }

private:
    // Each part first empties what it sets, so nothing of a previous file survives a failure.
    void ReadVersionResource();
    void ReadFileData();
    void ReadIcons();
    void ReadCompatLayers();

    std::string fileName_;
    FixedFileInfoWords fixedFileInfo_{};
    std::string language_;
    std::array<std::string, kVersionStringNames.size()> strings_;
    WIN32_FILE_ATTRIBUTE_DATA fileData_{};
    std::string typeName_;
    uint32_t attributes_ = 0;
    std::string creationTime_;
    std::string lastAccessTime_;
    std::string lastWriteTime_;
    uint64_t size_ = 0;
    std::string sizeText_;
    UniqueIcon largeIcon_;
    UniqueIcon smallIcon_;
    TCompatLayers compatLayers_;
};

}  // namespace cvt
