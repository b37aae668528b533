// ShellExecuteA behind a replaceable function: tests record the calls that
// would open windows of other programs instead of opening them.
#pragma once
#include <windows.h>

#include <functional>

namespace ui {

using ShellExecutor = std::function<INT_PTR(HWND owner, const char* verb, const char* file, const char* parameters,
                                            const char* directory, int showCommand)>;

[[nodiscard]] ShellExecutor SystemShellExecutor();

}  // namespace ui
