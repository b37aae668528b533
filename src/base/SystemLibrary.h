// System libraries loaded by full path from the system folder, so that a DLL
// of the same name in the current folder is never picked up.
#pragma once
#include "base/Handles.h"

namespace cvt {

[[nodiscard]] UniqueLibrary LoadSystemLibrary(const char* fileName);

// A function of a loaded module as the type the caller names; null when absent.
template <typename Fn>
[[nodiscard]] Fn LookUpFunction(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace cvt
