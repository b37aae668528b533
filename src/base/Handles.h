// Owning wrappers for the system handles the program holds beyond one call.
#pragma once
#include <windows.h>

#include <utility>

namespace cvt {

template <typename H, typename Closer>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;  // one owner closes the handle
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) { Reset(); handle_ = std::exchange(other.handle_, H{}); }
        return *this;
    }

    [[nodiscard]] H Get() const noexcept { return handle_; }
    [[nodiscard]] explicit operator bool() const noexcept { return handle_ != H{} && handle_ != Closer::Invalid(); }
    H Release() noexcept { return std::exchange(handle_, H{}); }
    void Reset(H handle = H{}) noexcept {
        if (*this) Closer::Close(handle_);
        handle_ = handle;
    }

private:
    H handle_{};
};

struct GdiCloser { static void Close(HGDIOBJ h) noexcept { DeleteObject(h); } static HGDIOBJ Invalid() noexcept { return nullptr; } };
struct KernelCloser { static void Close(HANDLE h) noexcept { CloseHandle(h); } static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; } };
struct MenuCloser { static void Close(HMENU h) noexcept { DestroyMenu(h); } static HMENU Invalid() noexcept { return nullptr; } };
struct AccelCloser { static void Close(HACCEL h) noexcept { DestroyAcceleratorTable(h); } static HACCEL Invalid() noexcept { return nullptr; } };
struct LibraryCloser { static void Close(HMODULE h) noexcept { FreeLibrary(h); } static HMODULE Invalid() noexcept { return nullptr; } };
struct IconCloser { static void Close(HICON h) noexcept { DestroyIcon(h); } static HICON Invalid() noexcept { return nullptr; } };
struct RegKeyCloser { static void Close(HKEY h) noexcept { RegCloseKey(h); } static HKEY Invalid() noexcept { return nullptr; } };

using UniqueFont = UniqueHandle<HFONT, GdiCloser>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelCloser>;
using UniqueMenu = UniqueHandle<HMENU, MenuCloser>;
using UniqueAccel = UniqueHandle<HACCEL, AccelCloser>;
using UniqueLibrary = UniqueHandle<HMODULE, LibraryCloser>;
using UniqueIcon = UniqueHandle<HICON, IconCloser>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiCloser>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyCloser>;

}  // namespace cvt
