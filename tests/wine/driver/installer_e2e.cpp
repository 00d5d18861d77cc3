// The installer as an administrator and a user meet it: a silent install puts both programs into the fixed
// folder with their version and manifest, adds the Start menu entry and the entry under Add or Remove
// Programs, and the program starts from the Start menu in its folder, whatever /D= says; a silent uninstall
// removes all that and the program's own traces but not the user's appearance settings, and run in place
// it returns when that is done, so that the package can be installed at once; a system the program does
// not support is refused, silently with an exit code and otherwise with a message in the system's
// language; a folder that was there before with entries the setup program did not put there, or a removal
// still waiting for the next restart, is refused and left as it was.

#include "res/product.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/installation.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"

#include <msi.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using e2e::DeletedAtRestart;
using e2e::FollowUpShortcut;
using e2e::German;
using e2e::MachineKeyExists;
using e2e::MachineValue;
using e2e::Msiexec;
using e2e::PendDeletion;
using e2e::Program;
using e2e::RunToTheEnd;
using e2e::StartMenuEntry;
using e2e::VersionString;
using test_platform::GetValue;
using test_platform::StoredValue;

const std::string kFolder = e2e::InstallationFolder();
const std::string kMakerFolder = e2e::MakerFolder();
const std::string kUninstallKey = test_keys::kSetupUninstall;
const char* const kFiles[] = {"optivue.exe", "chgtheme.exe", "uninstall.exe"};
constexpr DWORD kUnsupportedSystem = 3;
constexpr long kFolderRefused = 7;
constexpr long kRemovalPending = 8;

std::string MachineText(const char* name) {
    const StoredValue value = MachineValue(kUninstallKey, name);
    return value.exists ? std::string(value.data.begin(), value.data.end()).c_str() : "(none)";
}

// What a user may put into the folder before an administrator installs: a library that the common controls
// load by name on Windows XP, the manifest that XP prefers to the program's own, the folder that makes XP
// load the program's libraries from beside it, and a program of the installed one's name.
const char* const kPlantedFiles[] = {"uxtheme.dll", "optivue.exe.manifest", "optivue.exe"};
const char* const kPlantedFolders[] = {"optivue.exe.local"};

std::string Content(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(missing)";
    char data[256];
    DWORD read = 0;
    const BOOL done = ReadFile(file, data, sizeof data, &read, nullptr);
    CloseHandle(file);
    return done ? std::string(data, read) : "(unreadable)";
}

void PutContent(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

bool NothingInstalled() {
    return !e2e::FileExists(kFolder) && !e2e::FileExists(StartMenuEntry()) && !MachineKeyExists(kUninstallKey);
}

class Installer : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(e2e::SetupPath().empty()) << "name the installer with --setup=PATH";
        CoInitialize(nullptr);
        RemoveInstallation();
        ASSERT_TRUE(NothingInstalled());
    }
    void TearDown() override {
        RemoveInstallation();
        e2e::UseVersion(nullptr, e2e::SetupPath());
        CoUninitialize();
    }

    // What an earlier run may have left, taken away without the setup program's uninstaller; the package
    // by its own.
    static void RemoveInstallation() {
        DeleteFileA(StartMenuEntry().c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey.c_str());
        char product[39];
        for (int tries = 3;
             tries > 0 && MsiEnumRelatedProductsA(OPTIVUE_PACKAGE_UPGRADE_CODE, 0, 0, product) == ERROR_SUCCESS;
             --tries)
            RunToTheEnd(Msiexec(), std::string("/x ") + product + " /qn");
        for (const char* file : kFiles) DeleteFileA((kFolder + "\\" + file).c_str());
        for (const char* file : kPlantedFiles) DeleteFileA((kFolder + "\\" + file).c_str());
        for (const char* folder : kPlantedFolders) RemoveDirectoryA((kFolder + "\\" + folder).c_str());
        RemoveDirectoryA(kFolder.c_str());
        // Files a removal moved aside for the next restart.
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((kMakerFolder + "\\*.tmp").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            DeleteFileA((kMakerFolder + "\\" + found.cFileName).c_str());
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        RemoveDirectoryA(kMakerFolder.c_str());
        // What an uninstaller run in place left for the next restart, which this prefix never has.
        e2e::ForgetDeletionsAtRestart();
    }

    // The user's settings the uninstall must leave and the program's traces it must remove.
    test_platform::SavedUserSettings saved_{
        {"Software\\Korvani", "Control Panel\\Cursors", "Control Panel\\Desktop\\WindowMetrics"}};
};

TEST_F(Installer, ASilentInstallPutsTheProgramInItsFolderWithItsEntriesAndItStartsFromTheStartMenu) {
    ASSERT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S"));

    for (const char* file : kFiles) EXPECT_TRUE(e2e::FileExists(kFolder + "\\" + file)) << file;
    for (const std::string& file : {kFolder + "\\optivue.exe", kFolder + "\\chgtheme.exe", e2e::SetupPath()}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(OPTIVUE_MAKER, VersionString(file, "CompanyName"));
        EXPECT_EQ(OPTIVUE_PRODUCT_NAME, VersionString(file, "ProductName"));
        EXPECT_EQ(OPTIVUE_VERSION_TEXT, VersionString(file, "FileVersion"));
        EXPECT_NE("(none)", VersionString(file, "FileDescription"));
    }
    EXPECT_TRUE(e2e::HasManifest(kFolder + "\\optivue.exe"));
    EXPECT_TRUE(e2e::HasManifest(kFolder + "\\chgtheme.exe"));

    const e2e::Shortcut entry = e2e::ReadShortcut(StartMenuEntry());
    EXPECT_EQ(kFolder + "\\optivue.exe", entry.target);
    EXPECT_EQ(kFolder, entry.workingFolder);

    EXPECT_EQ("Optivue", MachineText("DisplayName"));
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, MachineText("DisplayVersion"));
    EXPECT_EQ(OPTIVUE_MAKER, MachineText("Publisher"));
    EXPECT_EQ("\"" + kFolder + "\\uninstall.exe\"", MachineText("UninstallString"));
    EXPECT_EQ("\"" + kFolder + "\\uninstall.exe\" /S _?=" + kFolder, MachineText("QuietUninstallString"));
    const StoredValue size = MachineValue(kUninstallKey, "EstimatedSize");
    ASSERT_EQ(4u, size.data.size());
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), size.type);
    // Kilobytes: the two programs and the uninstaller take more than a megabyte.
    EXPECT_GT(size.data[0] | size.data[1] << 8 | size.data[2] << 16, 1024);

    // Started as a user starts it: the Start menu entry.
    e2e::ExpectStartsFromTheStartMenu();
}

TEST_F(Installer, ASilentUninstallRemovesTheProgramAndItsTracesButNotTheAppearance) {
    ASSERT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S"));
    // What the program leaves of its own: its key, with the flag of a pending follow-up run, and the
    // follow-up shortcut; and the appearance a size command left.
    test_platform::PutValue(test_keys::kProgram, "Changed", REG_DWORD, {1, 0, 0, 0});
    test_platform::PutString("Software\\Korvani\\Other", "Kept", "yes");
    e2e::CreateFileWithText(FollowUpShortcut());
    test_platform::PutString("Control Panel\\Cursors", "", "Optivue test pointers");
    test_platform::PutString("Control Panel\\Desktop\\WindowMetrics", "Shell Icon Size", "48");

    // The uninstaller hands the work to a copy of itself and ends: the removal is waited for.
    EXPECT_EQ(0, RunToTheEnd(kFolder + "\\uninstall.exe", "/S"));
    EXPECT_TRUE(e2e::WaitUntil([] { return !e2e::FileExists(kFolder) && !MachineKeyExists(kUninstallKey); }))
        << "still there after the uninstall";
    EXPECT_TRUE(NothingInstalled());
    EXPECT_FALSE(e2e::FileExists(kMakerFolder)) << "the maker's folder was left empty";
    EXPECT_FALSE(e2e::FileExists(FollowUpShortcut()));
    EXPECT_FALSE(test_platform::KeyExists(test_keys::kProgram));
    EXPECT_TRUE(test_platform::KeyExists("Software\\Korvani\\Other")) << "another program of the maker keeps its key";
    EXPECT_EQ(test_platform::TextWithNul("Optivue test pointers"), GetValue("Control Panel\\Cursors", "").data);
    EXPECT_EQ(test_platform::TextWithNul("48"),
              GetValue("Control Panel\\Desktop\\WindowMetrics", "Shell Icon Size").data);
}

TEST_F(Installer, TheFolderOptionIsIgnored) {
    const std::string elsewhere = "C:\\Optivue elsewhere";
    ASSERT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S /D=" + elsewhere));

    for (const char* file : kFiles) EXPECT_TRUE(e2e::FileExists(kFolder + "\\" + file)) << file;
    EXPECT_EQ(kFolder, MachineText("InstallLocation"));
    EXPECT_FALSE(e2e::FileExists(elsewhere));
    RemoveDirectoryA(elsewhere.c_str());
}

// The command the README gives administrators, registered as QuietUninstallString.
TEST_F(Installer, ASilentUninstallRunInPlaceReturnsWhenTheRemovalIsDoneSoThatThePackageInstalls) {
    ASSERT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S"));
    test_platform::PutValue(test_keys::kProgram, "Changed", REG_DWORD, {1, 0, 0, 0});
    e2e::CreateFileWithText(FollowUpShortcut());

    EXPECT_EQ(0, RunToTheEnd(kFolder + "\\uninstall.exe", "/S _?=" + kFolder));
    // Done when it returned, with nothing waited for.
    EXPECT_FALSE(e2e::FileExists(kFolder + "\\optivue.exe"));
    EXPECT_FALSE(e2e::FileExists(kFolder + "\\chgtheme.exe"));
    EXPECT_FALSE(e2e::FileExists(StartMenuEntry()));
    EXPECT_FALSE(MachineKeyExists(kUninstallKey));
    EXPECT_FALSE(e2e::FileExists(FollowUpShortcut()));
    EXPECT_FALSE(test_platform::KeyExists(test_keys::kProgram));
    // A running program cannot delete itself: the uninstaller moves out of the folder, which then goes, and
    // is deleted at the next restart. Where it cannot be moved while it runs (Wine), it stays in the folder
    // until that restart.
    const std::string uninstaller = kFolder + "\\uninstall.exe";
    EXPECT_TRUE(!e2e::FileExists(kFolder) ||
                (!e2e::FileExists(kFolder + "\\optivue.exe") && DeletedAtRestart(uninstaller)))
        << "the uninstaller is neither gone nor to be deleted at the next restart";

    // The package installs at once where the uninstaller moved out; where it stays in the folder until the
    // restart (Wine), the package refuses until then, so that the restart does not delete its files.
    if (e2e::FileExists(uninstaller)) {
        EXPECT_EQ(1603, RunToTheEnd(Msiexec(), "/i \"" + e2e::PackagePath() + "\" /qn"));
        EXPECT_FALSE(e2e::FileExists(kFolder + "\\optivue.exe"));
        RemoveInstallation();  // what the restart does
    }
    ASSERT_EQ(0, RunToTheEnd(Msiexec(), "/i \"" + e2e::PackagePath() + "\" /qn"));
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, VersionString(kFolder + "\\optivue.exe", "FileVersion"));
    char product[39];
    EXPECT_EQ(static_cast<UINT>(ERROR_SUCCESS), MsiEnumRelatedProductsA(OPTIVUE_PACKAGE_UPGRADE_CODE, 0, 0, product));
}

// The folder as a user may have made it before the installation. Each is refused, silently with its exit
// code, and the planted entries stay as they were; once the folder is gone the same setup program installs.
struct PlantedFolderCase {
    const char* name;
    bool installedBefore;            // the setup program's own installation is there
    std::vector<const char*> files;  // planted in the installation folder
    std::vector<const char*> folders;
};

const PlantedFolderCase kPlantedFolderCases[] = {
    {"ALibraryAManifestAndAFolder", false, {"uxtheme.dll", "optivue.exe.manifest"}, {"optivue.exe.local"}},
    // The name of an installed file, where no installation is registered: not the setup program's file.
    {"AProgramOfTheInstalledName", false, {"optivue.exe"}, {}},
    {"ALibraryBesideTheInstallation", true, {"uxtheme.dll"}, {}},
};

TEST_F(Installer, AFolderThatHoldsWhatTheSetupProgramDidNotPutThereIsRefusedAndKeptAsItWas) {
    for (const PlantedFolderCase& c : kPlantedFolderCases) {
        SCOPED_TRACE(c.name);
        RemoveInstallation();
        if (c.installedBefore) {
            ASSERT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S"));
        }
        CreateDirectoryA(kMakerFolder.c_str(), nullptr);
        CreateDirectoryA(kFolder.c_str(), nullptr);
        for (const char* folder : c.folders) ASSERT_TRUE(CreateDirectoryA((kFolder + "\\" + folder).c_str(), nullptr));
        for (const char* file : c.files) PutContent(kFolder + "\\" + file, std::string("planted ") + file);

        EXPECT_EQ(kFolderRefused, RunToTheEnd(e2e::SetupPath(), "/S"));
        for (const char* file : c.files)
            EXPECT_EQ(std::string("planted ") + file, Content(kFolder + "\\" + file)) << file;
        for (const char* folder : c.folders) EXPECT_TRUE(e2e::FileExists(kFolder + "\\" + folder)) << folder;
        if (c.installedBefore) {
            EXPECT_EQ(OPTIVUE_VERSION_TEXT, MachineText("DisplayVersion")) << "the installation is kept";
        } else {
            EXPECT_FALSE(e2e::FileExists(StartMenuEntry()));
            EXPECT_FALSE(MachineKeyExists(kUninstallKey));
            EXPECT_FALSE(e2e::FileExists(kFolder + "\\uninstall.exe"));
        }
    }

    // Not silent: the message names the folder and what to do.
    Program setup(e2e::SetupPath(), "");
    EXPECT_EQ(German()
                  ? "Der Ordner " + kFolder +
                        " ist bereits vorhanden und enth\xE4lt Dateien oder Ordner, die nicht von Optivue stammen. "
                        "Optivue wurde nicht installiert, und im Ordner wurde nichts ge\xE4ndert. Sehen Sie nach, "
                        "was der Ordner enth\xE4lt, l\xF6schen Sie ihn dann mit seinem ganzen Inhalt und starten "
                        "Sie dieses Setup-Programm erneut."
                  : "The folder " + kFolder +
                        " is already there and holds files or folders that Optivue did not put there. Optivue "
                        "was not installed, and nothing in the folder was changed. Look at what the folder "
                        "holds, then delete the folder with everything in it and run this setup program again.",
              e2e::ConfirmInstallerMessage(setup));
    DWORD exitCode = 0;
    ASSERT_TRUE(setup.WaitForExit(&exitCode));
    EXPECT_EQ(kFolderRefused, static_cast<long>(exitCode));
    EXPECT_EQ("planted uxtheme.dll", Content(kFolder + "\\uxtheme.dll"));

    // The folder gone, the same setup program installs.
    RemoveInstallation();
    ASSERT_FALSE(e2e::FileExists(kFolder));
    EXPECT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S"));
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, VersionString(kFolder + "\\optivue.exe", "FileVersion"));
}

// The package as the setup program: a folder planted before the installation, or a removal waiting for the
// restart, fails the installation (1603) with a message naming the folder, and what was planted stays;
// once the folder is gone the package installs.
TEST_F(Installer, ThePackageRefusesAFolderThatHoldsWhatItDidNotPutThere) {
    const std::string install = "/i \"" + e2e::PackagePath() + "\" ";
    ASSERT_TRUE(CreateDirectoryA(kMakerFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(kFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((kFolder + "\\optivue.exe.local").c_str(), nullptr));
    for (const char* file : {"uxtheme.dll", "optivue.exe.manifest", "optivue.exe"})
        PutContent(kFolder + "\\" + file, std::string("planted ") + file);

    EXPECT_EQ(1603, RunToTheEnd(Msiexec(), install + "/qn"));
    for (const char* file : {"uxtheme.dll", "optivue.exe.manifest", "optivue.exe"})
        EXPECT_EQ(std::string("planted ") + file, Content(kFolder + "\\" + file)) << file;
    EXPECT_TRUE(e2e::FileExists(kFolder + "\\optivue.exe.local"));
    EXPECT_FALSE(e2e::FileExists(StartMenuEntry()));
    char product[39];
    EXPECT_NE(static_cast<UINT>(ERROR_SUCCESS), MsiEnumRelatedProductsA(OPTIVUE_PACKAGE_UPGRADE_CODE, 0, 0, product));

    // With its basic interface: the message, in the user's language, names the folder.
    Program run(Msiexec(), install + "/qb");
    const std::string text = e2e::ConfirmInstallerMessage(run);
    EXPECT_EQ(0u, text.find((German() ? "Der Ordner " : "The folder ") + kFolder + (German() ? " war" : " was")))
        << text;
    DWORD exitCode = 0;
    ASSERT_TRUE(run.WaitForExit(&exitCode)) << ::testing::PrintToString(run.WindowsSeen());
    EXPECT_EQ(1603u, exitCode);
    EXPECT_EQ("planted uxtheme.dll", Content(kFolder + "\\uxtheme.dll"));

    RemoveInstallation();
    PendDeletion(kFolder + "\\chgtheme.exe");
    EXPECT_EQ(1603, RunToTheEnd(Msiexec(), install + "/qn")) << "a removal waits for the restart";
    EXPECT_FALSE(e2e::FileExists(kFolder + "\\chgtheme.exe"));

    RemoveInstallation();
    ASSERT_FALSE(e2e::FileExists(kFolder));
    EXPECT_EQ(0, RunToTheEnd(Msiexec(), install + "/qn"));
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, VersionString(kFolder + "\\optivue.exe", "FileVersion"));
}

// An empty folder that was there before is taken as it is, and the setup program's own installation is
// installed again over itself.
TEST_F(Installer, AnEmptyFolderAndItsOwnInstallationAreInstalledInto) {
    ASSERT_TRUE(CreateDirectoryA(kMakerFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(kFolder.c_str(), nullptr));
    EXPECT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S"));
    test_platform::PutValue(test_keys::kProgram, "Changed", REG_DWORD, {1, 0, 0, 0});
    e2e::CreateFileWithText(FollowUpShortcut());
    EXPECT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S"));
    for (const char* file : kFiles) EXPECT_TRUE(e2e::FileExists(kFolder + "\\" + file)) << file;
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, MachineText("DisplayVersion"));
    EXPECT_TRUE(e2e::FileExists(FollowUpShortcut())) << "the pending follow-up run is kept";
    EXPECT_EQ(std::vector<BYTE>({1, 0, 0, 0}), GetValue(test_keys::kProgram, "Changed").data);
    DeleteFileA(FollowUpShortcut().c_str());
}

// A removal that waits for the next restart deletes by name: while it names a file in the folder, nothing
// is installed there.
TEST_F(Installer, AnInstallationIsRefusedWhileARemovalWaitsForTheRestart) {
    PendDeletion(kFolder + "\\optivue.exe");
    EXPECT_EQ(kRemovalPending, RunToTheEnd(e2e::SetupPath(), "/S"));
    EXPECT_TRUE(NothingInstalled());

    Program setup(e2e::SetupPath(), "");
    EXPECT_EQ(German()
                  ? "Eine Entfernung von Optivue wartet auf den n\xE4"
                    "chsten Neustart von Windows, um Dateien im "
                    "Ordner " +
                        kFolder +
                        " zu l\xF6schen. Optivue wurde nicht installiert. Starten Sie Windows "
                        "neu, dann starten Sie dieses Setup-Programm erneut."
                  : "A removal of Optivue waits for the next restart of Windows to delete files in the folder " +
                        kFolder + ". Optivue was not installed. Restart Windows, then run this setup program again.",
              e2e::ConfirmInstallerMessage(setup));
    DWORD exitCode = 0;
    ASSERT_TRUE(setup.WaitForExit(&exitCode));
    EXPECT_EQ(kRemovalPending, static_cast<long>(exitCode));
    EXPECT_TRUE(NothingInstalled());
}

// A removal while the program still runs (in another session, where nobody closes it), then an
// installation before the restart: what the restart deletes is not the new installation's. A file in use
// that the removal could move is deleted at the restart under its new name, outside the folder, and the
// installation goes through; one it could not move (Wine does not move a running program) is deleted by
// its name, and the installation is refused until the restart.
TEST_F(Installer, ARemovalWhileTheProgramRunsLeavesTheNextInstallationAlone) {
    ASSERT_EQ(0, RunToTheEnd(e2e::SetupPath(), "/S"));
    Program running(kFolder + "\\optivue.exe", "");
    ASSERT_NE(nullptr, running.WaitForMainDialog());
    ASSERT_EQ(0, RunToTheEnd(kFolder + "\\uninstall.exe", "/S _?=" + kFolder));
    EXPECT_FALSE(MachineKeyExists(kUninstallKey));
    const std::vector<std::string> pending = DeletedAtRestart();
    EXPECT_FALSE(pending.empty()) << "nothing is deleted at the next restart";
    bool inFolder = false;
    for (const std::string& file : pending)
        inFolder = inFolder || !lstrcmpiA(file.substr(0, kFolder.size() + 1).c_str(), (kFolder + "\\").c_str());

    const long installed = RunToTheEnd(e2e::SetupPath(), "/S");
    if (inFolder) {
        EXPECT_EQ(kRemovalPending, installed) << "a file in the folder is deleted at the restart";
        EXPECT_FALSE(MachineKeyExists(kUninstallKey));
        EXPECT_FALSE(e2e::FileExists(StartMenuEntry()));
    } else {
        EXPECT_EQ(0, installed);
    }
    // Whichever it was: no file of a new installation is deleted at the restart.
    for (const std::string& file : pending) std::printf("deleted at the restart: %s\n", file.c_str());
    if (MachineKeyExists(kUninstallKey)) {
        for (const char* file : kFiles) EXPECT_FALSE(DeletedAtRestart(kFolder + "\\" + file)) << file;
    }
}

// The package's follow-up component carries a pending follow-up run across an upgrade. A repair (or a Group
// Policy redeploy) by an account without a pending run asks again and writes none: not the flag, not the
// shortcut. (As SYSTEM the component's condition refuses it as well; Wine runs no package as SYSTEM.)
TEST_F(Installer, ARepairOfThePackageWritesNoFollowUpRun) {
    test_platform::PutValue(test_keys::kProgram, "Changed", REG_DWORD, {1, 0, 0, 0});
    e2e::CreateFileWithText(FollowUpShortcut());
    ASSERT_EQ(0, RunToTheEnd(Msiexec(), "/i \"" + e2e::PackagePath() + "\" /qn"));
    EXPECT_EQ(std::vector<BYTE>({1, 0, 0, 0}), GetValue(test_keys::kProgram, "Changed").data);
    EXPECT_TRUE(e2e::FileExists(FollowUpShortcut()));

    // The run done, as the program leaves it; then the repair.
    test_platform::PutValue(test_keys::kProgram, "Changed", REG_DWORD, {0, 0, 0, 0});
    ASSERT_TRUE(DeleteFileA(FollowUpShortcut().c_str()));
    // What msiexec /fomus does; Wine's msiexec /f ends with 1 without a repair, so the properties are given.
    EXPECT_EQ(0, RunToTheEnd(Msiexec(), "/i \"" + e2e::PackagePath() + "\" REINSTALL=ALL REINSTALLMODE=omus /qn"));
    EXPECT_NE(std::vector<BYTE>({1, 0, 0, 0}), GetValue(test_keys::kProgram, "Changed").data);
    EXPECT_FALSE(e2e::FileExists(FollowUpShortcut()));
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, VersionString(kFolder + "\\optivue.exe", "FileVersion")) << "repaired";
}

TEST_F(Installer, ASystemTheProgramDoesNotSupportIsRefused) {
    // Windows 98, NT 4 and 95; Vista (NT 6.0) and 7 (NT 6.1), which the program would take for 2000 or XP.
    for (const char* version : {"win98", "nt40", "win95", "vista", "win7"}) {
        SCOPED_TRACE(version);
        EXPECT_EQ(static_cast<long>(kUnsupportedSystem), RunToTheEnd(e2e::SetupPath(), "/S", version));
        EXPECT_TRUE(NothingInstalled());
    }

    // Not silent: a message in the system's language, and the same end.
    Program setup(e2e::SetupPath(), "", "win98");
    EXPECT_EQ(German() ? "Optivue l\xE4uft nur unter Windows 2000 und Windows XP. Es kann auf diesem System nicht "
                         "installiert werden."
                       : "Optivue runs on Windows 2000 and Windows XP only. It cannot be installed on this system.",
              e2e::ConfirmInstallerMessage(setup));
    DWORD exitCode = 0;
    ASSERT_TRUE(setup.WaitForExit(&exitCode));
    EXPECT_EQ(kUnsupportedSystem, exitCode);
    EXPECT_TRUE(NothingInstalled());
}

}  // namespace
