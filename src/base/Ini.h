// The program's INI access: every INI file is addressed by its full path, so
// the files live beside the executable and never in the Windows folder.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/IniSource.h"

namespace cvt {

[[nodiscard]] int ReadIniInt(const std::string& file, const std::string& section, const std::string& key,
                             int defaultValue);
// At most 255 characters.
[[nodiscard]] std::string ReadIniString(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& defaultValue);
// False when the key is absent or its checksum is wrong; the buffer then keeps what it held.
bool ReadIniStruct(const std::string& file, const std::string& section, const std::string& key, void* buffer,
                   unsigned size);
void WriteIniInt(const std::string& file, const std::string& section, const std::string& key, int value);
void WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value);
void WriteIniStruct(const std::string& file, const std::string& section, const std::string& key,
                    const void* buffer, unsigned size);

// One INI file seen through the platform-free read and write interfaces.
class ProfileIniFile final : public IniSource, public IniSink {
public:
    explicit ProfileIniFile(std::string path) : path_(std::move(path)) {}
    [[nodiscard]] const std::string& Path() const noexcept { return path_; }

    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const override;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override;
    void WriteInt(std::string_view section, std::string_view key, int value) override;
    void WriteString(std::string_view section, std::string_view key, std::string_view value) override;

private:
    std::string path_;
};

class ProfileSnapshot;

// One INI file read whole and parsed in one pass. Through the system every read
// searches the whole file again, so files with thousands of keys to read go
// through this; whatever the pass cannot answer exactly, the file itself answers.
class ProfileFileSnapshot final {
public:
    // keepSection: as ProfileSnapshot takes it; the pass holds only the sections it keeps.
    explicit ProfileFileSnapshot(const ProfileIniFile& file,
                                 std::function<bool(std::string_view foldedName)> keepSection = nullptr);
    ~ProfileFileSnapshot();
    ProfileFileSnapshot(const ProfileFileSnapshot&) = delete;  // the snapshot refers to the file
    ProfileFileSnapshot& operator=(const ProfileFileSnapshot&) = delete;

    [[nodiscard]] const IniSource& Source() const noexcept;
    // The names of the file's sections, as the system reads them or, where the pass
    // read the whole file, those it kept, in lower case; none when the file does not exist.
    [[nodiscard]] std::vector<std::string> SectionNames() const;

private:
    const ProfileIniFile& file_;
    std::unique_ptr<ProfileSnapshot> snapshot_;  // null when the file could not be read whole
};

}  // namespace cvt
