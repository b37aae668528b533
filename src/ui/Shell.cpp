// The real shell call.
#include "ui/Shell.h"

#include <shellapi.h>

namespace ui {

ShellExecutor SystemShellExecutor() {
    return [](HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
              int showCommand) {
        return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, verb, file, parameters, directory, showCommand));
    };
}

}  // namespace ui
