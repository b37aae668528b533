// Shortcut.dll on its own, loaded by its full path: the links it writes as the shell reads them
// back, its export table, and the caller's COM apartment left as it found it.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"

using namespace cvt::test;

namespace {

using CreateShortcutFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPCSTR);

// The DLL as cvt.exe loads it: by full path, never through the search order.
class ShortcutDll : public testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA(SourceTreePath(CVT_SHORTCUT_DLL).c_str());
        ASSERT_NE(module_, nullptr) << "error " << GetLastError() << " loading " << CVT_SHORTCUT_DLL;
        create_ = reinterpret_cast<CreateShortcutFn>(reinterpret_cast<void*>(GetProcAddress(module_, "CreateShortcut")));
        ASSERT_NE(create_, nullptr);
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    HMODULE module_ = nullptr;
    CreateShortcutFn create_ = nullptr;
};

DWORD WINAPI RunWork(void* work) {
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}

// Runs work on a new thread, whose COM apartment nobody has touched yet.
void OnFreshThread(const std::function<void()>& work) {
    HANDLE thread = CreateThread(nullptr, 0, RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

struct LinkFields {
    bool loaded = false;
    std::string path, description, workingFolder;
};

// A .lnk file as the shell reads it, on a thread of its own.
LinkFields ReadLink(const std::string& linkFile) {
    LinkFields fields;
    OnFreshThread([&] {
        if (FAILED(CoInitialize(nullptr))) return;
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        WCHAR wide[MAX_PATH];
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH) != 0 &&
            SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[INFOTIPSIZE] = {};
            fields.loaded = true;
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) fields.path = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetDescription(text, sizeof text))) fields.description = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) fields.workingFolder = text;
        }
        if (file != nullptr) file->Release();
        if (link != nullptr) link->Release();
        CoUninitialize();
    });
    return fields;
}

std::string WithoutTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

TEST_F(ShortcutDll, LinkReadsBackWithTargetDescriptionAndTheTargetsFolder) {
    TempFolder folder;
    folder.Write("cvt.exe", "MZ");
    const std::string link = folder.File("cvt.lnk");
    ASSERT_TRUE(create_(link.c_str(), folder.File("cvt.exe").c_str(), "first"));
    // A second call replaces the link rather than failing on the existing file.
    ASSERT_TRUE(create_(link.c_str(), folder.File("cvt.exe").c_str(), "a task manager"));

    const LinkFields fields = ReadLink(link);
    ASSERT_TRUE(fields.loaded);
    EXPECT_STRCASEEQ(fields.path.c_str(), folder.File("cvt.exe").c_str());
    EXPECT_EQ(fields.description, "a task manager");
    EXPECT_STRCASEEQ(fields.workingFolder.c_str(), WithoutTrailingBackslash(folder.Path()).c_str());
}

TEST_F(ShortcutDll, FailsAndWritesNothingForAMissingFolderOrMissingArguments) {
    TempFolder folder;
    folder.Write("cvt.exe", "MZ");
    const std::string target = folder.File("cvt.exe");
    EXPECT_FALSE(create_(folder.File("missing\\cvt.lnk").c_str(), target.c_str(), "d"));
    EXPECT_FALSE(folder.Exists("missing"));
    EXPECT_FALSE(create_(nullptr, target.c_str(), "d"));
    EXPECT_FALSE(create_("", target.c_str(), "d"));
    EXPECT_FALSE(create_(folder.File("a.lnk").c_str(), nullptr, "d"));
    EXPECT_FALSE(create_(folder.File("b.lnk").c_str(), "", "d"));
    EXPECT_FALSE(create_(folder.File("c.lnk").c_str(), std::string(MAX_PATH + 10, 'x').c_str(), "d"));
    EXPECT_FALSE(folder.Exists("a.lnk") || folder.Exists("b.lnk") || folder.Exists("c.lnk"));
}

}  // namespace
