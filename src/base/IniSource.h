// Read and write access to one INI file, with the private-profile functions' semantics.
#pragma once

#include <string>
#include <string_view>

namespace cvt {

// One INI file as the private-profile functions see it. The Win32 side calls the
// real API, so the settings logic can be fed from memory in tests.
class IniSource {
public:
    virtual ~IniSource() = default;

    // Absent key: defaultValue. Otherwise the number the text starts with
    // ("12abc" is 12, "abc" is 0); values past 32 bits wrap.
    [[nodiscard]] virtual int ReadInt(std::string_view section, std::string_view key,
                                      int defaultValue) const = 0;
    // Absent key: defaultValue. At most 255 bytes either way.
    [[nodiscard]] virtual std::string ReadString(std::string_view section, std::string_view key,
                                                 std::string_view defaultValue) const = 0;

protected:
    IniSource() = default;
    IniSource(const IniSource&) = default;
    IniSource& operator=(const IniSource&) = default;
};

class IniSink {
public:
    virtual ~IniSink() = default;

    // Stored as decimal text, minus sign when negative.
    virtual void WriteInt(std::string_view section, std::string_view key, int value) = 0;
    virtual void WriteString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;

protected:
    IniSink() = default;
    IniSink(const IniSink&) = default;
    IniSink& operator=(const IniSink&) = default;
};

}  // namespace cvt
