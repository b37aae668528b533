// Loading system libraries from the system folder.
#include "base/SystemLibrary.h"

#include <string>

namespace cvt {

UniqueLibrary LoadSystemLibrary(const char* fileName) {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return UniqueLibrary();
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    path += fileName;
    return UniqueLibrary(LoadLibraryA(path.c_str()));
}

}  // namespace cvt
