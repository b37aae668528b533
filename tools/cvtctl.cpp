// Helper that the shell scripts run under Wine: starts Wine's desktop before a
// test run, and runs cvt.exe for a screenshot, closing it through its window.
//
//   cvtctl warmup
//   cvtctl show --exe=PATH --ready=FILE --close=FILE [--timeout=SECONDS]
//
// "show" starts the program, waits for its main window, writes the window's
// "left top width height" to the ready file, waits until the close file
// exists, then sends WM_CLOSE so the normal close path runs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../tests/support/Drive.h"

namespace {

using cvt::drive::ArgValue;
using cvt::drive::WindowsPath;

// The first process that creates a window in a session starts Wine's desktop
// and services; doing it here keeps them off the test runner's output pipes.
int Warmup() {
  HWND window = CreateWindowExA(0, "STATIC", "warmup", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "cvtctl: no window (error %lu)\n", GetLastError());
    return 1;
  }
  ShowWindow(window, SW_SHOWNOACTIVATE);
  DestroyWindow(window);
  return 0;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int Show(int argc, char** argv) {
  const std::string exe = WindowsPath(ArgValue(argc, argv, "exe"));
  const std::string ready = WindowsPath(ArgValue(argc, argv, "ready"));
  const std::string close = WindowsPath(ArgValue(argc, argv, "close"));
  const std::string timeoutText = ArgValue(argc, argv, "timeout");
  const DWORD timeoutMs = (timeoutText.empty() ? 120 : std::atoi(timeoutText.c_str())) * 1000;
  if (exe.empty() || ready.empty() || close.empty()) {
    std::fprintf(stderr, "cvtctl show: --exe, --ready and --close are required\n");
    return 2;
  }

  cvt::drive::ChildProcess child;
  const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
  if (!child.Start(exe, folder)) {
    std::fprintf(stderr, "cvtctl: cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    return 1;
  }
  const HWND main = child.WaitForWindow({"", "", true, true}, 60000);
  if (main == nullptr) {
    std::fprintf(stderr, "cvtctl: no main window; %s\n", child.DescribeWindows().c_str());
    return 1;
  }
  // Let it fill its lists and paint before the picture is taken.
  WaitForInputIdle(child.Handle(), 10000);
  Sleep(1000);

  RECT r{};
  GetWindowRect(main, &r);
  if (FILE* f = std::fopen((ready + ".tmp").c_str(), "w")) {
    std::fprintf(f, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fclose(f);
    MoveFileA((ready + ".tmp").c_str(), ready.c_str());  // appears complete or not at all
  }

  for (DWORD waited = 0; !FileExists(close) && waited < timeoutMs; waited += 50) Sleep(50);
  PostMessageA(main, WM_CLOSE, 0, 0);
  if (!child.WaitForExit(30000)) {
    std::fprintf(stderr, "cvtctl: still running after WM_CLOSE; %s\n", child.DescribeWindows().c_str());
    return 1;
  }
  std::printf("cvtctl: closed through WM_CLOSE, exit code %lu\n", child.ExitCode());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "warmup") return Warmup();
  if (command == "show") return Show(argc, argv);
  std::fprintf(stderr, "usage: cvtctl warmup | show --exe=PATH --ready=FILE --close=FILE\n");
  return 2;
}
