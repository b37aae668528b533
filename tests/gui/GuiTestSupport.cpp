// Support for the in-process window tests.
#include "GuiTestSupport.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ui/ListView.h"

namespace cvt::test {
TempFolder::TempFolder(const std::string& suffix) {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(base) + "cvt-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + suffix + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path_ + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) DeleteFileA((path_ + data.cFileName).c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string SourceTreePath(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void TempFolder::CopyShippedColumnIni() const {
    CopyFileA(SourceTreePath(CVT_SOURCE_DIR "/data/column.ini").c_str(), File("column.ini").c_str(), FALSE);
}

ChildProcess::ChildProcess(const TempFolder& folder, const std::string& exeName, Window window)
    : path_(folder.File(exeName)) {
    CopyFileA(SourceTreePath(CVT_SLEEPER_EXE).c_str(), path_.c_str(), FALSE);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    static constexpr const char* kModes[] = {"", " --window \"", " --hung \"", " --clipboard \""};
    std::string commandLine = "\"" + path_ + "\"";
    if (window != Window::None) commandLine += kModes[static_cast<int>(window)] + exeName + "\"";
    CreateProcessA(path_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                   &startup, &info_);
    // The snapshot lists it only once it runs.
    WaitForInputIdle(info_.hProcess, 2000);
    Sleep(50);
}

ChildProcess::~ChildProcess() {
    End();
    if (info_.hThread != nullptr) CloseHandle(info_.hThread);
    if (info_.hProcess != nullptr) CloseHandle(info_.hProcess);
    DeleteFileA(path_.c_str());
}

bool ChildProcess::HasEnded(DWORD waitMilliseconds) const {
    return info_.hProcess == nullptr || WaitForSingleObject(info_.hProcess, waitMilliseconds) == WAIT_OBJECT_0;
}

void ChildProcess::End() {
    if (info_.hProcess != nullptr && !HasEnded(0)) {
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

int RowOfProcess(TFrmCVT& form, DWORD processId) { return form.Processes().FindProcessRow(processId); }

TestWindow::TestWindow(const char* title, bool withIcon, bool visible) {
    const char* className = withIcon ? "CvtTestWindowWithIcon" : "CvtTestWindowWithoutIcon";
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = withIcon ? LoadIconA(nullptr, IDI_APPLICATION) : nullptr;
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // fails harmlessly when registered by an earlier window
    hwnd_ = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 50, 50, 240, 160,
                            nullptr, nullptr, wc.hInstance, nullptr);
    PumpMessages();
}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::Destroy() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    PumpMessages();
}

DWORD RunCopyAsWindows(const TempFolder& folder, const std::string& version, const std::string& filter,
                       const char* variable, const std::string& value) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    // Wine keys the pretended version by the executable's name, so the copy gets a name of its own.
    const std::string name = "cvt-" + version + "-" + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string copy = folder.File(name);
    if (!CopyFileA(self, copy.c_str(), FALSE)) return 100;
    const std::string key = "Software\\Wine\\AppDefaults\\" + name;
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS)
        return 101;
    RegSetValueExA(raw, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
    RegCloseKey(raw);

    SetEnvironmentVariableA(variable, value.c_str());
    std::string commandLine = "\"" + copy + "\" --gtest_filter=" + filter;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &process);
    SetEnvironmentVariableA(variable, nullptr);
    DWORD exitCode = 102;
    if (started) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    DeleteFileA(copy.c_str());
    return exitCode;
}

int RowOfWindow(TFrmCVT& form, HWND window) {
    for (int row = 0; row < ui::ListRowCount(form.ListView(1)); ++row)
        if (form.Applications().WindowHandleOfRow(row) == static_cast<int32_t>(reinterpret_cast<uintptr_t>(window))) return row;
    return -1;
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary);
    out << bytes;
}

bool TempFolder::Exists(const std::string& name) const {
    return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TempFolder::Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    if (!in) return "<none>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> TempFolder::Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path_ + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

int PumpMessages(DWORD forMilliseconds) {
    const DWORD start = GetTickCount();
    int dispatched = 0;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            ++dispatched;
        }
        if (forMilliseconds != 0) Sleep(10);
    } while (GetTickCount() - start < forMilliseconds);
    return dispatched;
}

IniContents ReadIniFile(const std::string& path) {
    IniContents contents;
    std::vector<char> names(65536);
    const DWORD length = GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (const char* name = names.data(); name < names.data() + length && *name != '\0'; name += strlen(name) + 1) {
        std::vector<char> lines(65536);
        const DWORD size = GetPrivateProfileSectionA(name, lines.data(), static_cast<DWORD>(lines.size()), path.c_str());
        auto& section = contents[name];
        for (const char* line = lines.data(); line < lines.data() + size && *line != '\0'; line += strlen(line) + 1)
            section.emplace_back(line);
    }
    return contents;
}

MessageLog::MessageLog(int answer) : answer_(answer) {
    ui::SetMessageResponder([this](const ui::MessageRecord& record) {
        records_.push_back(record);
        return record.yesNo && answer_ == IDOK ? IDYES : answer_;
    });
}

MessageLog::~MessageLog() { ui::SetMessageResponder(nullptr); }

MainFormHost::MainFormHost(const TempFolder& folder) : form_(std::make_unique<TFrmCVT>(folder.Path())) {
    form_->Create();
    PumpMessages();
}

MainFormHost::~MainFormHost() {
    form_.reset();
    PumpMessages();
}

void MainFormHost::CloseByCommand() {
    form_->MiFileExitClick();
    PumpMessages();
}

std::string WindowText(HWND hwnd) {
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

void ClickHeader(HWND listView, int cellIndex) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    RECT rc{};
    SendMessageA(header, HDM_GETITEMRECT, cellIndex, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

std::vector<std::string> ColumnTexts(HWND listView, int cellIndex) {
    std::vector<std::string> texts;
    for (int row = 0; row < ui::ListRowCount(listView); ++row) texts.push_back(ui::ListCellText(listView, row, cellIndex));
    return texts;
}

}  // namespace cvt::test
