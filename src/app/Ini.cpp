// INI access over the private-profile functions.
#include "app/Ini.h"

#include <windows.h>

#include <cstdio>

namespace cvt {

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

}  // namespace cvt
