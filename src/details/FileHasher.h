// MD5, SHA-1 and SHA-256 of one file, read a chunk at a time in short steps
// so that the window that asks keeps serving its messages in between.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/Sha256.h"
#include "details/HashText.h"

namespace cvt {

class FileHasher {
public:
    explicit FileHasher(std::string path);
    ~FileHasher();
    FileHasher(const FileHasher&) = delete;  // owns the system's hash objects
    FileHasher& operator=(const FileHasher&) = delete;

    // Reads for about budgetMilliseconds at most, then returns where hashing stands.
    // The file is opened for each step only, so it is never held between steps.
    HashOutcome Step(DWORD budgetMilliseconds);
    [[nodiscard]] HashOutcome Outcome() const noexcept { return outcome_; }
    [[nodiscard]] int Percent() const noexcept;
    // Filled once the outcome is Done; MD5 and SHA-1 stay empty without CryptoAPI.
    [[nodiscard]] const FileHashes& Hashes() const noexcept { return hashes_; }

private:
    class SystemHashes;
    HashOutcome ReadChunks(HANDLE file, DWORD budgetMilliseconds);

    std::string path_;
    HashOutcome outcome_ = HashOutcome::Running;
    bool started_ = false;
    uint64_t size_ = 0;
    FILETIME lastWrite_{};
    uint64_t offset_ = 0;
    Sha256 sha256_;
    std::unique_ptr<SystemHashes> system_;
    FileHashes hashes_;
};

}  // namespace cvt
