// Shared by the in-process window tests: a temporary program folder with real
// INI files, message pumping and recorded message boxes.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "ui/MessageDialog.h"

namespace cvt::test {

// A fresh folder under the system's temporary folder, removed with its files.
class TempFolder {
public:
    // suffix: appended to the folder's name, e.g. to put a blank in the path.
    explicit TempFolder(const std::string& suffix = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::string& Path() const noexcept { return path_; }  // ends in a backslash
    [[nodiscard]] std::string File(const std::string& name) const { return path_ + name; }
    void CopyShippedColumnIni() const;
    void Write(const std::string& name, const std::string& bytes) const;
    [[nodiscard]] bool Exists(const std::string& name) const;
    // The file's bytes; "<none>" when it cannot be read.
    [[nodiscard]] std::string Read(const std::string& name) const;
    // Names of the files and folders in it, sorted.
    [[nodiscard]] std::vector<std::string> Names() const;

private:
    std::string path_;
};

// Dispatches what is queued; a WM_QUIT is dropped, not acted on.
int PumpMessages(DWORD forMilliseconds = 0);

// Sections of an INI file and their "key=value" lines, read through the system.
using IniContents = std::map<std::string, std::vector<std::string>>;
[[nodiscard]] IniContents ReadIniFile(const std::string& path);

// Records every message box and answers it.
class MessageLog {
public:
    // answer: the button pressed; IDOK stands for Yes on a question.
    explicit MessageLog(int answer = IDOK);
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
    [[nodiscard]] const std::vector<ui::MessageRecord>& Records() const noexcept { return records_; }
    void Answer(int answer) noexcept { answer_ = answer; }
    void Clear() { records_.clear(); }

private:
    std::vector<ui::MessageRecord> records_;
    int answer_;
};

// A main window on a temporary program folder, created and destroyed per test.
class MainFormHost {
public:
    explicit MainFormHost(const TempFolder& folder);
    ~MainFormHost();
    MainFormHost(const MainFormHost&) = delete;
    MainFormHost& operator=(const MainFormHost&) = delete;

    [[nodiscard]] TFrmCVT& Form() { return *form_; }
    // Closes through WM_CLOSE as the close box does; the window is gone afterwards.
    void CloseByCommand();

private:
    std::unique_ptr<TFrmCVT> form_;
};

// A waiting child process under a name of the test's choosing, ended with the object.
class ChildProcess {
public:
    enum class Window { None, Serving, Hung, HoldingClipboard };
    // With a window: titled after exeName, with a small icon; a hung one stops serving its
    // messages, a holding one keeps the clipboard open.
    ChildProcess(const TempFolder& folder, const std::string& exeName, Window window = Window::None);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    [[nodiscard]] DWORD Id() const noexcept { return info_.dwProcessId; }
    [[nodiscard]] HANDLE Handle() const noexcept { return info_.hProcess; }
    [[nodiscard]] const std::string& Path() const noexcept { return path_; }
    [[nodiscard]] bool HasEnded(DWORD waitMilliseconds = 5000) const;
    void End();

private:
    std::string path_;
    PROCESS_INFORMATION info_{};
};

// A top-level window of this thread, shown or not, with the class icon or none.
class TestWindow {
public:
    TestWindow(const char* title, bool withIcon, bool visible);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    [[nodiscard]] HWND Hwnd() const noexcept { return hwnd_; }
    void Destroy();

private:
    HWND hwnd_ = nullptr;
};

// Runs the tests matching filter in a copy of this test program that Wine treats
// as another Windows (its AppDefaults "Version": win98, win2k, winxp, ...), with
// variable=value in the copy's environment. The copy's exit code; 100 and up
// when it could not be run at all.
DWORD RunCopyAsWindows(const TempFolder& folder, const std::string& version, const std::string& filter,
                       const char* variable, const std::string& value);

// The row of the window list that shows this window, or -1.
[[nodiscard]] int RowOfWindow(TFrmCVT& form, HWND window);

// The row of the process list that shows this PID, or -1.
[[nodiscard]] int RowOfProcess(TFrmCVT& form, DWORD processId);
// Path of a file of the source tree, as Wine sees it.
[[nodiscard]] std::string SourceTreePath(const char* unixPath);

[[nodiscard]] std::string WindowText(HWND hwnd);
// Clicks a header item with real mouse messages to the header control.
void ClickHeader(HWND listView, int cellIndex);
[[nodiscard]] std::vector<std::string> ColumnTexts(HWND listView, int cellIndex);

}  // namespace cvt::test
