// The string-table ids of the priority class names.
#include "sysinfo/ProcessRecord.h"

namespace cvt {

unsigned PriorityTextId(uint32_t priorityClass) noexcept {
    switch (priorityClass) {
        case 0x100: return 65292;
        case 0x80: return 65293;
        case 0x8000: return 65294;
        case 0x20: return 65295;
        case 0x4000: return 65264;
        case 0x40: return 65265;
        default: return 65266;
    }
}

}  // namespace cvt
