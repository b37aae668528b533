// Process and window churn under the real main window, refreshing every 3 s,
// with commands issued on rows that are about to go.
//
//   churn --sleeper=PATH --column=PATH [--seconds=N (default 60)]
//         [--processes-per-second=N (default 20)] [--windows-per-second=N (default 50)]
//         [--window-threads=N (default 5)] [--commands-per-second=N (default 10; 0: none)]
//
// One thread starts sleeper children and ends each 2.5-4.5 s later; five more
// open windows of this process (under Wine only this process's windows can be
// listed: another process's icon reads as none) and close each 1-3 s later.
// The main thread hosts the main window and, up to ten times a second, selects
// the row of a child or window whose end is nearest (or, every other time, past)
// and issues one command on it: copy, detail, priority change, end process;
// switch to, detail, end task.
// Every message box is answered the way a person would, after the message loop
// has run for a while (one question in three stays open until a refresh has run
// inside it); an end task is answered No, since the row's process is this one.
//
// Checked afterwards:
// - every child that a command ended (exit code 0; the churn ends its own with
//   another) or whose priority changed was named by a row that a command of that
//   kind was issued on, at the time of the refresh that built the row;
// - bystanders (children started before and during the churn, under the churn's
//   image name and under another, never chosen), the other processes of the Wine
//   prefix and this one keep running at their priority;
// - only windows named by a switch-to saw its frame refresh; none was closed or
//   destroyed by anyone but the churn; bystander windows saw nothing;
// - handle and GDI object counts of this process (which hosts the main window,
//   and holds nothing of the churn once it has stopped but its window threads,
//   bystanders and their handles, left out) against those before the churn,
//   after a warm-up: every command once, then 6 s of churn.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <numeric>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../tests/support/Drive.h"
#include "BenchSupport.h"
#include "app/MainForm.h"
#include "details/Detail.h"
#include "lists/CommandIds.h"
#include "ui/ListView.h"
#include "ui/MessageDialog.h"

namespace {

using cvt::drive::ArgValue;
using cvt::drive::NowSeconds;
namespace cmd = cvt::cmd;

// The churn ends its children with this code; the program ends processes with 0.
constexpr UINT kChurnExitCode = 0xC4;
constexpr double kNever = 1e300;
// A going row is chosen with at least this much life left, or already gone.
constexpr double kTimeToAct = 0.5;

std::string PriorityText(DWORD priorityClass) {
    switch (priorityClass) {
        case IDLE_PRIORITY_CLASS: return "idle";
        case BELOW_NORMAL_PRIORITY_CLASS: return "below normal";
        case NORMAL_PRIORITY_CLASS: return "normal";
        case ABOVE_NORMAL_PRIORITY_CLASS: return "above normal";
        case HIGH_PRIORITY_CLASS: return "high";
        case REALTIME_PRIORITY_CLASS: return "realtime";
        default: return "class " + std::to_string(priorityClass);
    }
}

// One child process of this run, from its start to the end of its handle.
struct Child {
    DWORD pid = 0;
    HANDLE handle = nullptr;  // closed once it has ended
    std::string image;
    bool bystander = false;
    double started = 0;          // before CreateProcess
    double deadline = kNever;    // when the churn ends it
    double ended = kNever;       // when the churn saw it signalled
    DWORD priorityBeforeEnd = 0; // read just before the churn ended it; 0 if it had already gone
    DWORD exitCode = STILL_ACTIVE;
};

// The children and the thread that starts and ends them.
class ProcessChurn {
public:
    ProcessChurn(std::string churnImage, std::string otherImage, double perSecond)
        : churnImage_(std::move(churnImage)), otherImage_(std::move(otherImage)), perSecond_(perSecond),
          job_(CreateJobObjectA(nullptr, nullptr)) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (job_ != nullptr) SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    ProcessChurn(const ProcessChurn&) = delete;  // owns a thread and handles
    ProcessChurn& operator=(const ProcessChurn&) = delete;
    ~ProcessChurn() {
        Stop();
        EndAll();
        if (job_ != nullptr) CloseHandle(job_);
    }

    // A child that lives until EndAll; sameImage: under the churn's own image name.
    bool StartBystander(bool sameImage) { return Start(sameImage ? churnImage_ : otherImage_, true, kNever); }
    // A churn child with a chosen life, for the warm-up.
    bool StartOne(double life) { return Start(churnImage_, false, NowSeconds() + life); }

    void Run(double seconds) {
        stop_ = false;
        thread_ = std::thread([this, seconds] { Loop(seconds); });
    }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    // Ends every child still running and closes its handle; bystanders too unless told otherwise.
    void EndAll(bool bystanders = true) {
        std::lock_guard lock(mutex_);
        for (Child& child : children_)
            if (child.handle != nullptr && (bystanders || !child.bystander)) EndLocked(child);
        for (Child& child : children_)
            if (child.handle != nullptr && (bystanders || !child.bystander)) {
                WaitForSingleObject(child.handle, 5000);
                SettleLocked(child);
            }
        ending_.clear();
    }
    // Handles of children that this object holds: the benchmark's, not the program's.
    [[nodiscard]] long OpenHandles() {
        std::lock_guard lock(mutex_);
        return static_cast<long>(std::count_if(children_.begin(), children_.end(),
                                               [](const Child& child) { return child.handle != nullptr; }));
    }

    // The bystanders' state now: running and at normal priority is what they must be.
    struct BystanderState {
        DWORD pid;
        std::string image;
        bool running;
        DWORD priority;
    };
    std::vector<BystanderState> Bystanders() {
        std::lock_guard lock(mutex_);
        std::vector<BystanderState> states;
        for (const Child& child : children_) {
            if (!child.bystander) continue;
            const bool running = child.handle != nullptr && WaitForSingleObject(child.handle, 0) == WAIT_TIMEOUT;
            states.push_back({child.pid, child.image, running, running ? GetPriorityClass(child.handle) : 0});
        }
        return states;
    }

    // Per PID, the latest child that had it: seconds until the churn ends it
    // (negative once it has; kNever for a bystander).
    [[nodiscard]] std::map<DWORD, double> TimeLeftByPid() {
        std::lock_guard lock(mutex_);
        std::map<DWORD, double> left;
        const double now = NowSeconds();
        for (const Child& child : children_) left[child.pid] = child.bystander ? kNever : child.deadline - now;
        return left;
    }
    [[nodiscard]] std::vector<Child> Snapshot() {
        std::lock_guard lock(mutex_);
        return children_;
    }

    [[nodiscard]] int Started() const noexcept { return started_; }
    [[nodiscard]] int Ended() const noexcept { return ended_; }
    [[nodiscard]] int StartFailures() const noexcept { return startFailures_; }
    [[nodiscard]] double Span() const noexcept { return span_; }

private:
    // Starts outside the lock: a start takes tens of milliseconds under Wine, and
    // the driver reads the children meanwhile.
    bool Start(const std::string& image, bool bystander, double deadline) {
        Child child;
        child.image = image.substr(image.find_last_of('\\') + 1);
        child.bystander = bystander;
        child.started = NowSeconds();
        child.deadline = deadline;
        std::string commandLine = "\"" + image + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        // Detached: under Wine a console child would bring a conhost.exe of its own.
        if (!CreateProcessA(image.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                            nullptr, &startup, &info)) {
            ++startFailures_;
            return false;
        }
        CloseHandle(info.hThread);
        if (job_ != nullptr) AssignProcessToJobObject(job_, info.hProcess);
        child.pid = info.dwProcessId;
        child.handle = info.hProcess;
        std::lock_guard lock(mutex_);
        children_.push_back(std::move(child));
        ++started_;
        return true;
    }

    void EndLocked(Child& child) {
        DWORD code = 0;
        if (GetExitCodeProcess(child.handle, &code) && code == STILL_ACTIVE) {
            child.priorityBeforeEnd = GetPriorityClass(child.handle);
            TerminateProcess(child.handle, kChurnExitCode);
        }
        child.deadline = std::min(child.deadline, NowSeconds());
        ending_.push_back(&child - children_.data());
    }

    void SettleLocked(Child& child) {
        GetExitCodeProcess(child.handle, &child.exitCode);
        child.ended = NowSeconds();
        CloseHandle(child.handle);
        child.handle = nullptr;
        ++ended_;
    }

    void Loop(double seconds) {
        std::mt19937 random(12345);
        std::uniform_real_distribution<double> life(2.5, 4.5);
        const double start = NowSeconds();
        double nextStart = start;
        while (!stop_) {
            if (NowSeconds() - start >= seconds) break;
            if (NowSeconds() >= nextStart) {
                Start(churnImage_, false, NowSeconds() + life(random));
                nextStart += 1.0 / perSecond_;
                // Falling behind shows as the rate reached, not made up in a burst.
                if (NowSeconds() - nextStart > 1.0) nextStart = NowSeconds();
            }
            {
                std::lock_guard lock(mutex_);
                const double now = NowSeconds();
                for (Child& child : children_)
                    if (!child.bystander && child.handle != nullptr && child.deadline <= now &&
                        std::find(ending_.begin(), ending_.end(), &child - children_.data()) == ending_.end())
                        EndLocked(child);
                for (size_t i = 0; i < ending_.size();) {
                    Child& child = children_[static_cast<size_t>(ending_[i])];
                    if (WaitForSingleObject(child.handle, 0) == WAIT_OBJECT_0) {
                        SettleLocked(child);
                        ending_.erase(ending_.begin() + static_cast<std::ptrdiff_t>(i));
                    } else {
                        ++i;
                    }
                }
            }
            Sleep(static_cast<DWORD>(std::clamp(nextStart - NowSeconds(), 0.0, 0.005) * 1000));
        }
        span_ = NowSeconds() - start;
    }

    std::string churnImage_, otherImage_;
    double perSecond_;
    HANDLE job_;
    std::mutex mutex_;
    std::vector<Child> children_;
    std::vector<std::ptrdiff_t> ending_;  // indexes of children ended but not yet seen signalled
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> started_{0}, ended_{0}, startFailures_{0};
    double span_ = 0;
};

// One window of the window churn; reached through GWLP_USERDATA on the churn's thread.
struct ChurnWindow {
    HWND hwnd = nullptr;
    HICON ownIcon = nullptr;  // set by WM_SETICON; destroyed with the window
    bool bystander = false;
    bool shown = false;       // from here on, a frame refresh comes from someone else
    bool closing = false;     // the churn is destroying it
    double deadline = kNever;
    int frameRefreshes = 0;
    int closeRequests = 0;
    bool destroyedByOther = false;
};

constexpr char kWindowClass[] = "CvtChurnWindow";

LRESULT CALLBACK ChurnWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<ChurnWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window != nullptr) {
        switch (message) {
            case WM_WINDOWPOSCHANGING:
                if (window->shown && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_FRAMECHANGED) != 0)
                    ++window->frameRefreshes;
                break;
            case WM_CLOSE:
                ++window->closeRequests;
                return 0;  // only the churn closes its windows
            case WM_DESTROY:
                if (!window->closing) window->destroyedByOther = true;
                break;
            default:
                break;
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The windows and the thread that opens and closes them; the thread owns them all.
class WindowChurn {
public:
    // seed: of this thread's lives; number: told apart in the titles.
    WindowChurn(double perSecond, unsigned seed) : perSecond_(perSecond), seed_(seed) {}
    WindowChurn(const WindowChurn&) = delete;  // owns a thread and its windows
    WindowChurn& operator=(const WindowChurn&) = delete;
    ~WindowChurn() { Stop(); }

    // Starts the thread with bystanders windows open; churn begins at Churn().
    bool Start(int bystanders) {
        ready_ = false;
        thread_ = std::thread([this, bystanders] { Loop(bystanders); });
        while (!ready_) Sleep(5);
        return ok_;
    }
    void Churn(double seconds) { churnUntil_ = NowSeconds() + seconds; }
    // Opens one window with the given life (the warm-up's target).
    void OpenOne(double life) { pendingSingle_ = life; }
    // Closes every window and ends the thread.
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

    // Seconds until the churn closes each window, negative once it has; bystanders left out.
    void AddTimeLeft(std::map<HWND, double>& left) {
        std::lock_guard lock(mutex_);
        const double now = NowSeconds();
        for (const auto& [hwnd, window] : byHandle_)
            if (!window->bystander) left[hwnd] = window->deadline - now;
    }
    // After Stop.
    [[nodiscard]] const std::deque<ChurnWindow>& Windows() const noexcept { return windows_; }
    [[nodiscard]] int Opened() const noexcept { return opened_; }
    [[nodiscard]] int Closed() const noexcept { return closed_; }
    [[nodiscard]] double Span() const noexcept { return span_; }
    [[nodiscard]] double OpenSeconds() const noexcept { return openSeconds_; }

private:
    ChurnWindow* Open(bool bystander, double deadline) {
        const double started = NowSeconds();
        struct Timer {
            double started;
            double& total;
            ~Timer() { total += NowSeconds() - started; }
        } timer{started, openSeconds_};
        // Only this thread adds to windows_; the lock is held only where the
        // driver reads, never while a window is made (tens of ms under Wine).
        windows_.push_back({});
        ChurnWindow& window = windows_.back();
        window.bystander = bystander;
        window.deadline = deadline;
        char title[64];
        wsprintfA(title, bystander ? "cvt 傍観窓 %u-%u" : "cvt 生滅窓 %u-%u", seed_, static_cast<unsigned>(windows_.size()));
        const int n = static_cast<int>(windows_.size());
        window.hwnd = CreateWindowExA(WS_EX_NOACTIVATE, kWindowClass, title, WS_OVERLAPPEDWINDOW, 300 + n % 23 * 13,
                                      200 + n % 17 * 11, 160, 90, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (window.hwnd == nullptr) {
            windows_.pop_back();
            return nullptr;
        }
        SetWindowLongPtrA(window.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&window));
        // Half answer WM_GETICON with an icon of their own, half have only the class icon.
        if (n % 2 == 0) {
            window.ownIcon = CopyIcon(LoadIconA(nullptr, IDI_APPLICATION));
            SendMessageA(window.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(window.ownIcon));
        }
        ShowWindow(window.hwnd, SW_SHOWNOACTIVATE);
        window.shown = true;
        std::lock_guard lock(mutex_);
        byHandle_[window.hwnd] = &window;
        ++opened_;
        return &window;
    }

    void Close(ChurnWindow& window) {
        window.closing = true;
        if (!window.destroyedByOther) DestroyWindow(window.hwnd);
        if (window.ownIcon != nullptr) DestroyIcon(window.ownIcon);
        window.ownIcon = nullptr;
        std::lock_guard lock(mutex_);
        // Kept in byHandle_: a row may still show it, and its handle is not reused within a run.
        window.deadline = std::min(window.deadline, NowSeconds());
        ++closed_;
    }

    void Loop(int bystanders) {
        ok_ = true;
        for (int i = 0; ok_ && i < bystanders; ++i) ok_ = Open(true, kNever) != nullptr;
        ready_ = true;
        std::mt19937 random(seed_);
        std::uniform_real_distribution<double> life(1.0, 3.0);
        double nextOpen = 0, churnStart = 0;
        bool churning = false;
        while (!stop_) {
            const double now = NowSeconds();
            if (pendingSingle_ > 0) {
                Open(false, now + pendingSingle_);
                pendingSingle_ = 0;
            }
            if (now < churnUntil_) {
                if (!churning) churning = true, churnStart = nextOpen = now;
                if (now >= nextOpen) {
                    Open(false, now + life(random));
                    nextOpen += 1.0 / perSecond_;
                    if (NowSeconds() - nextOpen > 1.0) nextOpen = NowSeconds();
                }
            } else if (churning) {
                churning = false;
                span_ = now - churnStart;
            }
            for (ChurnWindow& window : windows_)
                if (!window.bystander && !window.closing && window.deadline <= now) Close(window);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
        }
        if (churning) span_ = NowSeconds() - churnStart;
        for (ChurnWindow& window : windows_)
            if (!window.closing) Close(window);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    double perSecond_;
    unsigned seed_;
    double openSeconds_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false}, ready_{false}, ok_{false};
    std::atomic<double> churnUntil_{0}, pendingSingle_{0};
    std::mutex mutex_;  // byHandle_ and the deadlines, read by the main thread
    std::deque<ChurnWindow> windows_;  // stable addresses
    std::map<HWND, ChurnWindow*> byHandle_;  // open and closed
    std::atomic<int> opened_{0}, closed_{0};
    double span_ = 0;
};

// Window churn spread over threads: a thread busy opening windows answers the
// list's icon queries late, and one thread cannot open 50 a second under Wine.
class WindowChurns {
public:
    WindowChurns(double perSecond, int threads) {
        for (int i = 0; i < threads; ++i)
            churns_.push_back(std::make_unique<WindowChurn>(perSecond / threads, static_cast<unsigned>(i + 1)));
    }
    bool Start(int bystanders) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ChurnWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kWindowClass;
        if (RegisterClassA(&wc) == 0) return false;
        bool ok = true;
        for (size_t i = 0; i < churns_.size(); ++i) ok = churns_[i]->Start(i == 0 ? bystanders : 0) && ok;
        return ok;
    }
    void Churn(double seconds) {
        for (auto& churn : churns_) churn->Churn(seconds);
    }
    void OpenOne(double life) { churns_.front()->OpenOne(life); }
    void Stop() {
        for (auto& churn : churns_) churn->Stop();
        UnregisterClassA(kWindowClass, GetModuleHandleA(nullptr));
    }
    [[nodiscard]] std::map<HWND, double> TimeLeft() {
        std::map<HWND, double> left;
        for (auto& churn : churns_) churn->AddTimeLeft(left);
        return left;
    }
    [[nodiscard]] std::vector<const ChurnWindow*> Windows() const {
        std::vector<const ChurnWindow*> all;
        for (const auto& churn : churns_)
            for (const ChurnWindow& window : churn->Windows()) all.push_back(&window);
        return all;
    }
    template <typename Figure>
    [[nodiscard]] double Sum(Figure figure) const {
        double total = 0;
        for (const auto& churn : churns_) total += figure(*churn);
        return total;
    }
    [[nodiscard]] double Span() const {
        double span = 0;
        for (const auto& churn : churns_) span = std::max(span, churn->Span());
        return span;
    }

private:
    std::vector<std::unique_ptr<WindowChurn>> churns_;
};

// What the main thread did, and when the lists were last rebuilt.
enum class Kind { SelectProcess, CopyAll, CopyName, CopyPath, Detail, Priority, EndProcess, SelectWindow, SwitchTo,
                  WindowDetail, EndTask };
constexpr const char* kKindNames[] = {"select process", "copy all",       "copy name", "copy path",
                                      "process detail", "priority",       "end process", "select window",
                                      "switch to",      "window detail",  "end task"};
constexpr int kKindCount = 11;

struct Command {
    Kind kind;
    DWORD pid = 0;               // process commands: the row's PID
    HWND window = nullptr;       // window commands: the row's handle
    DWORD priorityClass = 0;     // priority: the class asked for
    std::vector<int> named;      // children that held the row's PID when its list was built
    double issued = 0;
};

struct Driver {
    cvt::TFrmCVT* form = nullptr;
    ProcessChurn* processes = nullptr;
    WindowChurns* windows = nullptr;
    std::vector<Command> commands;
    double buildStart = 0, buildEnd = 0;  // the last refresh tick that may have rebuilt the process list
    std::vector<double> ticks;
    double tickSeconds = 0, issueSeconds = 0;
    Kind current = Kind::SelectProcess;
    std::map<std::string, int> messages;  // text → count
    int questions = 0, questionsThroughRefresh = 0;
    std::mt19937 random{777};

    // Dispatches what is queued, noting the refresh ticks; WM_QUIT is dropped.
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            const bool tick = msg.message == WM_TIMER && msg.hwnd == form->Hwnd();
            const double before = NowSeconds();
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (tick) {
                buildStart = before;
                buildEnd = NowSeconds();
                ticks.push_back(before);
                tickSeconds += buildEnd - before;
            }
        }
    }

    // The message loop runs on for a while, as under a modal box that a person answers.
    void RunLoopFor(double seconds, bool untilRefresh) {
        const double start = NowSeconds();
        const size_t ticksBefore = ticks.size();
        while (NowSeconds() - start < seconds) {
            Pump();
            if (untilRefresh && ticks.size() > ticksBefore) break;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }

    int Answer(const ui::MessageRecord& record) {
        ++messages[record.text.substr(0, record.text.find('\r'))];
        if (!record.yesNo) {
            RunLoopFor(std::uniform_real_distribution<double>(0, 0.05)(random), false);
            return IDOK;
        }
        ++questions;
        if (questions % 3 == 0) {
            const size_t before = ticks.size();
            RunLoopFor(3.5, true);
            if (ticks.size() > before) ++questionsThroughRefresh;
        } else {
            RunLoopFor(std::uniform_real_distribution<double>(0, 0.3)(random), false);
        }
        // The row of an end task is a window of this process: ending it would end the benchmark.
        return current == Kind::EndTask ? IDNO : IDYES;
    }

    // Children whose life overlapped the last rebuild of the process list and had this PID.
    std::vector<int> NamedChildren(DWORD pid) {
        std::vector<int> named;
        const std::vector<Child> children = processes->Snapshot();
        for (size_t i = 0; i < children.size(); ++i)
            if (children[i].pid == pid && children[i].started <= buildEnd && children[i].ended >= buildStart)
                named.push_back(static_cast<int>(i));
        return named;
    }

    // The row of a churn child whose end is nearest: one with kTimeToAct left
    // (time for the command to reach it), or with gone, one that has gone (its
    // row not yet refreshed away) if any; -1 when none is listed.
    int ProcessRowAboutToGo(bool gone) {
        HWND list = form->ListView(0);
        const std::map<DWORD, double> timeLeft = processes->TimeLeftByPid();
        int best = -1;
        double bestLeft = kNever;
        for (int row = 0; row < ui::ListRowCount(list); ++row) {
            const auto pid = form->Processes().ProcessIdOfRow(row);
            if (!pid) continue;
            const auto found = timeLeft.find(*pid);
            if (found == timeLeft.end() || found->second == kNever) continue;  // not a churn child
            const double left = found->second;
            const double key = left < 0 ? (gone ? -1 : kNever) : left < kTimeToAct ? kNever / 2 : left;
            if (best < 0 || key < bestLeft) best = row, bestLeft = key;
        }
        return best;
    }

    // The same for the window list.
    int WindowRowAboutToGo(bool gone) {
        HWND list = form->ListView(1);
        const std::map<HWND, double> timeLeft = windows->TimeLeft();
        int best = -1;
        double bestLeft = kNever;
        for (int row = 0; row < ui::ListRowCount(list); ++row) {
            const auto handle = form->Applications().WindowHandleOfRow(row);
            if (!handle) continue;
            HWND hwnd = reinterpret_cast<HWND>(static_cast<intptr_t>(*handle));
            const auto found = timeLeft.find(hwnd);
            if (found == timeLeft.end()) continue;  // a bystander, the main window, or none of ours
            const double left = found->second;
            const double key = left < 0 ? (gone ? -1 : kNever) : left < kTimeToAct ? kNever / 2 : left;
            if (best < 0 || key < bestLeft) best = row, bestLeft = key;
        }
        return best;
    }

    void Send(int id, HWND control = nullptr) {
        SendMessageA(form->Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    }

    // One command of this kind on a row about to go; false when no such row is listed.
    bool Issue(Kind kind, int round) {
        current = kind;
        Command command{kind};
        const bool onProcess = kind <= Kind::EndProcess;
        if (onProcess) {
            const int row = ProcessRowAboutToGo(round % 2 == 1);
            if (row < 0) return false;
            command.pid = *form->Processes().ProcessIdOfRow(row);
            command.named = NamedChildren(command.pid);
            ui::SelectListRow(form->ListView(0), row);
        } else {
            const int row = WindowRowAboutToGo(round % 2 == 1);
            if (row < 0) return false;
            const auto handle = form->Applications().WindowHandleOfRow(row);
            command.window = reinterpret_cast<HWND>(static_cast<intptr_t>(*handle));
            ui::SelectListRow(form->ListView(1), row);
        }
        command.issued = NowSeconds();
        static constexpr DWORD kClasses[] = {IDLE_PRIORITY_CLASS, BELOW_NORMAL_PRIORITY_CLASS,
                                             ABOVE_NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS};
        static constexpr int kClassIds[] = {cmd::MiProcessPrioIdle, cmd::MiProcessPrioBelow, cmd::MiProcessPrioAbove,
                                            cmd::MiProcessPrioHigh};
        switch (kind) {
            case Kind::SelectProcess:
            case Kind::SelectWindow:
                break;
            case Kind::CopyAll:
            case Kind::CopyName:
            case Kind::CopyPath:
            case Kind::Detail:
            case Kind::Priority: {
                // As the popup menu would: its states are set when it opens.
                if (!form->Processes().Lsv0ContextPopup()) break;
                const int id = kind == Kind::CopyAll    ? cmd::MiProcessCopyAll
                               : kind == Kind::CopyName ? cmd::MiProcessCopyFileName
                               : kind == Kind::CopyPath ? cmd::MiProcessCopyFilePath
                               : kind == Kind::Detail   ? cmd::MiProcessDetail
                                                        : kClassIds[round % 4];
                if (kind == Kind::Priority) command.priorityClass = kClasses[round % 4];
                commands.push_back(command);
                Send(id);
                return true;
            }
            case Kind::EndProcess:
                commands.push_back(command);
                Send(cmd::MiProcessExit);
                return true;
            case Kind::SwitchTo:
                commands.push_back(command);
                Send(cmd::BtnAppShowForeground, form->Control(cmd::BtnAppShowForeground));
                return true;
            case Kind::WindowDetail:
            case Kind::EndTask:
                if (!form->Applications().Lsv1ContextPopup()) break;
                commands.push_back(command);
                Send(kind == Kind::WindowDetail ? cmd::MiAppShowDetail : cmd::MiAppTerminate);
                return true;
        }
        commands.push_back(command);
        return true;
    }
};

Driver* g_driver = nullptr;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::printf("churn: CRASH, exception %08lx at %p\n", info->ExceptionRecord->ExceptionCode,
                info->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Every other process of the prefix and this one, with its priority, to be found unchanged at the end.
struct Outsider {
    DWORD pid;
    std::string image;
    HANDLE handle;
    DWORD priority;
};

std::vector<Outsider> TakeOutsiders() {
    std::vector<Outsider> outsiders;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return outsiders;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (process != nullptr)
            outsiders.push_back({entry.th32ProcessID, entry.szExeFile, process, GetPriorityClass(process)});
        entry.dwSize = sizeof entry;
    }
    CloseHandle(snapshot);
    return outsiders;
}

// The figures are read on the build machine: the program's texts in UTF-8.
std::string Utf8(const std::string& ansi) {
    std::wstring wide(ansi.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(std::max(
        0, MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), static_cast<int>(wide.size())))));
    std::string utf8(wide.size() * 3 + 1, '\0');
    utf8.resize(static_cast<size_t>(std::max(0, WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                                      utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr))));
    return utf8;
}

double Percent(long after, long before) { return before > 0 ? 100.0 * (after - before) / before : 0; }

}  // namespace

int main(int argc, char** argv) {
    const std::string sleeper = cvt::drive::WindowsPath(ArgValue(argc, argv, "sleeper"));
    const std::string column = cvt::drive::WindowsPath(ArgValue(argc, argv, "column"));
    auto number = [&](const char* name, double fallback) {
        const std::string text = ArgValue(argc, argv, name);
        return text.empty() ? fallback : std::max(1.0, std::atof(text.c_str()));
    };
    const double seconds = number("seconds", 60);
    const double processRate = number("processes-per-second", 20);
    const double windowRate = number("windows-per-second", 50);
    const int windowThreads = static_cast<int>(number("window-threads", 5));
    const std::string commandRateText = ArgValue(argc, argv, "commands-per-second");
    const double commandRate = commandRateText.empty() ? 10 : std::max(0.0, std::atof(commandRateText.c_str()));
    if (sleeper.empty() || column.empty()) {
        std::fprintf(stderr, "usage: churn --sleeper=PATH --column=PATH [--seconds=N] [--processes-per-second=N] "
                             "[--windows-per-second=N] [--window-threads=N] [--commands-per-second=N]\n");
        return 2;
    }
    SetUnhandledExceptionFilter(ReportCrash);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    cvt::drive::TempFolder folder("cvt-churn");
    const std::string churnImage = folder.Path() + "cvt-churn-sleeper.exe";
    const std::string otherImage = folder.Path() + "cvt-churn-bystander.exe";
    if (!cvt::bench::PrepareProgramFolder(folder, {{column, "column.ini"},
                                                   {sleeper, "cvt-churn-sleeper.exe"},
                                                   {sleeper, "cvt-churn-bystander.exe"}}))
        return 1;

    const std::vector<Outsider> outsiders = TakeOutsiders();
    ProcessChurn processes(churnImage, otherImage, processRate);
    WindowChurns windows(windowRate, windowThreads);
    if (!windows.Start(3)) {
        std::fprintf(stderr, "cannot open the bystander windows\n");
        return 1;
    }
    for (int i = 0; i < 3; ++i)
        if (!processes.StartBystander(true)) {
            std::fprintf(stderr, "cannot start a bystander (error %lu)\n", GetLastError());
            return 1;
        }

    Driver driver;
    driver.processes = &processes;
    driver.windows = &windows;
    g_driver = &driver;
    ui::SetMessageResponder([](const ui::MessageRecord& record) { return g_driver->Answer(record); });

    auto form = std::make_unique<cvt::TFrmCVT>(folder.Path());
    if (!form->Create()) {
        std::fprintf(stderr, "cannot create the main window\n");
        return 1;
    }
    driver.form = form.get();
    // No Explorer window may open from here.
    auto noShell = [](HWND, const char*, const char*, const char*, const char*, int) -> INT_PTR { return 33; };
    form->SetShellExecutor(noShell);
    form->Detail().SetShellExecutor(noShell);
    SendMessageA(form->Control(cmd::TrbRefreshRate), TBM_SETPOS, TRUE, 3);
    form->Settings().TrbRefreshRateChange();
    if (form->RefreshInterval() != 3000) {
        std::fprintf(stderr, "the refresh rate did not take 3 s\n");
        return 1;
    }
    form->SelectPage(cvt::kPageProcesses);
    driver.RunLoopFor(7, false);  // two refreshes of the still lists
    const long handlesCreated = cvt::bench::HandleCount(GetCurrentProcessId()) - processes.OpenHandles();
    const long gdiCreated = cvt::bench::GdiObjectCount();

    // Warm-up: every command once on a child and a window of the churn's kind, so
    // that what the program makes once (the detail window's contents) is not counted.
    processes.StartOne(8);
    windows.OpenOne(8);
    driver.RunLoopFor(3.5, true);
    driver.RunLoopFor(0.5, false);
    for (int kind = 0; kind < kKindCount; ++kind) {
        driver.Issue(static_cast<Kind>(kind), kind);
        driver.Pump();
    }
    driver.RunLoopFor(8.5, false);  // the warm-up child and window are gone, and two refreshes more
    const size_t warmUpCommands = driver.commands.size();

    // One spell of churn with the driver on the main thread, then the settling:
    // every churn child left ends, the windows close within 3 s, two refreshes.
    // The window threads and the bystanders stay.
    long handlesPeak = 0, gdiPeak = 0;
    std::array<int, kKindCount> issued{}, skipped{};
    std::array<double, kKindCount> spent{};  // seconds in issued commands, their boxes included
    int round = 0, bystanders = 0;
    auto churnFor = [&](double length) {
        const double start = NowSeconds();
        processes.Run(length);
        windows.Churn(length);
        double nextCommand = start + 1, nextBystander = start + 5, nextSample = start + 1;
        while (NowSeconds() - start < length) {
            driver.Pump();
            const double now = NowSeconds();
            if (commandRate > 0 && now >= nextCommand) {
                // Process and window commands take turns; each list's own kinds in rotation.
                static constexpr Kind kProcessKinds[] = {Kind::SelectProcess, Kind::CopyAll, Kind::Priority,
                                                         Kind::CopyName,      Kind::Detail,  Kind::EndProcess,
                                                         Kind::CopyPath};
                static constexpr Kind kWindowKinds[] = {Kind::SelectWindow, Kind::SwitchTo, Kind::WindowDetail,
                                                        Kind::EndTask};
                const Kind kind = round % 2 == 0 ? kProcessKinds[(round / 2) % 7] : kWindowKinds[(round / 2) % 4];
                const double before = NowSeconds();
                const bool done = driver.Issue(kind, round / 14);
                (done ? issued : skipped)[static_cast<size_t>(kind)]++;
                if (done) spent[static_cast<size_t>(kind)] += NowSeconds() - before;
                driver.issueSeconds += NowSeconds() - before;
                ++round;
                nextCommand = std::max(nextCommand + 1 / commandRate, NowSeconds());
            }
            if (now >= nextBystander && now - start < length - 5) {
                // Late bystanders may take over the PID of a child whose row still shows.
                processes.StartBystander(bystanders++ % 2 == 0);
                nextBystander += 5;
            }
            if (now >= nextSample) {
                handlesPeak =
                    std::max(handlesPeak, cvt::bench::HandleCount(GetCurrentProcessId()) - processes.OpenHandles());
                gdiPeak = std::max(gdiPeak, cvt::bench::GdiObjectCount());
                nextSample += 1;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        processes.Stop();
    };
    auto settle = [&] {
        processes.EndAll(false);
        driver.current = Kind::SelectProcess;
        driver.RunLoopFor(7, false);
        driver.Pump();
    };

    // A short spell first: what grows once with many windows and threads at work
    // (Wine's cache of display contexts, the lists' capacities) is not counted.
    const long handlesWarmUp = cvt::bench::HandleCount(GetCurrentProcessId()) - processes.OpenHandles();
    const long gdiWarmUp = cvt::bench::GdiObjectCount();
    churnFor(6);
    settle();
    driver.messages.clear();
    driver.questions = driver.questionsThroughRefresh = 0;
    issued = {};
    skipped = {};
    spent = {};
    // The children's handles are the benchmark's own; they are left out of every figure.
    const long handlesBefore = cvt::bench::HandleCount(GetCurrentProcessId()) - processes.OpenHandles();
    const long gdiBefore = cvt::bench::GdiObjectCount();
    const auto gdiTypesBefore = cvt::bench::WineGdiObjectsByType();
    handlesPeak = handlesBefore;
    gdiPeak = gdiBefore;
    const int startedBefore = processes.Started(), endedBefore = processes.Ended();
    const int openedBefore = static_cast<int>(windows.Sum([](const WindowChurn& c) { return c.Opened(); }));
    const int closedBefore = static_cast<int>(windows.Sum([](const WindowChurn& c) { return c.Closed(); }));
    const double openSecondsBefore = windows.Sum([](const WindowChurn& c) { return c.OpenSeconds(); });
    driver.tickSeconds = driver.issueSeconds = 0;
    const size_t ticksBefore = driver.ticks.size();

    churnFor(seconds);
    const size_t churnTicks = driver.ticks.size() - ticksBefore;
    // Checked before the churn's own ends settle the rest.
    const auto bystanderStates = processes.Bystanders();
    settle();
    const long handlesAfter = cvt::bench::HandleCount(GetCurrentProcessId()) - processes.OpenHandles();
    const long gdiAfter = cvt::bench::GdiObjectCount();
    const auto gdiTypesAfter = cvt::bench::WineGdiObjectsByType();
    const bool formAlive = IsWindow(form->Hwnd()) != FALSE;
    windows.Stop();
    processes.EndAll();

    // Attribution.
    const std::vector<Child> children = processes.Snapshot();
    int endedByCommand = 0, priorityChanged = 0, wrongEnds = 0, wrongPriorities = 0;
    std::vector<std::string> faults;
    for (size_t i = 0; i < children.size(); ++i) {
        const Child& child = children[i];
        if (child.bystander) continue;  // checked below, with the outsiders
        const bool ended = child.exitCode == 0;
        const bool changed = child.priorityBeforeEnd != 0 && child.priorityBeforeEnd != NORMAL_PRIORITY_CLASS;
        auto namedBy = [&](Kind kind, DWORD priorityClass) {
            return std::any_of(driver.commands.begin(), driver.commands.end(), [&](const Command& c) {
                return c.kind == kind && (kind != Kind::Priority || c.priorityClass == priorityClass) &&
                       std::find(c.named.begin(), c.named.end(), static_cast<int>(i)) != c.named.end();
            });
        };
        if (ended) {
            ++endedByCommand;
            if (!namedBy(Kind::EndProcess, 0)) {
                ++wrongEnds;
                faults.push_back("child " + std::to_string(child.pid) + " ended by a command that did not name it");
            }
        }
        if (changed) {
            ++priorityChanged;
            if (!namedBy(Kind::Priority, child.priorityBeforeEnd)) {
                ++wrongPriorities;
                faults.push_back("child " + std::to_string(child.pid) + " set to " +
                                 PriorityText(child.priorityBeforeEnd) + " by a command that did not name it");
            }
        }
    }
    int bystandersHit = 0;
    for (const auto& state : bystanderStates)
        if (!state.running || state.priority != NORMAL_PRIORITY_CLASS) {
            ++bystandersHit;
            faults.push_back("bystander " + std::to_string(state.pid) + " " + state.image +
                             (state.running ? " set to " + PriorityText(state.priority) : std::string(" ended")));
        }
    // An outsider that ended is listed but not counted: Wine's helpers end by
    // themselves; the bystanders, which never do, carry that check.
    int outsidersHit = 0;
    std::vector<std::string> outsidersEnded;
    for (const Outsider& outsider : outsiders) {
        const bool running = WaitForSingleObject(outsider.handle, 0) == WAIT_TIMEOUT;
        if (!running) {
            DWORD code = 0;
            GetExitCodeProcess(outsider.handle, &code);
            outsidersEnded.push_back(std::to_string(outsider.pid) + " " + outsider.image + " (exit code " +
                                     std::to_string(code) + ")");
        } else if (const DWORD priority = GetPriorityClass(outsider.handle); priority != outsider.priority) {
            ++outsidersHit;
            faults.push_back("other process " + std::to_string(outsider.pid) + " " + outsider.image + " changed from " +
                             PriorityText(outsider.priority) + " to " + PriorityText(priority));
        }
        CloseHandle(outsider.handle);
    }
    int windowsRefreshed = 0, wrongWindows = 0, bystanderWindowsHit = 0, closedByOther = 0;
    std::set<HWND> switchedTo;
    for (const Command& c : driver.commands)
        if (c.kind == Kind::SwitchTo) switchedTo.insert(c.window);
    for (const ChurnWindow* each : windows.Windows()) {
        const ChurnWindow& window = *each;
        if (window.destroyedByOther || window.closeRequests > 0) {
            ++closedByOther;
            faults.push_back("window " + std::to_string(reinterpret_cast<uintptr_t>(window.hwnd)) +
                             " closed or destroyed by someone else");
        }
        if (window.frameRefreshes == 0) continue;
        if (window.bystander) {
            ++bystanderWindowsHit;
            faults.push_back("bystander window " + std::to_string(reinterpret_cast<uintptr_t>(window.hwnd)) +
                             " had its frame refreshed");
        } else if (switchedTo.count(window.hwnd) == 0) {
            ++wrongWindows;
            faults.push_back("window " + std::to_string(reinterpret_cast<uintptr_t>(window.hwnd)) +
                             " had its frame refreshed by no switch-to of its row");
        } else {
            ++windowsRefreshed;
        }
    }

    ui::SetMessageResponder(nullptr);
    form.reset();
    driver.Pump();

    std::vector<double> gaps;
    for (size_t i = ticksBefore + 1; i < ticksBefore + churnTicks; ++i) gaps.push_back(driver.ticks[i] - driver.ticks[i - 1]);
    const int opened = static_cast<int>(windows.Sum([](const WindowChurn& c) { return c.Opened(); })) - openedBefore;
    const int closed = static_cast<int>(windows.Sum([](const WindowChurn& c) { return c.Closed(); })) - closedBefore;
    std::printf("churn: %.0f s; the real main window in-process, refreshing every 3 s\n", seconds);
    std::printf("processes: %d started, %d ended by the churn's end (%.1f started/s over %.1f s; goal %.0f/s), "
                "%d start failures; bystanders: %zu\n",
                processes.Started() - startedBefore, processes.Ended() - endedBefore,
                (processes.Started() - startedBefore) / std::max(1.0, processes.Span()),
                processes.Span(), processRate, processes.StartFailures(), bystanderStates.size());
    std::printf("windows: %d opened, %d closed by %d threads (%.1f opened/s over %.1f s; goal %.0f/s; %.1f ms per "
                "opening); bystander windows: 3\n",
                opened, closed, windowThreads, opened / std::max(1.0, windows.Span()), windows.Span(), windowRate,
                1000 * (windows.Sum([](const WindowChurn& c) { return c.OpenSeconds(); }) - openSecondsBefore) /
                    std::max(1, opened));
    std::printf("refresh ticks during the churn: %zu, median gap %.2f s; main thread busy in ticks %.1f s, in commands "
                "%.1f s (questions and boxes included)\n",
                churnTicks, cvt::bench::Median(gaps), driver.tickSeconds, driver.issueSeconds);
    std::printf("commands issued, mean time each with its boxes (skipped: no row of a child or window of the churn "
                "listed):\n");
    for (size_t kind = 0; kind < kKindCount; ++kind)
        std::printf("  %-16s %5d %8.0f ms  (%d skipped)\n", kKindNames[kind], issued[kind],
                    issued[kind] > 0 ? 1000 * spent[kind] / issued[kind] : 0.0, skipped[kind]);
    std::printf("warm-up before the churn: %zu commands, one of each kind, then 6 s of churn with commands "
                "(%zu commands in all before the churn)\n",
                warmUpCommands, driver.commands.size() - static_cast<size_t>(std::accumulate(issued.begin(), issued.end(), 0)));
    std::printf("questions: %d (%d stayed open through a refresh); message boxes by text:\n", driver.questions,
                driver.questionsThroughRefresh);
    for (const auto& [text, count] : driver.messages) std::printf("  %5d  %s\n", count, Utf8(text).c_str());
    std::printf("effects: %d children ended by a command, %d children's priority changed, %d windows' frames "
                "refreshed by a switch-to\n",
                endedByCommand, priorityChanged, windowsRefreshed);
    const int wrong = wrongEnds + wrongPriorities + bystandersHit + outsidersHit + wrongWindows + bystanderWindowsHit +
                      closedByOther;
    std::printf("wrong targets: %d (ends %d, priorities %d, bystanders %d, other processes %d, windows %d, bystander "
                "windows %d, closed windows %d)   goal 0: %s\n",
                wrong, wrongEnds, wrongPriorities, bystandersHit, outsidersHit, wrongWindows, bystanderWindowsHit,
                closedByOther, wrong == 0 ? "met" : "MISSED");
    for (const std::string& fault : faults) std::printf("  %s\n", fault.c_str());
    std::printf("other processes of the prefix: %zu watched, %zu ended during the run (not counted)%s",
                outsiders.size(), outsidersEnded.size(), outsidersEnded.empty() ? "\n" : ":");
    for (const std::string& ended : outsidersEnded) std::printf(" %s", ended.c_str());
    if (!outsidersEnded.empty()) std::printf("\n");
    std::printf("crashes: %d (main window %s at the end)\n", formAlive ? 0 : 1, formAlive ? "alive" : "GONE");
    std::printf("%-22s %10s %10s %10s %10s %10s %9s\n", "this process", "created", "warm-up", "before", "peak", "after",
                "after/b.");
    std::printf("%-22s %10ld %10ld %10ld %10ld %10ld %+8.1f%%   goal within 5%%: %s\n", "handles", handlesCreated,
                handlesWarmUp, handlesBefore, handlesPeak, handlesAfter, Percent(handlesAfter, handlesBefore),
                std::fabs(Percent(handlesAfter, handlesBefore)) <= 5 ? "met" : "MISSED");
    std::printf("%-22s %10ld %10ld %10ld %10ld %10ld %+8.1f%%   goal within 5%%: %s\n", "GDI objects", gdiCreated,
                gdiWarmUp, gdiBefore, gdiPeak, gdiAfter, Percent(gdiAfter, gdiBefore),
                std::fabs(Percent(gdiAfter, gdiBefore)) <= 5 ? "met" : "MISSED");
    std::string changedTypes;
    std::set<int> types;
    for (const auto& [type, count] : gdiTypesBefore) types.insert(type);
    for (const auto& [type, count] : gdiTypesAfter) types.insert(type);
    for (int type : types) {
        const long before = gdiTypesBefore.count(type) ? gdiTypesBefore.at(type) : 0;
        const long after = gdiTypesAfter.count(type) ? gdiTypesAfter.at(type) : 0;
        if (before != after) changedTypes += " 0x" + std::to_string(type) + ": " + std::to_string(before) + " -> " + std::to_string(after) + ";";
    }
    if (!changedTypes.empty()) std::printf("GDI objects that changed, by Wine's type byte:%s\n", changedTypes.c_str());
    std::printf("(created: after two refreshes of the new window; warm-up: after every command once; before: after "
                "6 s of churn more; after: the churn stopped, two refreshes later; the benchmark's own child handles "
                "left out)\n");
    return 0;
}
