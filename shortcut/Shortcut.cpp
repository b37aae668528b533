// Shortcut.dll: CreateShortcut writes a shell link (.lnk) through IShellLinkA and IPersistFile.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace {

// Releases the interface it holds; COM pointers are never copied here.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_ != nullptr) p_->Release();
    }
    T* operator->() const noexcept { return p_; }
    void** Out() noexcept { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

// Balances a successful CoInitialize (S_OK or S_FALSE). A thread already in the
// multithreaded apartment answers RPC_E_CHANGED_MODE: COM is usable there and
// that initialisation is the caller's to undo, not ours.
class ComApartment {
public:
    ComApartment() : result_(CoInitialize(nullptr)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    [[nodiscard]] bool Usable() const noexcept { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

// The folder part of path, without its last separator except at a root ("C:\").
// Walks by characters: in code page 932 a trail byte can be 0x5C, the backslash.
bool FolderOf(LPCSTR path, char (&folder)[MAX_PATH]) {
    const char* lastSeparator = nullptr;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/') lastSeparator = p;
    }
    if (lastSeparator == nullptr) return false;
    size_t length = static_cast<size_t>(lastSeparator - path);
    if (length == 0 || path[length - 1] == ':') ++length;  // keep the root's separator
    if (length >= MAX_PATH) return false;
    CopyMemory(folder, path, length);
    folder[length] = '\0';
    return true;
}

BOOL WriteLink(LPCSTR shortcutPath, LPCSTR targetPath, LPCSTR description) {
    WCHAR widePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, shortcutPath, -1, widePath, MAX_PATH) == 0) return FALSE;

    ComApartment apartment;
    if (!apartment.Usable()) return FALSE;
    ComRef<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Out())))
        return FALSE;
    // S_FALSE from SetPath means the target does not exist (yet): the link is still valid.
    if (FAILED(link->SetPath(targetPath))) return FALSE;
    if (description != nullptr && FAILED(link->SetDescription(description))) return FALSE;
    char folder[MAX_PATH];
    if (FolderOf(targetPath, folder) && FAILED(link->SetWorkingDirectory(folder))) return FALSE;

    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out()))) return FALSE;
    return SUCCEEDED(file->Save(widePath, TRUE)) ? TRUE : FALSE;
}

}  // namespace

extern "C" BOOL WINAPI CreateShortcut(LPCSTR shortcutPath, LPCSTR targetPath, LPCSTR description) {
    if (shortcutPath == nullptr || *shortcutPath == '\0' || targetPath == nullptr || *targetPath == '\0') return FALSE;
    if (lstrlenA(targetPath) >= MAX_PATH) return FALSE;
    return WriteLink(shortcutPath, targetPath, description);
}
