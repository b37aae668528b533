// In-memory INI file for unit tests, read like the private-profile functions.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/IniSource.h"

namespace cvt::test {

class FakeIni : public IniSource, public IniSink {
public:
    // Blank-separated "[Section]" and "Key=Value" words.
    explicit FakeIni(const std::string& text = "")
    {
        std::istringstream words(text);
        std::string word, section;
        while (words >> word) {
            if (word.front() == '[') section = word.substr(1, word.size() - 2);
            else if (const auto eq = word.find('='); eq != std::string::npos)
                WriteString(section, word.substr(0, eq), word.substr(eq + 1));
        }
    }

    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const override
    {
        const auto at = values.find(Key(section, key));
        if (at == values.end()) return defaultValue;
        // Leading decimal number; past 32 bits it wraps, as the real call does.
        return static_cast<int>(static_cast<std::uint32_t>(std::strtoll(at->second.c_str(), nullptr, 10)));
    }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override
    {
        const auto at = values.find(Key(section, key));
        return (at == values.end() ? std::string(defaultValue) : at->second).substr(0, 255);
    }

    void WriteInt(std::string_view section, std::string_view key, int value) override
    {
        WriteString(section, key, std::to_string(value));
    }

    void WriteString(std::string_view section, std::string_view key, std::string_view value) override
    {
        values[Key(section, key)] = std::string(value);
    }

    [[nodiscard]] std::vector<std::string> SectionNames() const
    {
        std::vector<std::string> names;
        for (const auto& [name, value] : values)
            if (names.empty() || names.back() != name.first) names.push_back(name.first);
        return names;
    }

private:
    using Name = std::pair<std::string, std::string>;
    static Name Key(std::string_view section, std::string_view key) { return {std::string(section), std::string(key)}; }

    std::map<Name, std::string> values;
};

// A column.ini with all three lists; widths and alignments keyed by kind.
inline FakeIni SampleColumnIni()
{
    return FakeIni(R"(
        [General] DefRefreshRate=5 DefChkStandardization=False DefChkRegisterStartup=True
        [List0] DefCount=3 DefSortIndex=1 DefSortWay=False DefIndex0=2 DefIndex1=0 DefIndex2=3
                DefWidth0=60 DefWidth2=120 DefWidth3=200 DefAlign0=1 DefAlign3=2 Name2=イメージ名
        [List1] DefCount=2 DefIndex0=0 DefIndex1=2 DefWidth0=150 DefWidth2=80
        [List2] DefCount=4 DefIndex0=0 DefIndex1=1 DefIndex2=2 DefIndex3=3
                DefWidth0=115 DefWidth1=120 DefWidth2=90 DefWidth3=290 DefAlign2=1
    )");
}

}  // namespace cvt::test
