// The editor model's costs against bare baselines, measured in the same run (native, release):
//  (a) SetText of a 10 MiB, 200,000-line report against splitting the bytes at CR LF;
//  (b) wrapping at Column 72: 20 MiB against 10 MiB (linear when about 2); scripts/bench also
//      counts its instructions under callgrind (--wrap-lines=N), which the memory system cannot sway;
//  (c) one typed character and one Backspace at the end of 200,000 rows against 2,000 rows.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <valgrind/callgrind.h>

#include "editor/VellEditModel.h"
#include "support/EditorFakes.h"

namespace {

// <chrono> cannot be compiled with the program's code page 932 literals; the POSIX clock serves.
double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

template <class F>
double Seconds(F&& f) {
    const double start = Now();
    f();
    return Now() - start;
}

// A report of the given number of lines, each like one process block line: 52 bytes with CR LF.
std::string Report(int lines) {
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 54);
    char line[96];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line, "PID : %08X  Name : proc%06d.exe  Threads : %-8d", i * 4, i, i % 97);
        text.append(line, 50).append("\r\n");
    }
    return text;
}

// The least a line store can do: copy each CR LF-terminated line into its own string.
std::vector<std::string> SplitBaseline(const std::string& text) {
    std::vector<std::string> rows;
    rows.reserve(text.size() / 28);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        end = end == std::string::npos ? text.size() : end + 2;
        rows.emplace_back(text, start, end - start);
        start = end;
    }
    return rows;
}

struct Editor {
    cvt::testing::FixedMeasurer font;
    cvt::testing::FakeView view;
    cvt::TVellEditModel model{font, cvt::IsCp932LeadByte, view};
    explicit Editor(bool wrap) {
        model.WindowCreated();
        model.Resized(800, 600);
        model.SetWordWrap(wrap);
    }
};

// Seconds per typed character plus Backspace at the end of a text of the given lines.
double TypingCost(int lines, bool wrap) {
    Editor e(wrap);
    e.model.SetText(Report(lines));
    cvt::KeyModifiers ctrl;
    ctrl.Ctrl = true;
    e.model.KeyDown(cvt::VellKey::End, ctrl);
    constexpr int kRounds = 2000;
    std::vector<double> runs;
    for (int r = 0; r < 7; ++r) {
        runs.push_back(Seconds([&] {
                           for (int i = 0; i < kRounds; ++i) {
                               e.model.CharTyped("x", false);
                               e.model.KeyDown(cvt::VellKey::Back, {});
                           }
                       }) /
                       kRounds);
    }
    return Median(runs);
}

}  // namespace

int main(int argc, char** argv) {
    // Under callgrind: only the wrapping of the given number of lines is counted.
    if (argc > 1 && std::strncmp(argv[1], "--wrap-lines=", 13) == 0) {
        Editor e(false);
        e.model.SetText(Report(std::atoi(argv[1] + 13)));
        CALLGRIND_START_INSTRUMENTATION;
        e.model.SetWordWrap(true);
        CALLGRIND_STOP_INSTRUMENTATION;
        return e.model.RowCount() > 0 ? 0 : 1;
    }
    const std::string tenMiB = Report(200'000);
    const std::string twentyMiB = Report(400'000);
    std::printf("report: %zu bytes, 200,000 lines\n", tenMiB.size());

    std::vector<double> base, model;
    for (int r = 0; r < 7; ++r) {
        base.push_back(Seconds([&] {
            auto rows = SplitBaseline(tenMiB);
            if (rows.size() != 200'000) std::abort();
        }));
        Editor e(false);
        model.push_back(Seconds([&] { e.model.SetText(tenMiB); }));
    }
    const double a = Median(model) / Median(base);
    std::printf("(a) SetText %.1f ms, split baseline %.1f ms: ratio %.2f (goal <= 2.0)\n", Median(model) * 1e3,
                Median(base) * 1e3, a);

    std::vector<double> wrap10, wrap20;
    for (int r = 0; r < 5; ++r) {
        Editor e10(false), e20(false);
        e10.model.SetText(tenMiB);
        e20.model.SetText(twentyMiB);
        wrap10.push_back(Seconds([&] { e10.model.SetWordWrap(true); }));
        wrap20.push_back(Seconds([&] { e20.model.SetWordWrap(true); }));
    }
    const double b = Median(wrap20) / Median(wrap10);
    std::printf("(b) wrap at Column 72, wall time: 10 MiB %.1f ms, 20 MiB %.1f ms: ratio %.2f (goal <= 2.2)\n",
                Median(wrap10) * 1e3, Median(wrap20) * 1e3, b);

    for (const bool wrap : {false, true}) {
        const double small = TypingCost(2'000, wrap);
        const double large = TypingCost(200'000, wrap);
        std::printf("(c) type + Backspace at the end, %s: 2,000 rows %.2f us, 200,000 rows %.2f us: ratio %.2f "
                    "(goal <= 1.2)\n",
                    wrap ? "wrapped" : "unwrapped", small * 1e6, large * 1e6, large / small);
    }
    return 0;
}
