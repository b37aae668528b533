// Starting a program as a child process and finding its windows from outside:
// shared by the e2e tests, the startup benchmark and the run helper.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cvt::drive {

// Windows form of a path given on the command line: CMake hands out Unix
// paths, which Wine maps under Z:.
inline std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Value of "--name=value" among the arguments, or "" when absent.
inline std::string ArgValue(int argc, char** argv, const std::string& name) {
  const std::string prefix = "--" + name + "=";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
  }
  return {};
}

inline std::string WindowText(HWND window) {
  char text[512] = {};
  DWORD_PTR length = 0;
  // A timeout, so that a hung target cannot hang the caller.
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  return std::string(text, length < sizeof text ? length : sizeof text - 1);
}

inline std::string ClassNameOf(HWND window) {
  char name[256] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

// What a top-level window must be to match; empty strings match anything.
struct WindowQuery {
  std::string className;
  std::string caption;
  bool visibleOnly = true;
  bool unownedOnly = false;
};

namespace detail {
struct WindowSearch {
  DWORD processId;
  const WindowQuery* query;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto& s = *reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s.processId) return TRUE;
  if (s.query->visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (s.query->unownedOnly && GetWindow(window, GW_OWNER) != nullptr) return TRUE;
  if (!s.query->className.empty() && ClassNameOf(window) != s.query->className) return TRUE;
  if (!s.query->caption.empty() && WindowText(window) != s.query->caption) return TRUE;
  s.found.push_back(window);
  return TRUE;
}
}  // namespace detail

// Top-level windows of one process that match the query, in Z order.
inline std::vector<HWND> TopLevelWindows(DWORD processId, const WindowQuery& query) {
  detail::WindowSearch search{processId, &query, {}};
  EnumWindows(detail::CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A program started by the caller; ended on destruction if still running,
// so that a failing test leaves nothing behind.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;  // owns the process handle
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (info_.hProcess != nullptr) {
      if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
      }
      CloseHandle(info_.hProcess);
    }
  }

  // Starts exe with the given working folder and arguments; false with GetLastError set.
  bool Start(const std::string& exe, const std::string& workingFolder, const std::string& arguments = "") {
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                        &info_)) {
      info_ = {};
      return false;
    }
    CloseHandle(info_.hThread);
    info_.hThread = nullptr;
    return true;
  }

  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }

  bool WaitForExit(DWORD timeoutMs) const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }

  bool Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
  }

  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (info_.hProcess != nullptr) GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

  // First window of this process matching the query within the timeout, or
  // nullptr (also when the process ends first).
  HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs, DWORD pollMs = 10) const {
    const DWORD start = GetTickCount();
    for (;;) {
      const auto found = TopLevelWindows(info_.dwProcessId, query);
      if (!found.empty()) return found.front();
      if (!Running() || GetTickCount() - start >= timeoutMs) return nullptr;
      Sleep(pollMs);
    }
  }

  // Captions and classes of the process's top-level windows, for failure messages.
  std::string DescribeWindows() const {
    std::string text;
    for (HWND window : TopLevelWindows(info_.dwProcessId, {"", "", false, false})) {
      text += "[" + ClassNameOf(window) + " \"" + WindowText(window) + "\"" +
              (IsWindowVisible(window) ? " visible" : " hidden") + "] ";
    }
    return text.empty() ? "(no windows)" : text;
  }

 private:
  PROCESS_INFORMATION info_{};
};

// A fresh folder under the temporary folder, removed with its files on
// destruction (it holds no subfolders).
class TempFolder {
 public:
  explicit TempFolder(const std::string& stem) {
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof base, base);
    for (unsigned attempt = 0; attempt < 1000 && path_.empty(); ++attempt) {
      const std::string candidate = std::string(base) + stem + "-" +
                                    std::to_string(GetCurrentProcessId()) + "-" +
                                    std::to_string(attempt) + "\\";
      if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
    }
  }
  TempFolder(const TempFolder&) = delete;  // owns the folder
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    if (path_.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          DeleteFileA((path_ + found.cFileName).c_str());
        }
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
  }

  // With a trailing backslash; empty when the folder could not be made.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Seconds since an arbitrary start, with the performance counter's resolution.
inline double NowSeconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace cvt::drive
