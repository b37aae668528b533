// Cell texts of the window list.
#include "windows/WindowRecord.h"

#include <cstdio>

#include "lists/CellFormat.h"

namespace cvt {

std::string WindowCellText(int kind, const AppWindowRow& row) {
    char text[16];
    switch (kind) {
        case 0: return row.title;
        case 1: return row.status;
        case 2:
            (void)std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(row.handle));
            return text;
        case 3:
            // Signed: handles at or above 0x80000000 print negative.
            (void)std::snprintf(text, sizeof text, "%10d", static_cast<int>(static_cast<int32_t>(row.handle)));
            return text;
        case 4: return FormatPidHex(row.processId);
        case 5: return FormatDecimal5(static_cast<int32_t>(row.processId));
        default: return {};
    }
}

}  // namespace cvt
