// Wine's relay trace of the programs a benchmark starts, and what a benchmark counts its runs with.
#pragma once

#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// How many times a benchmark measures each case: OPTIVUE_BENCHMARK_RUNS (set by tests/wine/benchmark), 3
// when it is not a positive number.
int BenchmarkRuns();

template <class T>
T Median(std::vector<T> values) {
    if (values.empty()) return T();
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One call that a traced program made to a traced system function, or one message that Wine handed to one
// of its window or dialog procedures, as Wine's relay trace writes it. The times are GetTickCount's, the
// clock of every process in the run.
struct TracedCall {
    std::string function;   // "user32.SetTimer"; "window proc 688A1820", "dialog proc 00401BD0" by address
    std::string arguments;  // as Wine writes them: "00020084,00000064,000007d0,00000000", "hwnd=...,msg=WM_TIMER,..."
    std::string result;     // "retval=00000064"; empty when the call did not return
    DWORD called = 0;
    DWORD returned = 0;  // `called` when the call did not return

    DWORD Ms() const { return returned - called; }
    // The argument at `index` (from 0), without its name: "000007d0", "WM_TIMER".
    std::string Argument(size_t index) const;
};

// Wine's relay trace of the programs that Start starts: a line for each call of `functions` and its return,
// and for each message handed to their window procedures, with the tick count and the process on it. Wine
// writes it to the run's standard error, which tests/wine/benchmark sends to the file it names in
// OPTIVUE_BENCHMARK_TRACE. The functions are Wine's RelayInclude, which the trace puts back when it goes.
class RelayTrace {
public:
    explicit RelayTrace(const std::string& functions);
    ~RelayTrace();
    RelayTrace(const RelayTrace&) = delete;
    RelayTrace& operator=(const RelayTrace&) = delete;

    // False when the run's standard error goes to no file that the trace can read.
    bool Available() const { return !path_.empty(); }
    // Starts optivue.exe as Program(version) does, traced, and so are the programs it starts.
    std::unique_ptr<Program> Start(const char* version) const;
    // The traced calls of the process, in the order they were made, from what Wine wrote since the trace
    // began.
    std::vector<TracedCall> CallsOf(DWORD processId) const;

private:
    std::string path_;
    unsigned long long start_ = 0;  // the file's size when the trace began
    test_platform::StoredValue savedInclude_;
};

}  // namespace e2e
