// Number texts of the list cells.
#include "lists/CellFormat.h"

#include <cstdio>

namespace cvt {

std::string FormatPidHex(uint32_t pid) {
    char text[16];
    (void)std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(pid));
    return text;
}

std::string FormatDecimal5(int32_t value) {
    char text[16];
    (void)std::snprintf(text, sizeof text, "%5d", static_cast<int>(value));
    return text;
}

}  // namespace cvt
