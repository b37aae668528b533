// Texts other programs hand us: very long, empty, without an extension, and cut after a lead byte.
// Each text sits in a buffer of exactly its own size, so that AddressSanitizer reports any read
// past its end (a std::string would hide one behind its terminating NUL).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/AppPath.h"
#include "base/AsciiText.h"
#include "editor/VellEditModel.h"
#include "editor/VellEditSub.h"
#include "editor/VellHighlight.h"
#include "process/ProcessCellText.h"
#include "support/EditorDriver.h"
#include "windows/WindowRecord.h"

namespace {

// The bytes in a heap block of exactly their size.
class ExactBuffer {
public:
    explicit ExactBuffer(std::string_view text) : size(text.size()), bytes(new char[std::max<std::size_t>(1, size)]) {
        if (size != 0) std::memcpy(bytes.get(), text.data(), size);
    }
    [[nodiscard]] std::string_view View() const { return {bytes.get(), size}; }

private:
    std::size_t size;
    std::unique_ptr<char[]> bytes;
};

// Every code page 932 lead byte as the last byte of a text, with no trail byte after it.
std::vector<std::string> CutAfterLeadByte(const std::string& prefix) {
    std::vector<std::string> texts;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cvt::IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
        texts.push_back(prefix + static_cast<char>(lead));
    }
    return texts;
}

TEST(LongTexts, PathsCutAfterALeadByteAreSplitWithoutReadingPastThem) {
    std::vector<std::string> paths = CutAfterLeadByte("C:\\\x95\x5c\\dir\\name");
    paths.push_back(std::string(259, 'p'));                        // MAX_PATH with its NUL
    paths.push_back("C:\\" + std::string(300, 'q') + "\\x.exe");  // longer than MAX_PATH
    paths.push_back("C:\\Windows\\system32\\noextension");
    paths.push_back("");
    paths.push_back("\\SystemRoot\\");
    paths.push_back("\\??\\");
    for (const std::string& path : paths) {
        const ExactBuffer buffer(path);
        const std::string_view folder = cvt::FolderPart(buffer.View());
        const std::string_view name = cvt::FileNamePart(buffer.View());
        EXPECT_EQ(std::string(folder) + std::string(name), path);
        const std::string normal = cvt::NormalizeImagePath(buffer.View(), "C:\\WINDOWS");
        EXPECT_LE(normal.size(), path.size() + 10);
        EXPECT_LE(cvt::TrimControls(buffer.View()).size(), path.size());
    }
    // A backslash that is the trail byte of a double-byte character separates nothing.
    EXPECT_EQ(cvt::FileNamePart("C:\\dir\\\x95\x5c"), "\x95\x5c");
}

}  // namespace
