// Replacing a file through a temporary file in the same folder.
#include "report/SafeFileWrite.h"

#include <algorithm>
#include <vector>

#include "base/Handles.h"
#include "base/SystemLibrary.h"

namespace cvt {
namespace {

constexpr char kTempPrefix[] = "cvt";

// Deletes the file when it goes out of scope unless it was moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!placed_) DeleteFileA(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;  // one owner deletes the file
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    [[nodiscard]] const std::string& Path() const noexcept { return path_; }
    void Placed() noexcept { placed_ = true; }

private:
    std::string path_;
    bool placed_ = false;
};

// The full path and its folder. The system cuts off the file name, which keeps a
// backslash-valued trail byte of a double-byte character inside the name.
DWORD SplitFullPath(const std::string& path, std::string& full, std::string& folder) {
    char* filePart = nullptr;
    std::vector<char> buffer(MAX_PATH);
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &filePart);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &filePart);
    }
    if (length == 0) return GetLastError();
    if (length >= buffer.size()) return ERROR_FILENAME_EXCED_RANGE;
    if (filePart == nullptr || *filePart == '\0') return ERROR_INVALID_NAME;  // a folder, not a file
    full.assign(buffer.data(), length);
    folder.assign(buffer.data(), static_cast<size_t>(filePart - buffer.data()));
    return ERROR_SUCCESS;
}

// A fresh, empty file in folder under a name the system picks.
DWORD CreateTemporaryName(const std::string& folder, std::string& name) {
    char buffer[MAX_PATH] = {};
    if (GetTempFileNameA(folder.c_str(), kTempPrefix, 0, buffer) == 0) return GetLastError();
    name = buffer;
    return ERROR_SUCCESS;
}

DWORD WriteWhole(const std::string& path, std::string_view bytes) {
    UniqueKernelHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        bytes.remove_prefix(written);
    }
    // The old file must not give way to data still in the cache.
    if (!FlushFileBuffers(file.Get())) return GetLastError();
    if (!CloseHandle(file.Release())) return GetLastError();
    return ERROR_SUCCESS;
}

// Without a replacing rename the old file steps aside under a fresh name until the new one is in
// place, and comes back when it cannot be.
DWORD ReplaceByRenaming(const std::string& replacement, const std::string& target, const std::string& folder) {
    if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES)
        return MoveFileA(replacement.c_str(), target.c_str()) ? ERROR_SUCCESS : GetLastError();
    std::string aside;
    if (const DWORD error = CreateTemporaryName(folder, aside)) return error;
    DeleteFileA(aside.c_str());  // MoveFileA will not move onto an existing file
    if (!MoveFileA(target.c_str(), aside.c_str())) return GetLastError();
    if (!MoveFileA(replacement.c_str(), target.c_str())) {
        const DWORD error = GetLastError();
        MoveFileA(aside.c_str(), target.c_str());
        return error;
    }
    DeleteFileA(aside.c_str());
    return ERROR_SUCCESS;
}

}  // namespace

MoveFileExFn SystemMoveFileEx() noexcept {
    return LookUpFunction<MoveFileExFn>(GetModuleHandleA("kernel32.dll"), "MoveFileExA");
}

DWORD WriteFileReplacing(const std::string& path, std::string_view bytes, MoveFileExFn moveFileEx) {
    std::string target;
    std::string folder;
    if (const DWORD error = SplitFullPath(path, target, folder)) return error;
    // Refused as opening it for writing would be: a rename would go over a read-only file
    // (Wine allows even that) or move a folder away.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return ERROR_ACCESS_DENIED;

    std::string name;
    if (const DWORD error = CreateTemporaryName(folder, name)) return error;
    TemporaryFile temporary(std::move(name));
    if (const DWORD error = WriteWhole(temporary.Path(), bytes)) return error;

    if (moveFileEx != nullptr) {
        if (moveFileEx(temporary.Path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            temporary.Placed();
            return ERROR_SUCCESS;
        }
        const DWORD error = GetLastError();
        // 95/98/Me export it, but only as a stub that fails.
        if (error != ERROR_CALL_NOT_IMPLEMENTED) return error;
    }
    if (const DWORD error = ReplaceByRenaming(temporary.Path(), target, folder)) return error;
    temporary.Placed();
    return ERROR_SUCCESS;
}

}  // namespace cvt
