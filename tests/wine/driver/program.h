// What the end-to-end driver does to optivue.exe under Wine, as a person at the machine would: start it,
// find its windows, read what they show, press keys, click and wait for the program to end.
#pragma once

#include "tests/support/test_platform.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// A program start under an emulated Wine can take seconds; these only bound how long a wait may last.
constexpr DWORD kWaitMs = 60000;

// A Unix or a Windows path as Windows names it.
std::string WindowsPath(const std::string& path);

// The program under test and its installer, named on the driver's command line.
void SetProgramPath(const std::string& path);
const std::string& ProgramPath();  // as Windows names it
void SetSetupPath(const std::string& path);
const std::string& SetupPath();
// The setup program of a lower version, for the upgrade and the refused downgrade.
void SetOlderSetupPath(const std::string& path);
const std::string& OlderSetupPath();
// The Windows Installer package, and one of a lower version for the upgrade.
void SetPackagePath(const std::string& path);
const std::string& PackagePath();
void SetOlderPackagePath(const std::string& path);
const std::string& OlderPackagePath();

// The version Wine reports to the program at `programPath` alone ("win2k", "win98", ...); null: the run's
// own.
void UseVersion(const char* version, const std::string& programPath = ProgramPath());

class Program {
public:
    // Starts the program with `version` reported to it (null: the run's own).
    explicit Program(const char* version = nullptr);
    // Starts another program, with its arguments; `held`: stopped before its first instruction until
    // Resume, so that several can be let go at the same moment.
    Program(const std::string& path, const std::string& arguments, const char* version = nullptr, bool held = false);
    void Resume();
    // Ends the process if it still runs.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    DWORD Id() const { return process_.dwProcessId; }
    HANDLE Handle() const { return process_.hProcess; }
    bool Ended() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

    // The first visible top-level window of the process that `match` accepts, waited for; null when none
    // came or the process ended first.
    HWND WaitForWindow(const std::function<bool(HWND)>& match) const;
    // The main dialog: "Optivue" with the "Normal Size" button.
    HWND WaitForMainDialog() const;
    // A message box: "Optivue" with the message text (control 0xFFFF).
    HWND WaitForMessageBox() const;
    // The confirmation of a size command: "Optivue" with the message text (IDC_CONFIRM_MESSAGE) and "OK".
    HWND WaitForConfirmation() const;
    // The notice at the end of a size command: "Optivue" saying "Settings have changed.".
    HWND WaitForChangedNotice() const;

    // Waits for the end of the process; false when it did not end. Records the visible top-level windows
    // seen meanwhile.
    bool WaitForExit(DWORD* exitCode = nullptr);
    const std::vector<std::string>& WindowsSeen() const { return windowsSeen_; }

    // The visible top-level windows of the process now, as "class \"title\"".
    std::vector<std::string> VisibleWindows() const;

private:
    PROCESS_INFORMATION process_ = {};
    std::vector<std::string> windowsSeen_;
};

std::string Text(HWND window);
std::string ClassName(HWND window);
// The window's rectangle in the client coordinates of `parent`.
RECT RectIn(HWND window, HWND parent);
// The window with the keyboard focus in the thread of `window`.
HWND Focus(HWND window);
// Waits until the window is the foreground window; false when it does not become it.
bool WaitForForeground(HWND window);
// Lets the window's thread handle everything sent or posted to it before.
void Sync(HWND window);

// What another program's windows hold that only that program can read (window_probe.dll).
// The font a control draws with.
struct ControlFont {
    bool found = false;
    LONG height = 0;
    std::string face;
    DWORD handle = 0;  // the font's handle in that program
};
ControlFont FontOf(HWND dialog, int controlId);
// The window's system menu, an entry for each item: "separator" or the command and the text, "16 &About...".
std::vector<std::string> SystemMenuOf(HWND window);
// The file of the common controls library the window's program draws with; empty when unknown.
std::string ControlsLibraryOf(HWND window);

// The user's Startup folder, made when it is missing, and files in it.
std::string StartupFolder();
bool FileExists(const std::string& path);
void CreateFileWithText(const std::string& path);  // a few bytes; fails the test when it cannot

// Keyboard and mouse input to whatever has the focus, as the user would give it.
void PressKey(WORD key);
void PressKeyWithAlt(WORD key);
void ClickAt(POINT screen);
void ClickOn(HWND window);  // its middle

// Waits (up to kWaitMs) until the window is destroyed; false when it is still there.
bool WaitUntilGone(HWND window);
// Waits (up to kWaitMs) until `condition` holds; false when it never did.
bool WaitUntil(const std::function<bool()>& condition);

// The middle of the close box in the window's caption, on the screen.
POINT CloseBoxOf(HWND window);

// ---- Benchmarks ----
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
    DWORD returned = 0;     // `called` when the call did not return

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
