// What the end-to-end driver does to optivue.exe under Wine, as a person at the machine would: start it,
// find its windows, read what they show, press keys, click and wait for the program to end.
#pragma once

#include <windows.h>

#include <functional>
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
    // The confirmation of a size command: "Optivue" with the message text (control 1008) and "OK".
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

}  // namespace e2e
