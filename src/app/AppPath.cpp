// Program folder from the module path.
#include "app/AppPath.h"

namespace cvt {

bool IsCp932LeadByte(unsigned char c) noexcept { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string AppDirFromModulePath(std::string_view modulePath, LeadBytePredicate isLeadByte) {
    size_t cut = 0;
    for (size_t i = 0; i < modulePath.size(); ++i) {
        const auto c = static_cast<unsigned char>(modulePath[i]);
        if (isLeadByte(c)) {
            ++i;  // its trail byte may look like a backslash
            continue;
        }
        if (c == '\\' || c == ':') cut = i + 1;
    }
    std::string dir(modulePath.substr(0, cut));
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    return dir;
}

}  // namespace cvt
