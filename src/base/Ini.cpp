// INI access over the private-profile functions.
#include "base/Ini.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "base/ProfileSnapshot.h"

namespace cvt {
namespace {

bool IsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

// Larger files are left to the system alone, so a broken file never costs its size twice in memory.
constexpr DWORD kMaxSnapshotBytes = 64u << 20;

std::optional<std::string> ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<std::string> bytes;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size != INVALID_FILE_SIZE && high == 0 && size <= kMaxSnapshotBytes) {
        std::string buffer(size, '\0');
        DWORD read = 0;
        if (size == 0 || (ReadFile(file, buffer.data(), size, &read, nullptr) && read == size)) bytes = std::move(buffer);
    }
    CloseHandle(file);
    return bytes;
}

// Whether the system's reading of the file as ANSI text gives back these very bytes.
bool DecodesExactly(const std::string& bytes) {
    if (bytes.empty()) return true;
    const int size = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (wide <= 0) return false;
    std::wstring text(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), wide);
    const int back = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    if (back != size) return false;
    std::string again(static_cast<size_t>(back), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wide, again.data(), back, nullptr, nullptr);
    return again == bytes;
}

}  // namespace

int ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultValue) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, sizeof buffer,
                             file.c_str());
    return buffer;
}

bool ReadIniStruct(const std::string& file, const std::string& section, const std::string& key, void* buffer,
                   unsigned size) {
    return GetPrivateProfileStructA(section.c_str(), key.c_str(), buffer, size, file.c_str()) != FALSE;
}

void WriteIniInt(const std::string& file, const std::string& section, const std::string& key, int value) {
    char text[16];
    (void)std::snprintf(text, sizeof text, "%d", value);
    WritePrivateProfileStringA(section.c_str(), key.c_str(), text, file.c_str());
}

void WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

void WriteIniStruct(const std::string& file, const std::string& section, const std::string& key,
                    const void* buffer, unsigned size) {
    WritePrivateProfileStructA(section.c_str(), key.c_str(), const_cast<void*>(buffer), size, file.c_str());
}

int ProfileIniFile::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    return ReadIniInt(path_, std::string(section), std::string(key), defaultValue);
}

std::string ProfileIniFile::ReadString(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    return ReadIniString(path_, std::string(section), std::string(key), std::string(defaultValue));
}

void ProfileIniFile::WriteInt(std::string_view section, std::string_view key, int value) {
    WriteIniInt(path_, std::string(section), std::string(key), value);
}

void ProfileIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    WriteIniString(path_, std::string(section), std::string(key), std::string(value));
}

ProfileFileSnapshot::ProfileFileSnapshot(const ProfileIniFile& file,
                                         std::function<bool(std::string_view foldedName)> keepSection)
    : file_(file) {
    if (std::optional<std::string> bytes = ReadWholeFile(file.Path())) {
        const bool decodesExactly = DecodesExactly(*bytes);
        snapshot_ = std::make_unique<ProfileSnapshot>(std::move(*bytes), file, decodesExactly, IsAnsiLeadByte,
                                                      std::move(keepSection));
    }
}

ProfileFileSnapshot::~ProfileFileSnapshot() = default;

const IniSource& ProfileFileSnapshot::Source() const noexcept {
    if (snapshot_) return *snapshot_;
    return file_;
}

std::vector<std::string> ProfileFileSnapshot::SectionNames() const {
    if (snapshot_ && snapshot_->Parsed()) return snapshot_->SectionNames();
    // The call gives size - 2 when the names do not fit.
    for (DWORD size = 1 << 16;; size *= 4) {
        std::vector<char> buffer(size);
        const DWORD length = GetPrivateProfileSectionNamesA(buffer.data(), size, file_.Path().c_str());
        if (length + 2 >= size && size < (1u << 24)) continue;
        std::vector<std::string> names;
        for (const char* name = buffer.data(); name < buffer.data() + length && *name != '\0'; name += strlen(name) + 1)
            names.emplace_back(name);
        return names;
    }
}

}  // namespace cvt
