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

WellKnownAccount AccountOfSid(std::string_view sid) noexcept {
    // Revision 1, one sub-authority, authority 5 (NT): then the RID tells the account.
    constexpr std::string_view kNtAuthorityOneRid("\x01\x01\0\0\0\0\0\x05", 8);
    if (sid.size() < 8) return WellKnownAccount::Unknown;
    if (sid.size() != 12 || sid.substr(0, 8) != kNtAuthorityOneRid || sid[9] != 0 || sid[10] != 0 || sid[11] != 0)
        return WellKnownAccount::Other;
    switch (static_cast<unsigned char>(sid[8])) {
        case 18: return WellKnownAccount::System;
        case 19: return WellKnownAccount::LocalService;
        case 20: return WellKnownAccount::NetworkService;
        default: return WellKnownAccount::Other;
    }
}

}  // namespace cvt
