// String table access through LoadStringA, which gives ANSI code page bytes.
#include "base/StringTable.h"

#include <windows.h>

namespace cvt {

std::string LoadText(unsigned id) {
    char buffer[1024] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace cvt
