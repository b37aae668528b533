// One process as the snapshot reads it, and the names of the priority classes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cvt {

// The token user by well-known SID: the accounts that system processes run under.
enum class WellKnownAccount : uint8_t { Unknown, System, LocalService, NetworkService, Other };

struct TProcessManager {
    uint32_t ProcessID = 0;
    std::string ImageName;
    std::string ImagePath;
    uint32_t PriorityClass = 0;  // 0 when unreadable
    std::string UserName;
    uint32_t ThreadCount = 0;
    uint64_t CreationTime = 0;  // FILETIME of its start; 0 when unreadable (and on 95/98/Me)
    uint32_t ParentProcessID = 0;  // the PID of the creator; that process may have ended and the PID been reused
    WellKnownAccount Account = WellKnownAccount::Unknown;
    std::optional<std::string> CommandLine;  // read only when asked for; absent when unreadable
};

// S-1-5-18, -19 and -20 by their bytes; any other valid SID is Other.
[[nodiscard]] WellKnownAccount AccountOfSid(std::string_view sidBytes) noexcept;

// String-table ids of the priority class names; unknown classes, 0 among them, read "不明".
[[nodiscard]] unsigned PriorityTextId(uint32_t priorityClass) noexcept;
// The six classes in the order their names are matched.
inline constexpr uint32_t kPriorityClasses[] = {0x100, 0x80, 0x8000, 0x20, 0x4000, 0x40};

}  // namespace cvt
