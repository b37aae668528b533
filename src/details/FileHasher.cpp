// Chunked file hashing: CryptoAPI's MD5 and SHA-1, our SHA-256.
#include "details/FileHasher.h"

#include <wincrypt.h>

#include <algorithm>
#include <array>
#include <vector>

#include "base/Handles.h"
#include "base/SystemLibrary.h"

namespace cvt {
namespace {

constexpr DWORD kChunkSize = 64 * 1024;

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

uint64_t SizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

UniqueKernelHandle OpenShared(const std::string& path) {
    // Shared for writing and deleting: hashing must never stand in an updater's way.
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                              nullptr);
    // 95/98/Me know no delete sharing.
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return UniqueKernelHandle(file);
}

}  // namespace

// MD5 and SHA-1 from the base provider, looked up at run time: 95 and NT 4.0
// may lack CryptoAPI, and then these two are simply not computed.
class FileHasher::SystemHashes {
public:
    SystemHashes() : advapi_(LoadSystemLibrary("advapi32.dll")) {
        HMODULE module = advapi_.Get();
        acquire_ = LookUpFunction<AcquireFn>(module, "CryptAcquireContextA");
        release_ = LookUpFunction<ReleaseFn>(module, "CryptReleaseContext");
        create_ = LookUpFunction<CreateFn>(module, "CryptCreateHash");
        data_ = LookUpFunction<DataFn>(module, "CryptHashData");
        param_ = LookUpFunction<ParamFn>(module, "CryptGetHashParam");
        destroy_ = LookUpFunction<DestroyFn>(module, "CryptDestroyHash");
        if (!acquire_ || !release_ || !create_ || !data_ || !param_ || !destroy_) return;
        if (!acquire_(&provider_, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) provider_ = 0;
        if (provider_ == 0) return;
        if (!create_(provider_, CALG_MD5, 0, 0, &md5_)) md5_ = 0;
        if (!create_(provider_, CALG_SHA1, 0, 0, &sha1_)) sha1_ = 0;
    }
    ~SystemHashes() {
        if (md5_ != 0) destroy_(md5_);
        if (sha1_ != 0) destroy_(sha1_);
        if (provider_ != 0) release_(provider_, 0);
    }
    SystemHashes(const SystemHashes&) = delete;  // owns the provider and hash handles
    SystemHashes& operator=(const SystemHashes&) = delete;

    void Update(const BYTE* bytes, DWORD size) {
        if (md5_ != 0 && !data_(md5_, bytes, size, 0)) Drop(md5_);
        if (sha1_ != 0 && !data_(sha1_, bytes, size, 0)) Drop(sha1_);
    }
    [[nodiscard]] std::string Md5() { return Digest(md5_); }
    [[nodiscard]] std::string Sha1() { return Digest(sha1_); }

private:
    using AcquireFn = BOOL(WINAPI*)(HCRYPTPROV*, LPCSTR, LPCSTR, DWORD, DWORD);
    using ReleaseFn = BOOL(WINAPI*)(HCRYPTPROV, DWORD);
    using CreateFn = BOOL(WINAPI*)(HCRYPTPROV, ALG_ID, HCRYPTKEY, DWORD, HCRYPTHASH*);
    using DataFn = BOOL(WINAPI*)(HCRYPTHASH, const BYTE*, DWORD, DWORD);
    using ParamFn = BOOL(WINAPI*)(HCRYPTHASH, DWORD, BYTE*, DWORD*, DWORD);
    using DestroyFn = BOOL(WINAPI*)(HCRYPTHASH);

    // A hash that failed once would give a wrong digest: it is not given at all.
    void Drop(HCRYPTHASH& hash) {
        destroy_(hash);
        hash = 0;
    }
    std::string Digest(HCRYPTHASH hash) {
        std::array<BYTE, 20> digest{};
        DWORD size = digest.size();
        if (hash == 0 || !param_(hash, HP_HASHVAL, digest.data(), &size, 0) || size > digest.size()) return {};
        return HexDigits(digest.data(), size);
    }

    UniqueLibrary advapi_;
    AcquireFn acquire_ = nullptr;
    ReleaseFn release_ = nullptr;
    CreateFn create_ = nullptr;
    DataFn data_ = nullptr;
    ParamFn param_ = nullptr;
    DestroyFn destroy_ = nullptr;
    HCRYPTPROV provider_ = 0;
    HCRYPTHASH md5_ = 0;
    HCRYPTHASH sha1_ = 0;
};

FileHasher::FileHasher(std::string path) : path_(std::move(path)), system_(std::make_unique<SystemHashes>()) {}

FileHasher::~FileHasher() = default;

int FileHasher::Percent() const noexcept {
    if (outcome_ == HashOutcome::Done) return 100;
    return size_ == 0 ? 0 : static_cast<int>(offset_ * 100 / size_);
}

HashOutcome FileHasher::Step(DWORD budgetMilliseconds) {
    if (outcome_ != HashOutcome::Running) return outcome_;
    UniqueKernelHandle file = OpenShared(path_);
    if (!file) {
        const DWORD error = GetLastError();
        const bool gone = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        outcome_ = gone ? (started_ ? HashOutcome::Removed : HashOutcome::Missing) : HashOutcome::Unreadable;
        return outcome_;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.Get(), &info)) return outcome_ = HashOutcome::Unreadable;
    const uint64_t size = SizeOf(info);
    if (!started_) {
        started_ = true;
        size_ = size;
        lastWrite_ = info.ftLastWriteTime;
    } else if (size != size_ || !SameTime(info.ftLastWriteTime, lastWrite_)) {
        return outcome_ = HashOutcome::Changed;
    }
    outcome_ = ReadChunks(file.Get(), budgetMilliseconds);
    // Written to while the last chunks were read: their digest would be of no version of the file.
    if (outcome_ == HashOutcome::Done && (!GetFileInformationByHandle(file.Get(), &info) || SizeOf(info) != size_ ||
                                          !SameTime(info.ftLastWriteTime, lastWrite_)))
        outcome_ = HashOutcome::Changed;
    if (outcome_ == HashOutcome::Done) {
        const std::array<uint8_t, 32> digest = sha256_.Final();
        hashes_ = {system_->Md5(), system_->Sha1(), HexDigits(digest.data(), digest.size())};
    }
    return outcome_;
}

HashOutcome FileHasher::ReadChunks(HANDLE file, DWORD budgetMilliseconds) {
    LONG high = static_cast<LONG>(offset_ >> 32);
    if (SetFilePointer(file, static_cast<LONG>(offset_ & 0xFFFFFFFFu), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return HashOutcome::Unreadable;
    std::vector<BYTE> chunk(kChunkSize);
    const DWORD start = GetTickCount();
    while (offset_ < size_) {
        DWORD read = 0;
        if (!ReadFile(file, chunk.data(), kChunkSize, &read, nullptr)) return HashOutcome::Unreadable;
        // Shorter than it was when hashing began.
        if (read == 0) return HashOutcome::Changed;
        const DWORD wanted = static_cast<DWORD>(std::min<uint64_t>(read, size_ - offset_));
        sha256_.Update(chunk.data(), wanted);
        system_->Update(chunk.data(), wanted);
        offset_ += wanted;
        if (GetTickCount() - start >= budgetMilliseconds) break;
    }
    return offset_ < size_ ? HashOutcome::Running : HashOutcome::Done;
}

}  // namespace cvt
