// One start and close of cvt.exe watched from outside: as its debugger, so that
// a crash is seen as the exception it is and no crash dialog holds the process;
// answering the message boxes it shows at start; sampling its memory; with time
// limits on reaching the main window and on closing. The fuzz-ini benchmark's
// runner; the end-to-end tests drive the program through tests/support/Drive.h.
#pragma once

#include <windows.h>
#include <psapi.h>  // the counters' layout; the function itself is looked up

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "../tests/support/Drive.h"

namespace cvt::drive {

inline constexpr char kNoColumnDefinitionsText[] =
    "カラム定義ファイルが存在しません。\r\nアプリケーションを起動できません。";

// GetProcessMemoryInfo from the system folder's PSAPI.dll, as the program loads it.
class MemoryProbe {
 public:
  using GetMemoryInfoFn = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);

  // The library stays loaded until the caller ends.
  bool Load() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    HMODULE psapi = LoadLibraryA((std::string(folder) + "\\PSAPI.dll").c_str());
    if (psapi == nullptr) return false;
    getMemoryInfo_ =
        reinterpret_cast<GetMemoryInfoFn>(reinterpret_cast<void*>(GetProcAddress(psapi, "GetProcessMemoryInfo")));
    return getMemoryInfo_ != nullptr;
  }

  // Peak working set and private bytes (the page-file usage) now.
  bool Sample(HANDLE process, SIZE_T* peakWorkingSet, SIZE_T* privateBytes) const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (getMemoryInfo_ == nullptr || !getMemoryInfo_(process, &counters, sizeof counters)) return false;
    *peakWorkingSet = counters.PeakWorkingSetSize;
    *privateBytes = counters.PagefileUsage;
    return true;
  }

 private:
  GetMemoryInfoFn getMemoryInfo_ = nullptr;
};

struct SeenBox {
  std::string caption;
  std::string text;
};

enum class RunEnd {
  Closed,        // reached its main window, closed through it, exit code 0
  ProgramError,  // showed the missing-column-definitions error and ended with exit code 0
  NoWindow,      // ended with exit code 0 but neither way
  Crashed,       // an unhandled exception, or a non-zero exit code
  HungAtStart,   // no main window ready for input (or no end after the error) within the limit
  HungAtClose,   // still running when the limit after WM_CLOSE ran out
  NotStarted,
};

inline const char* NameOf(RunEnd end) {
  switch (end) {
    case RunEnd::Closed: return "closed";
    case RunEnd::ProgramError: return "ended with its column definitions error";
    case RunEnd::NoWindow: return "ended without a window or an error";
    case RunEnd::Crashed: return "crashed";
    case RunEnd::HungAtStart: return "hung at start";
    case RunEnd::HungAtClose: return "hung at close";
    case RunEnd::NotStarted: return "not started";
  }
  return "";
}

struct RunLimits {
  // Neither counts the time a message box waits for its answer.
  DWORD startMs = 10000;  // start to main window ready for input
  DWORD closeMs = 10000;  // WM_CLOSE to process ended
};

struct RunResult {
  RunEnd end = RunEnd::NotStarted;
  DWORD exitCode = 0;
  DWORD exceptionCode = 0;  // of an unhandled exception
  std::vector<SeenBox> boxes;
  SIZE_T peakWorkingSet = 0;
  SIZE_T peakPrivateBytes = 0;  // highest sample
  double startSeconds = 0;      // to main window ready, boxes excluded
  double closeSeconds = 0;
  std::string detail;
};

namespace detail {

inline std::string TextOf(HWND window) {
  char text[4096] = {};
  // Another process's window: its stored text, without sending it a message.
  const int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

// Classes and captions of a process's top-level windows, for failure messages.
inline std::string WindowsText(DWORD processId) {
  std::string text;
  for (HWND window : TopLevelWindows(processId, {"", "", false, false})) {
    text += "[" + ClassNameOf(window) + " \"" + TextOf(window) + "\"" + (IsWindowVisible(window) ? " visible" : " hidden") +
            "] ";
  }
  return text.empty() ? "(no windows)" : text;
}

// Presses the button that lets the program go on: OK, or No on a question.
inline void Answer(HWND box) {
  for (const int id : {IDOK, IDNO, IDCANCEL}) {
    if (HWND button = GetDlgItem(box, id)) {
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
      return;
    }
  }
  PostMessageA(box, WM_CLOSE, 0, 0);
}

// What the debugger has seen of the child.
struct DebugState {
  bool ended = false;
  DWORD exitCode = 0;
  DWORD exception = 0;  // an unhandled one
};

// The debugger's side of the child: handles one debug event if one comes within
// waitMs, and says whether one came.
inline bool HandleDebugEvent(DWORD waitMs, DebugState* state) {
  DEBUG_EVENT event{};
  if (!WaitForDebugEvent(&event, waitMs)) return false;
  DWORD status = DBG_CONTINUE;
  switch (event.dwDebugEventCode) {
    case CREATE_PROCESS_DEBUG_EVENT:
      if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
      break;
    case LOAD_DLL_DEBUG_EVENT:
      if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
      break;
    case EXCEPTION_DEBUG_EVENT: {
      const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
      if (!event.u.Exception.dwFirstChance) {
        state->exception = record.ExceptionCode;
        status = DBG_EXCEPTION_NOT_HANDLED;
      } else if (record.ExceptionCode != EXCEPTION_BREAKPOINT) {
        // The program's own handlers come first.
        status = DBG_EXCEPTION_NOT_HANDLED;
      }
      break;
    }
    case EXIT_PROCESS_DEBUG_EVENT:
      state->exitCode = event.u.ExitProcess.dwExitCode;
      state->ended = true;
      break;
    default: break;
  }
  ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  return true;
}

}  // namespace detail

// Starts exe in its folder, waits for its main window (class "TFrmCVT") to be
// ready for input while answering every message box, closes it with WM_CLOSE
// and waits for its end. A process still running at the end is ended.
inline RunResult RunAndClose(const std::string& exe, const std::string& folder, const RunLimits& limits,
                             const MemoryProbe* memory) {
  RunResult result;
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                      folder.c_str(), &startup, &info)) {
    result.detail = "CreateProcess failed with error " + std::to_string(GetLastError());
    return result;
  }
  CloseHandle(info.hThread);

  enum class Phase { Starting, Closing, AfterError } phase = Phase::Starting;
  const double started = NowSeconds();
  double phaseStarted = started, boxSeconds = 0, last = started, closePosted = 0;
  std::map<HWND, double> answeredAt;  // each box's last answer
  bool sawColumnError = false;
  RunEnd timeout = RunEnd::Closed;
  detail::DebugState debuggee;

  for (;;) {
    // Every waiting event first: the child stands still until its event is taken.
    for (DWORD wait = 10; !debuggee.ended && detail::HandleDebugEvent(wait, &debuggee); wait = 0) {
    }
    if (debuggee.ended) break;
    if (debuggee.exception != 0) {
      TerminateProcess(info.hProcess, debuggee.exception);
      // Its exit event still has to be taken, or the process never goes.
      const double killed = NowSeconds();
      while (!debuggee.ended && NowSeconds() - killed < 10) detail::HandleDebugEvent(100, &debuggee);
      break;
    }
    const double now = NowSeconds();
    SIZE_T peak = 0, privateBytes = 0;
    if (memory != nullptr && memory->Sample(info.hProcess, &peak, &privateBytes)) {
      result.peakWorkingSet = std::max(result.peakWorkingSet, peak);
      result.peakPrivateBytes = std::max(result.peakPrivateBytes, privateBytes);
    }

    const std::vector<HWND> boxes = TopLevelWindows(info.dwProcessId, {"#32770", "", true, false});
    if (!boxes.empty()) boxSeconds += now - last;
    last = now;
    for (HWND box : boxes) {
      auto answered = answeredAt.find(box);
      if (answered == answeredAt.end()) {
        HWND textControl = GetDlgItem(box, 0xFFFF);
        SeenBox seen{detail::TextOf(box), textControl ? detail::TextOf(textControl) : ""};
        if (seen.text == kNoColumnDefinitionsText) sawColumnError = true;
        result.boxes.push_back(std::move(seen));
        answered = answeredAt.emplace(box, 0.0).first;
      }
      // A box may miss an answer posted while it was still being built.
      if (now - answered->second >= 0.25) {
        detail::Answer(box);
        answered->second = now;
      }
    }

    const double busy = now - phaseStarted - boxSeconds;
    if (phase == Phase::Starting) {
      if (sawColumnError) {
        phase = Phase::AfterError;  // the window may still flash before the end
      } else if (boxes.empty()) {
        const std::vector<HWND> mains = TopLevelWindows(info.dwProcessId, {"TFrmCVT", "", true, false});
        if (!mains.empty() && WaitForInputIdle(info.hProcess, 0) == 0) {
          result.startSeconds = busy;
          PostMessageA(mains.front(), WM_CLOSE, 0, 0);
          phase = Phase::Closing;
          phaseStarted = closePosted = now;
          boxSeconds = 0;
          continue;
        }
      }
      if (busy * 1000 > limits.startMs) timeout = RunEnd::HungAtStart;
    } else if (phase == Phase::AfterError) {
      if (busy * 1000 > limits.startMs) timeout = RunEnd::HungAtStart;
    } else if (busy * 1000 > limits.closeMs) {
      timeout = RunEnd::HungAtClose;
    }
    if (timeout != RunEnd::Closed) {
      result.detail = "windows: " + detail::WindowsText(info.dwProcessId);
      if (phase == Phase::Closing) result.closeSeconds = now - closePosted;
      TerminateProcess(info.hProcess, 1);
      const double killed = NowSeconds();
      while (!debuggee.ended && NowSeconds() - killed < 10) detail::HandleDebugEvent(100, &debuggee);
      break;
    }
  }

  result.exitCode = debuggee.exitCode;
  result.exceptionCode = debuggee.exception;
  if (phase == Phase::Closing && timeout == RunEnd::Closed) result.closeSeconds = NowSeconds() - closePosted;
  if (timeout != RunEnd::Closed) {
    result.end = timeout;
  } else if (debuggee.exception != 0 || debuggee.exitCode != 0) {
    result.end = RunEnd::Crashed;
    char text[64];
    std::snprintf(text, sizeof text, "exception 0x%08lX, exit code 0x%08lX", debuggee.exception, debuggee.exitCode);
    result.detail = text;
  } else if (phase == Phase::Closing) {
    result.end = RunEnd::Closed;
  } else if (sawColumnError) {
    result.end = RunEnd::ProgramError;
  } else {
    result.end = RunEnd::NoWindow;
  }
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hProcess);
  return result;
}

}  // namespace cvt::drive
