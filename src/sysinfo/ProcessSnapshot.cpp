// Process snapshot: per process its priority, first module's path and token user.
#include "sysinfo/ProcessSnapshot.h"

#include "base/AppPath.h"
#include "sysinfo/CommandLine.h"

namespace cvt {
namespace {

bool IsLeadByteOfAnsiCodePage(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

std::string FirstModulePath(ProcessApi& api, HANDLE process) {
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (!api.EnumModules(process, &first, sizeof(HMODULE), &needed)) return {};
    char path[MAX_PATH] = {};
    const DWORD length = api.ModuleFileName(process, first, path, MAX_PATH);
    return length == 0 ? std::string() : std::string(path, length < MAX_PATH ? length : MAX_PATH - 1);
}

struct TokenOwner {
    std::string name;  // without its domain; empty when unreadable
    WellKnownAccount account = WellKnownAccount::Unknown;
};

TokenOwner ReadTokenUser(HANDLE process, ProcessInfoCache& cache) {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &rawToken)) return {};
    UniqueKernelHandle token(rawToken);
    alignas(TOKEN_USER) BYTE buffer[1024];
    DWORD length = 0;
    if (!GetTokenInformation(token.Get(), TokenUser, buffer, sizeof buffer, &length)) return {};
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
    if (!IsValidSid(sid)) return {};
    std::string sidBytes(static_cast<const char*>(sid), GetLengthSid(sid));
    TokenOwner user{{}, AccountOfSid(sidBytes)};
    if (const std::string* known = cache.AccountName(sidBytes)) {
        user.name = *known;
        return user;
    }
    char name[260] = {}, domain[260] = {};
    DWORD nameLength = sizeof name, domainLength = sizeof domain;
    SID_NAME_USE use{};
    if (!LookupAccountSidA(nullptr, sid, name, &nameLength, domain, &domainLength, &use)) return user;
    cache.RememberAccountName(std::move(sidBytes), name);
    user.name = name;
    return user;
}

uint64_t CreationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// Priority, path and user of one opened process. Path and user do not change
// during a process's life, so they are taken from the cache when known.
void ReadOpenedProcess(ProcessApi& api, bool isNTPlatform, bool commandLines, HANDLE process,
                       TProcessManager& record, ProcessInfoCache& cache) {
    record.PriorityClass = GetPriorityClass(process);
    // Without creation times (95/98/Me) a reused PID could not be told apart: no memo then.
    const uint64_t created = isNTPlatform ? CreationTime(process) : 0;
    record.CreationTime = created;
    ProcessInfoCache::Identity* known = created != 0 ? cache.Find(record.ProcessID, created) : nullptr;

    if (isNTPlatform) {
        if (known != nullptr && !known->imagePath.empty()) record.ImagePath = known->imagePath;
        else record.ImagePath = FirstModulePath(api, process);
    }
    TokenOwner user = known != nullptr && !known->userName.empty() ? TokenOwner{known->userName, known->account}
                                                                   : ReadTokenUser(process, cache);
    if (!user.name.empty()) record.UserName = user.name;
    record.Account = user.account;
    if (commandLines && isNTPlatform) {
        record.CommandLine = known != nullptr && known->commandLine ? known->commandLine : ReadCommandLine(process);
    }

    // Only what was really read is remembered; a failed read is tried again next time.
    if (created != 0) {
        ProcessInfoCache::Identity& memo = cache.Remember(record.ProcessID, created);
        if (isNTPlatform && !record.ImagePath.empty()) memo.imagePath = record.ImagePath;
        if (!user.name.empty()) {
            memo.userName = user.name;
            memo.account = user.account;
        }
        if (record.CommandLine) memo.commandLine = record.CommandLine;
    }
}

}  // namespace

ProcessSnapshot ReadProcessSnapshot(ProcessApi& api, bool isNTPlatform, const std::string& unknownUser,
                                    ProcessInfoCache& cache, bool commandLines) {
    ProcessSnapshot result;
    HANDLE raw = api.CreateSnapshot(TH32CS_SNAPPROCESS, 0);
    if (raw == INVALID_HANDLE_VALUE) {
        result.failed = true;
        return result;
    }
    UniqueKernelHandle snapshot(raw);
    cache.BeginPass();
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = raw != nullptr && api.First(raw, entry); more; more = api.Next(raw, entry)) {
        TProcessManager& record = result.processes.emplace_back();
        record.ProcessID = entry.th32ProcessID;
        record.ThreadCount = entry.cntThreads;
        record.ParentProcessID = entry.th32ParentProcessID;
        entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
        if (isNTPlatform) {
            record.ImageName = entry.szExeFile;
        } else {
            record.ImageName = std::string(FileNamePart(entry.szExeFile, IsLeadByteOfAnsiCodePage));
            record.ImagePath = entry.szExeFile;
        }
        record.UserName = unknownUser;
        UniqueKernelHandle process(
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, record.ProcessID));
        if (process) ReadOpenedProcess(api, isNTPlatform, commandLines, process.Get(), record, cache);
        entry.dwSize = sizeof entry;
    }
    cache.EndPass();
    return result;
}

std::string GetProcessImagePath(ProcessApi& api, bool isNTPlatform, uint32_t processId) {
    if (!isNTPlatform) {
        HANDLE raw = api.CreateSnapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPMODULE, 0);
        if (raw == INVALID_HANDLE_VALUE || raw == nullptr) return {};
        UniqueKernelHandle snapshot(raw);
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = api.First(raw, entry); more; more = api.Next(raw, entry)) {
            if (entry.th32ProcessID == processId) {
                entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
                return entry.szExeFile;
            }
        }
        return {};
    }
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    return process ? FirstModulePath(api, process.Get()) : std::string();
}

}  // namespace cvt
