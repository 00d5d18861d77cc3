// A benchmark, not a test: run it with tests/wine/benchmark. The time from the start of the process to its
// main window on screen, and the process's peak memory while the window is up, for optivue.exe and two
// floors built the same way: bare_dialog.exe, a small dialog that does nothing else, and picture_floor.exe,
// the program's own resources and main dialog template showing the system's three pictures and nothing else.
// What optivue.exe costs above the second floor is the program's own work.
#include "res/resource_ids.h"
#include "tests/support/test_platform.h"
#include "tests/wine/benchmarks/relay_trace.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
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

double Ratio(double value, double floor) { return floor > 0 ? value / floor : 0; }

// The medians of one program's runs.
struct Medians {
    DWORD startToWindowMs;
    SIZE_T peakWorkingSetKb;
    SIZE_T peakPrivateKb;
};

TEST(StartUp, BenchmarkTimeToTheMainWindowAndPeakMemory) {
    const int runs = e2e::BenchmarkRuns();
    const auto isMainDialog = [](HWND w) {
        return e2e::Text(w) == "Optivue" && GetDlgItem(w, IDC_NORMAL_SIZE) != nullptr;
    };
    // The two floors first, then the program; the runs take turns, so that a machine that slows down or
    // speeds up over the run weighs on all three alike.
    const struct {
        const char* label;
        std::string path;
        std::function<bool(HWND)> isMainWindow;
    } programs[] = {
        {"bare_dialog.exe (floor)", test_platform::ProgramFolder() + "bare_dialog.exe",
         [](HWND w) { return e2e::Text(w) == "Bare dialog"; }},
        {"picture_floor.exe (floor)", test_platform::ProgramFolder() + "picture_floor.exe", isMainDialog},
        {"optivue.exe", e2e::ProgramPath(), isMainDialog},
    };
    constexpr size_t kPrograms = sizeof programs / sizeof programs[0];
    std::vector<Sample> samples[kPrograms];
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < kPrograms; ++i) {
            const auto& program = programs[i];
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
            samples[i].push_back({shown - started, memory.PeakWorkingSetSize, memory.PeakPagefileUsage});
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(process.WaitForExit());
        }
    }

    Medians medians[kPrograms];
    for (size_t i = 0; i < kPrograms; ++i) {
        std::vector<DWORD> times;
        std::vector<SIZE_T> workingSets, privates;
        for (const Sample& sample : samples[i]) {
            times.push_back(sample.startToWindowMs);
            workingSets.push_back(sample.peakWorkingSet);
            privates.push_back(sample.peakPrivate);
        }
        medians[i] = {e2e::Median(times), e2e::Median(workingSets) / 1024, e2e::Median(privates) / 1024};
    }
    const Medians& bare = medians[0];
    const Medians& pictures = medians[1];
    std::printf("%-26s %5s %16s %17s %18s %14s %16s\n", "program", "runs", "start to window", "peak working set",
                "peak private bytes", "start: x floors", "private: x floors");
    for (size_t i = 0; i < kPrograms; ++i) {
        const Medians& m = medians[i];
        std::printf("%-26s %5d %14lums %14lu KB %15lu KB %6.2f / %5.2f %7.2f / %5.2f\n", programs[i].label, runs,
                    static_cast<unsigned long>(m.startToWindowMs), static_cast<unsigned long>(m.peakWorkingSetKb),
                    static_cast<unsigned long>(m.peakPrivateKb), Ratio(m.startToWindowMs, bare.startToWindowMs),
                    Ratio(m.startToWindowMs, pictures.startToWindowMs), Ratio(m.peakPrivateKb, bare.peakPrivateKb),
                    Ratio(m.peakPrivateKb, pictures.peakPrivateKb));
    }
    std::printf(
        "(medians; start to window: from CreateProcess until the driver sees the window; x floors: against\n"
        " bare_dialog.exe / picture_floor.exe)\n");
}

}  // namespace
