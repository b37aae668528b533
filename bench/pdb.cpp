// Danger database benchmark: loading 500 and 5,000 entries and one lookup, under Wine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "details/ProcessDangerDb.h"

using namespace cvt;

namespace {

constexpr int kRuns = 11;

double NowMs() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double MedianMs(const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const double start = NowMs();
        work();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string EntryName(int n) { return "proc" + std::to_string(n) + ".exe"; }

// count entries; every second one has a comment.
void WriteDatabase(const std::string& path, int count) {
    std::string text = "[General]\r\nNum=" + std::to_string(count) + "\r\n";
    for (int n = 0; n < count; ++n) text += "db" + std::to_string(n) + "=" + EntryName(n) + "\r\n";
    for (int n = 0; n < count; ++n) {
        text += "\r\n[" + EntryName(n) + "]\r\nDanger=" + std::to_string(n % 6) + "\r\n";
        if (n % 2 == 0) text += "Detail=ベンチマーク用の説明文 " + std::to_string(n) + "\r\n";
    }
    std::ofstream(path, std::ios::binary) << text;
}

// A shipped database is never seconds old; the system rereads files younger than about two seconds at every call.
void Age(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart -= 3600ull * 10000000ull;
    const FILETIME hourAgo{t.LowPart, t.HighPart};
    SetFileTime(file, nullptr, nullptr, &hourAgo);
    CloseHandle(file);
}

struct Figures {
    double loadMs, perKeyLoadMs, lookupHitUs, lookupMissUs;
};

Figures Measure(const std::string& path, int count, bool aged) {
    Figures figures{};
    figures.loadMs = MedianMs([&] { (void)LoadPdb(path); });
    // The baseline: one private-profile call per key (only on an aged file; a fresh one is reparsed per call).
    figures.perKeyLoadMs = aged ? MedianMs([&] {
        PdbTable table;
        table.LoadPdb(ProfileIniFile(path));
    })
                                : 0;
    const ProcessDangerDb db = LoadPdb(path);
    if (static_cast<int>(db.Table().Entries().size()) != count) std::printf("!! loaded %u entries\n",
                                                                           static_cast<unsigned>(db.Table().Entries().size()));
    // The last entry with a comment: the longest walk that also reads a comment.
    const std::string last = EntryName(count - 2);
    constexpr int kCalls = 200;
    size_t sink = 0;
    figures.lookupHitUs = MedianMs([&] {
        for (int i = 0; i < kCalls; ++i) sink += db.Lookup(last).caption.size();
    }) * 1000.0 / kCalls;
    figures.lookupMissUs = MedianMs([&] {
        for (int i = 0; i < kCalls; ++i) sink += db.Lookup("unknown.exe").caption.size();
    }) * 1000.0 / kCalls;
    if (sink == 0) std::printf("!! no lookups\n");
    return figures;
}

}  // namespace

int main() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + "cvt-bench-pdb-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);

    std::printf("pdb benchmark: medians of %d runs\n", kRuns);
    Figures results[2][2];
    const int counts[2] = {500, 5000};
    for (int aged = 0; aged < 2; ++aged) {
        for (int i = 0; i < 2; ++i) {
            const std::string path = folder + "cvtpdb" + std::to_string(counts[i]) + (aged ? "-aged" : "") + ".ini";
            WriteDatabase(path, counts[i]);
            if (aged) Age(path);
            results[aged][i] = Measure(path, counts[i], aged != 0);
        }
    }
    for (int aged = 0; aged < 2; ++aged) {
        const Figures& small = results[aged][0];
        const Figures& large = results[aged][1];
        std::printf("\n%s file\n", aged ? "aged (an hour old, as a shipped file)" : "fresh (just written)");
        std::printf("LoadPdb 500: %.2f ms, 5000: %.2f ms, ratio %.2f (goal <= 12)\n", small.loadMs, large.loadMs,
                    large.loadMs / small.loadMs);
        if (aged)
            std::printf("per-key private-profile load 500: %.2f ms, 5000: %.2f ms, ratio %.2f; "
                        "LoadPdb / per-key at 5000: %.3f\n",
                        small.perKeyLoadMs, large.perKeyLoadMs, large.perKeyLoadMs / small.perKeyLoadMs,
                        large.loadMs / large.perKeyLoadMs);
        std::printf("lookup, last entry with comment: 500: %.1f us, 5000: %.1f us per call (goal <= 1000 us)\n",
                    small.lookupHitUs, large.lookupHitUs);
        std::printf("lookup, unknown name: 500: %.1f us, 5000: %.1f us per call\n", small.lookupMissUs,
                    large.lookupMissUs);
    }

    for (const int count : counts) {
        DeleteFileA((folder + "cvtpdb" + std::to_string(count) + ".ini").c_str());
        DeleteFileA((folder + "cvtpdb" + std::to_string(count) + "-aged.ini").c_str());
    }
    RemoveDirectoryA(folder.c_str());
    return 0;
}
