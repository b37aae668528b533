// Gathering a file's facts from the system for the file information reader.
#include "details/VersionInfo.h"

#include <shellapi.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "base/SystemLibrary.h"

namespace cvt {

namespace {

constexpr char kCompatLayersKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
// Layer lists are a few tokens long; a larger value is not one.
constexpr DWORD kMaxLayersBytes = 64 * 1024;
// The registry's own limit on value names, plus the NUL.
constexpr DWORD kMaxValueNameChars = 16384;

bool IsLeadByteOfAnsiCodePage(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

// Text a system call wrote into a buffer, bounded by the count it reported and the buffer.
template <size_t N>
std::string BufferText(const char (&buffer)[N], size_t reported = N) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    return TextWithin(ByteSpan(bytes, std::min(reported, N)), IsLeadByteOfAnsiCodePage);
}

std::optional<ByteSpan> QueryValue(std::vector<unsigned char>& block, const std::string& subBlock) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), subBlock.c_str(), &value, &length)) return std::nullopt;
    return ValueWithin(ByteSpan(block), value, length);
}

std::optional<std::string> QueryText(std::vector<unsigned char>& block, const std::string& subBlock) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), subBlock.c_str(), &value, &length)) return std::nullopt;
    return TextValueWithin(ByteSpan(block), value, length, IsLeadByteOfAnsiCodePage);
}

using FormatByteSizeFn = char*(WINAPI*)(DWORD, char*, UINT);
using FormatByteSize64Fn = char*(WINAPI*)(LONGLONG, char*, UINT);

// The size texts of Shlwapi, valid while module stays loaded.
ByteSizeFormatters ShellByteSizeFormatters(HMODULE module) {
    ByteSizeFormatters formatters;
    if (auto format32 = LookUpFunction<FormatByteSizeFn>(module, "StrFormatByteSizeA")) {
        formatters.format32 = [format32](uint32_t size) {
            char text[255] = {};
            return format32(size, text, sizeof text) != nullptr ? BufferText(text) : std::string();
        };
    }
    if (auto format64 = LookUpFunction<FormatByteSize64Fn>(module, "StrFormatByteSize64A")) {
        formatters.format64 = [format64](uint64_t size) {
            char text[255] = {};
            if (size > static_cast<uint64_t>(std::numeric_limits<LONGLONG>::max())) return std::string();
            return format64(static_cast<LONGLONG>(size), text, sizeof text) != nullptr ? BufferText(text)
                                                                                      : std::string();
        };
    }
    return formatters;
}

// The shell's icon, or null; the shell may hand out an icon even when it reports failure.
UniqueIcon ShellIcon(const std::string& path, UINT flags) {
    SHFILEINFOA info{};
    const DWORD_PTR found = SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, flags);
    UniqueIcon icon(info.hIcon);
    if (found == 0) icon.Reset();
    return icon;
}

// The layers value of the file, when it exists, is a string and is of sane size.
std::optional<std::string> ReadLayersValue(HKEY key, const std::string& valueName) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes > kMaxLayersBytes) return std::nullopt;
    std::vector<unsigned char> data(bytes + 1);
    DWORD read = bytes;
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data.data(), &read) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return TextWithin(ByteSpan(data.data(), std::min(read, bytes)), IsLeadByteOfAnsiCodePage);
}

}  // namespace

std::string FormatFileTime(const FILETIME& time) {
    FILETIME local{};
    SYSTEMTIME system{};
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &system)) return {};
    constexpr DWORD kFlags = LOCALE_NOUSEROVERRIDE;
    char date[256] = {};
    char clock[256] = {};
    std::optional<std::string> datePart;
    std::optional<std::string> timePart;
    if (const int n = GetDateFormatA(LOCALE_USER_DEFAULT, kFlags, &system, nullptr, date, sizeof date); n > 0) {
        datePart = BufferText(date, static_cast<size_t>(n));
    }
    if (const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, kFlags, &system, nullptr, clock, sizeof clock); n > 0) {
        timePart = BufferText(clock, static_cast<size_t>(n));
    }
    return ComposeFileTimeText(datePart, timePart);
}

void TVersionInfo::SetFileName(std::string_view path, VersionInfoPart part) {
    if (path == fileName_) return;
    fileName_ = path;
    switch (part) {
    case VersionInfoPart::All:
        ReadVersionResource();
        ReadFileData();
        ReadIcons();
        ReadCompatLayers();
        break;
    case VersionInfoPart::VersionResource: ReadVersionResource(); break;
    case VersionInfoPart::FileData: ReadFileData(); break;
    case VersionInfoPart::Icons: ReadIcons(); break;
    case VersionInfoPart::CompatLayers: ReadCompatLayers(); break;
    }
}

void TVersionInfo::ReadVersionResource() {
    if (fileName_.empty()) return;
    fixedFileInfo_ = {};
    language_.clear();
    for (std::string& text : strings_) text.clear();

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName_.c_str(), &ignored);
    if (size == 0 || size > kMaxVersionBlockSize) return;
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoA(fileName_.c_str(), 0, size, block.data())) return;

    if (const auto root = QueryValue(block, "\\")) {
        if (const auto words = ReadFixedFileInfo(*root)) fixedFileInfo_ = *words;
    }
    const auto translations = QueryValue(block, "\\VarFileInfo\\Translation");
    if (!translations) return;
    // Only the first translation counts, for the language and for the strings.
    const std::optional<Translation> first = FirstTranslation(*translations);
    if (!first) return;
    char name[255] = {};
    if (const DWORD n = VerLanguageNameA(first->language, name, sizeof name); n > 0) language_ = BufferText(name, n);

    const std::string prefix = StringFilePrefix(*first);
    for (size_t i = 0; i < kVersionStringNames.size(); ++i) {
        if (auto text = QueryText(block, prefix + kVersionStringNames[i])) strings_[i] = std::move(*text);
    }
}

void TVersionInfo::ReadFileData() {
    if (fileName_.empty()) return;
    fileData_ = {};
    attributes_ = 0;
    creationTime_.clear();
    lastAccessTime_.clear();
    lastWriteTime_.clear();
    size_ = 0;
    sizeText_.clear();
    typeName_.clear();

    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool haveData = GetFileAttributesExA(fileName_.c_str(), GetFileExInfoStandard, &data) != FALSE;
    if (haveData) {
        fileData_ = data;
        attributes_ = data.dwFileAttributes;
        creationTime_ = FormatFileTime(data.ftCreationTime);
        lastAccessTime_ = FormatFileTime(data.ftLastAccessTime);
        lastWriteTime_ = FormatFileTime(data.ftLastWriteTime);
        size_ = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    }

    SHFILEINFOA info{};
    if (SHGetFileInfoA(fileName_.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME) != 0) {
        typeName_ = BufferText(info.szTypeName);
    }

    // A file that could not be read has no size to put in a short form.
    if (!haveData) {
        sizeText_ = ComposeSizeText(0, {});
        return;
    }
    const UniqueLibrary shlwapi = LoadSystemLibrary("Shlwapi.dll");
    sizeText_ = ComposeSizeText(size_, ShellByteSizeFormatters(shlwapi.Get()));
}

void TVersionInfo::ReadIcons() {
    if (fileName_.empty()) return;
    smallIcon_ = ShellIcon(fileName_, SHGFI_ICON | SHGFI_SMALLICON);
    largeIcon_ = ShellIcon(fileName_, SHGFI_ICON);
}

void TVersionInfo::ReadCompatLayers() {
    if (fileName_.empty()) return;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) ||
        !HasCompatLayerStore(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion)) {
        return;
    }
    compatLayers_ = {};

    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kCompatLayersKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return;
    const UniqueRegKey key(raw);
    DWORD longestName = 0;
    if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return;
    }
    std::vector<char> name(std::min(longestName + 1, kMaxValueNameChars));
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG result = RegEnumValueA(key.Get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) continue;  // longer than any path, or added meanwhile
        if (result != ERROR_SUCCESS) break;
        // The registry matches names regardless of case; the layers belong to this exact spelling only.
        const std::string valueName(name.data(), std::min<size_t>(length, name.size()));
        if (valueName != fileName_) continue;
        if (const auto text = ReadLayersValue(key.Get(), valueName)) compatLayers_ = ParseCompatLayers(*text);
    }
}

}  // namespace cvt
