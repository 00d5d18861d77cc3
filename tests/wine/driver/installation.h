// What both installers leave on the machine, as the end-to-end tests look at it: the installation folder,
// the Start menu entry, the registration under HKEY_LOCAL_MACHINE, the files' version resources, the
// deletions waiting for the next restart, and the program started from its Start menu entry; and the message
// an installer shows where it refuses.
#pragma once

#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The run's language is German (wine-run --lang de).
bool German();

const std::string& InstallationFolder();  // res/product.h's
const std::string& MakerFolder();         // the folder that holds it
std::string StartMenuEntry();             // Optivue.lnk among every user's programs
std::string FollowUpShortcut();           // the program's shortcut in this user's Startup folder

// A value under HKEY_LOCAL_MACHINE, where the registration lives.
test_platform::StoredValue MachineValue(const std::string& keyPath, const char* name);
bool MachineKeyExists(const std::string& keyPath);

// A string of the file's version resource, from its first translation; "(none)" and the like when missing.
std::string VersionString(const std::string& file, const char* name);
bool HasManifest(const std::string& file);

struct Shortcut {
    std::string target;
    std::string workingFolder;
};
// The shell link's target and working folder; empty when it cannot be read. Needs COM initialised.
Shortcut ReadShortcut(const std::string& path);

// What Windows does at the next restart, as MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT leaves it in
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager, PendingFileRenameOperations.
std::vector<std::string> DeletedAtRestart();  // the files and folders deleted then, as Windows names them
bool DeletedAtRestart(const std::string& path);
// Names a file for deletion at the next restart (replacing whatever was named before).
void PendDeletion(const std::string& path);
// Does the deletions as the restart does (by name; a folder that is not empty stays), and forgets them.
void DeleteAsAtRestart();
void ForgetDeletionsAtRestart();

// msiexec.exe in the system folder.
std::string Msiexec();

// Runs a program (an installer, msiexec) and waits for it; its exit code, or -1 when it did not end.
long RunToTheEnd(const std::string& path, const std::string& arguments, const char* version = nullptr);

// The message box of an installer run with its interface (a setup program, msiexec), read once it is in
// front and then answered with Enter, as a person would: its text. Fails the test, and returns "" without
// pressing a key, where no box comes up or it never comes to the front.
std::string ConfirmInstallerMessage(const Program& run);

// Starts the program as a user does, from its Start menu entry, checks that it runs from the installation
// folder, and closes it.
void ExpectStartsFromTheStartMenu();

}  // namespace e2e
