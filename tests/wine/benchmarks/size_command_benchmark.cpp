// A benchmark, not a test: run it with tests/wine/benchmark. For the Large size on each variant, the time
// from the click on OK to the program's end beside the waits the program makes on purpose; what lies above
// them, the overhead, is split by Wine's relay trace into its parts, and set beside what the same calls
// cost a trivial caller, the part that belongs to Wine and the machine.
#include "tests/support/style_tool.h"
#include "tests/support/test_platform.h"
#include "tests/wine/benchmarks/relay_trace.h"
#include "tests/wine/benchmarks/size_command_overhead.h"
#include "tests/wine/driver/input.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/size_command_steps.h"
#include "tests/wine/driver/waits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace size_command;
using e2e::Floors;
using e2e::Ms;
using e2e::Overhead;
using e2e::PrintRow;
using e2e::Share;

TEST_F(SizeCommand, BenchmarkFromOkToTheEnd) {
    const struct {
        const System& system;
        DWORD fixedToNoticeMs;
    } variants[] = {
        {kSystems[0], FixedWaitsToNoticeMs(Variant::XpStyled)},
        {kSystems[1], FixedWaitsToNoticeMs(Variant::XpClassic)},
        {kSystems[4], FixedWaitsToNoticeMs(Variant::Win2000)},
    };
    const int runs = e2e::BenchmarkRuns();
    struct Row {
        long startToClick, overhead, traced;
        Overhead parts;  // each part the median of the traced runs
    };
    std::vector<Row> rows;
    for (const auto& variant : variants) {
        std::vector<long> startToClick, overhead, traced;
        std::vector<Overhead> split;
        for (int run = 0; run < 2 * runs; ++run) {
            const bool tracing = run % 2 == 1;
            SCOPED_TRACE(testing::Message()
                         << variant.system.label << ", run " << run / 2 + 1 << (tracing ? ", traced" : ""));
            // Each run from the same settings: the tool leaves a stored colour too long to be saved, after
            // which the switch would enumerate the colours up to its last index.
            const test_platform::SavedUserSettings settings(kTouchedKeys);
            Arrange(variant.system);
            test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);
            std::optional<e2e::RelayTrace> trace;
            if (tracing) trace.emplace(e2e::kTracedFunctions);
            ASSERT_TRUE(!trace || trace->Available()) << "no trace file: run the benchmark with tests/wine/benchmark";
            const DWORD started = GetTickCount();
            const std::unique_ptr<Program> program =
                trace ? trace->Start(variant.system.version) : std::make_unique<Program>(variant.system.version);
            const HWND dialog = program->WaitForMainDialog();
            ASSERT_NE(nullptr, dialog);
            ASSERT_TRUE(e2e::WaitForForeground(dialog));
            e2e::ClickOn(GetDlgItem(dialog, kLevels[1].button));
            e2e::Timings timings;
            ConfirmAndFollowToTheEnd(*program, dialog, kLevels[1], variant.system.variant, &timings);
            if (HasFatalFailure()) return;
            const long beyond = static_cast<long>(timings.ended - timings.clicked) -
                                static_cast<long>(variant.fixedToNoticeMs + kNoticeMs);
            if (!tracing) {
                startToClick.push_back(static_cast<long>(timings.clicked - started));
                overhead.push_back(beyond);
                continue;
            }
            Overhead parts;
            std::string why;
            ASSERT_TRUE(e2e::SplitOverhead(trace->CallsOf(program->Id()), timings, variant.fixedToNoticeMs, kNoticeMs,
                                           &parts, &why))
                << why;
            traced.push_back(beyond);
            split.push_back(parts);
        }
        Row row = {e2e::Median(startToClick), e2e::Median(overhead), e2e::Median(traced), split.front()};
        const auto median = [&split](long Overhead::*part) {
            std::vector<long> values;
            for (const Overhead& parts : split) values.push_back(parts.*part);
            return e2e::Median(values);
        };
        for (long Overhead::*part :
             {&Overhead::okTaken, &Overhead::okInProgram, &Overhead::procedure, &Overhead::broadcasts, &Overhead::shell,
              &Overhead::pausesOver, &Overhead::notice, &Overhead::end, &Overhead::received, &Overhead::answering})
            row.parts.*part = median(part);
        rows.push_back(row);
    }

    std::vector<UINT> actions;
    for (const Row& row : rows)
        for (UINT action : row.parts.broadcastActions)
            if (std::find(actions.begin(), actions.end(), action) == actions.end()) actions.push_back(action);
    const Floors floors = e2e::MeasureFloors(runs, actions);
    if (HasFatalFailure()) return;

    PrintRow("size command, Large", {"runs", "to OK", "fixed", "overhead", "traced", "OK", "proc", "bcast", "shell",
                                     "pauses", "notice", "end", "received", "floors", "above floors"});
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const Overhead& parts = row.parts;
        const DWORD fixed = variants[i].fixedToNoticeMs + kNoticeMs;
        double broadcastFloor = 0;
        for (UINT action : parts.broadcastActions) broadcastFloor += floors.broadcast.at(action);
        const double shellFloor = parts.shellNotifies * floors.shellNotify + parts.shellStarts * floors.shellStart;
        const double pausesFloor = parts.pauses * floors.pauseOver;
        // Each floor counts up to its part: a trivial caller slower than the program takes nothing off the rest.
        double floorSum = 0;
        const double okFloor = parts.okTaken - parts.okInProgram;
        for (const auto& [part, floor] : {std::pair<long, double>{parts.okTaken, okFloor},
                                          {parts.broadcasts, broadcastFloor},
                                          {parts.shell, shellFloor},
                                          {parts.pausesOver, pausesFloor},
                                          {parts.notice, floors.notice},
                                          {parts.end, floors.end}})
            floorSum += std::min(static_cast<double>(part), floor);
        char traced[32], received[32];
        std::snprintf(traced, sizeof traced, "%ldms (%+ld)", row.traced, row.traced - row.overhead);
        std::snprintf(received, sizeof received, "%ld in %s", parts.received, Ms(parts.answering).c_str());
        const double above = row.overhead - floorSum;
        PrintRow(variants[i].system.label,
                 {std::to_string(runs), Ms(row.startToClick), Ms(fixed),
                  Ms(row.overhead) + " (" + Share(row.overhead, fixed) + ")", traced, Ms(parts.okTaken),
                  Ms(parts.procedure), Ms(parts.broadcasts), Ms(parts.shell), Ms(parts.pausesOver), Ms(parts.notice),
                  Ms(parts.end), received, Ms(floorSum), Ms(above) + " (" + Share(above, fixed) + ")"});
        PrintRow("  floors of its calls", {"", "", "", "", "", Ms(okFloor), "", Ms(broadcastFloor), Ms(shellFloor),
                                           Ms(pausesFloor), Ms(floors.notice), Ms(floors.end)});
    }
    std::printf(
        "(medians of %d untraced and %d traced runs each. to OK: the process's start to the click on OK; fixed: the\n"
        "waits the program makes on purpose from OK to its end; overhead: OK to the end beyond them, untraced, and\n"
        "its share of them; traced: the same with Wine's relay trace on, and what the trace adds. The traced\n"
        "overhead in parts that add up to it: OK: the click to the confirmation's end; proc: the procedure's own\n"
        "work, its code and its other calls (registry, the icon view, hiding the window); bcast: in its\n"
        "SystemParametersInfoA calls with SPIF_SENDCHANGE and SetSysColors; shell: in SHChangeNotify and\n"
        "ShellExecuteExA; pauses: beyond their lengths; notice: the last pause's end to the notice up, its timer\n"
        "armed; end: the notice's %lu ms to the process gone. received: other programs' broadcasts answered during\n"
        "the pauses, and the time it took (no overhead). floors: the part of Wine and the machine, what the same\n"
        "calls cost a trivial caller (this driver; bare_dialog.exe from its close to its end), and for OK the part\n"
        "outside the program's dialog procedure; their sum counts each up to its part. above floors: the overhead\n"
        "less them, and its share of the waits.)\n",
        runs, runs, static_cast<unsigned long>(kNoticeMs));
}

}  // namespace
