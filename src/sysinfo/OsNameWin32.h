// The running Windows's version facts and name, asked of the system on every call.
#pragma once
#include <string>

#include "sysinfo/OsName.h"

namespace cvt {

// Reads only the facts that the name depends on (see the Reads…/Checks… predicates).
[[nodiscard]] OsFacts GatherOsFacts();

[[nodiscard]] std::string GetOSName();

}  // namespace cvt
