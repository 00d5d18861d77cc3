// A benchmark, not a test: run it with tests/wine/benchmark. The time from the start of the process to its
// main window on screen, and the process's peak memory while the window is up, for optivue.exe and for
// bare_dialog.exe, a dialog program built the same way that does nothing else (the floor).
#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using e2e::Program;

struct Sample {
    DWORD startToWindowMs;
    SIZE_T peakWorkingSet;
    SIZE_T peakPrivate;
};

template <class T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TEST(StartUp, DISABLED_BenchmarkTimeToTheMainWindowAndPeakMemory) {
    const char* runsOption = std::getenv("OPTIVUE_BENCHMARK_RUNS");
    const int runs = runsOption && std::atoi(runsOption) > 0 ? std::atoi(runsOption) : 3;
    const struct {
        const char* label;
        std::string path;
        std::function<bool(HWND)> isMainWindow;
    } programs[] = {
        {"bare_dialog.exe (floor)", test_platform::ProgramFolder() + "bare_dialog.exe",
         [](HWND w) { return e2e::Text(w) == "Bare dialog"; }},
        {"optivue.exe", e2e::ProgramPath(),
         [](HWND w) { return e2e::Text(w) == "Optivue" && GetDlgItem(w, 1010) != nullptr; }},
    };
    std::printf("%-26s %5s %16s %17s %18s\n", "program", "runs", "start to window", "peak working set",
                "peak private bytes");
    for (const auto& program : programs) {
        std::vector<DWORD> times;
        std::vector<SIZE_T> workingSets, privates;
        for (int run = 0; run < runs; ++run) {
            SCOPED_TRACE(testing::Message() << program.label << ", run " << run + 1);
            const DWORD started = GetTickCount();
            Program process(program.path, "");
            ASSERT_TRUE(process.Started());
            const HWND window = process.WaitForWindow(program.isMainWindow);
            const DWORD shown = GetTickCount();
            ASSERT_NE(nullptr, window);
            e2e::Sync(window);
            PROCESS_MEMORY_COUNTERS memory = {};
            memory.cb = sizeof memory;
            ASSERT_TRUE(GetProcessMemoryInfo(process.Handle(), &memory, sizeof memory));
            times.push_back(shown - started);
            workingSets.push_back(memory.PeakWorkingSetSize);
            privates.push_back(memory.PeakPagefileUsage);
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(process.WaitForExit());
        }
        std::printf("%-26s %5d %14lums %14lu KB %15lu KB\n", program.label, runs,
                    static_cast<unsigned long>(Median(times)), static_cast<unsigned long>(Median(workingSets) / 1024),
                    static_cast<unsigned long>(Median(privates) / 1024));
    }
    std::printf("(medians; start to window: from CreateProcess until the driver sees the window)\n");
}

}  // namespace
