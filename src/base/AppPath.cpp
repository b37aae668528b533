// Path splitting.
#include "base/AppPath.h"

namespace cvt {

namespace {

size_t FileNameStart(std::string_view path, LeadBytePredicate isLeadByte) {
    size_t cut = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (isLeadByte(c)) {
            ++i;  // its trail byte may look like a backslash
            continue;
        }
        if (c == '\\' || c == ':') cut = i + 1;
    }
    return cut;
}

}  // namespace

std::string_view FolderPart(std::string_view path, LeadBytePredicate isLeadByte) {
    return path.substr(0, FileNameStart(path, isLeadByte));
}

std::string_view FileNamePart(std::string_view path, LeadBytePredicate isLeadByte) {
    return path.substr(FileNameStart(path, isLeadByte));
}

std::string AppDirFromModulePath(std::string_view modulePath, LeadBytePredicate isLeadByte) {
    std::string dir(FolderPart(modulePath, isLeadByte));
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    return dir;
}

}  // namespace cvt
