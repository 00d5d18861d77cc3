// The programs the end-to-end driver starts under Wine: optivue.exe and its installers, named on the
// command line, each process started with the system version Wine reports to it, its windows waited for
// and its end; and the user's Startup folder. What the driver reads of the windows is window_reading.h's,
// its input input.h's and its waits waits.h's.
#pragma once

#include "tests/wine/driver/waits.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

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
// Sets the paths above from the command line's --program=, --setup=, --package=, --older-package= and
// --older-setup=.
void ReadPathOptions(int argc, char** argv);

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

// The user's Startup folder, made when it is missing, and files in it.
std::string StartupFolder();
bool FileExists(const std::string& path);
void CreateFileWithText(const std::string& path);  // a few bytes; fails the test when it cannot

}  // namespace e2e
