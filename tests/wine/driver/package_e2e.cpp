// optivue.msi as an administrator rolls it out with msiexec, and optivue-setup.exe beside it: each case puts
// the machine in a state (nothing, the package's installation, an older package's, the setup program's, an
// older setup program's), runs msiexec or a setup program once, and checks the exit code, a message a person confirms
// where the run shows one, and the whole end state: the installation there is (the release's files, Start menu entry
// and one registration, or nothing of the package), the program's own traces (removed by a removal, kept otherwise),
// and the user's appearance settings and another program's key of the maker (always kept). A removal while
// the program runs is followed by an installation before the restart, which the restart must leave alone.
#include "res/product.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/installation.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"

#include <msi.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using e2e::InstallationFolder;
using e2e::Msiexec;
using test_platform::GetValue;
using test_platform::TextWithNul;

const std::string kSetupUninstallKey = test_keys::kSetupUninstall;
const char* const kProgramKey = test_keys::kProgram;
const char* const kOtherKey = "Software\\Korvani\\Other";
constexpr long kInstallFailure = 1603;   // ERROR_INSTALL_FAILURE: a launch condition refused
constexpr long kSetupBesidePackage = 5;  // optivue-setup.exe's exit codes
constexpr long kSetupOverNewerVersion = 6;

enum class Machine { Empty, Package, OlderPackage, Setup, OlderSetup };
enum class Tool { Msiexec, Setup, OlderSetup };

struct PackageCase {
    const char* name;
    Machine before;
    const char* system;  // what Wine tells msiexec or the setup program it runs on; null: Windows XP
    Tool tool;
    const char* action;  // msiexec's /i or /x, with the package; nothing for the setup program
    const char* ui;      // /qn, /qb; /S or nothing for the setup program
    long exitCode;
    Machine after;        // Empty: nothing of either installer is there; the setup program's is the release's
    bool removesTraces;   // the program's key and its follow-up shortcut (a pending follow-up run) are gone
    const char* english;  // the message the run shows and a person confirms; null: none
    const char* german;
    bool startFromMenu;
};

const char kUnsupportedEn[] =
    "Optivue runs on Windows 2000 and Windows XP only. It cannot be installed on this system.";
const char kUnsupportedDe[] =
    "Optivue l\xE4uft nur unter Windows 2000 und Windows XP. Es kann auf diesem System nicht installiert werden.";
const char kSetupPresentEn[] =
    "Optivue is already installed by its setup program optivue-setup.exe. Remove it under Add or Remove "
    "Programs first, then install this package.";
const char kSetupPresentDe[] =
    "Optivue ist bereits mit seinem Setup-Programm optivue-setup.exe installiert. Entfernen Sie es zuerst unter "
    "Software, dann installieren Sie dieses Paket.";
const char kNewerInstalledEn[] = "A newer version of Optivue is already installed.";
const char kNewerInstalledDe[] = "Eine neuere Version von Optivue ist bereits installiert.";
const char kPackagePresentEn[] =
    "Optivue is already installed from the Windows Installer package optivue.msi. Remove it under Add or "
    "Remove Programs first, then run this setup program.";
const char kPackagePresentDe[] =
    "Optivue ist bereits aus dem Windows-Installer-Paket optivue.msi installiert. Entfernen Sie es zuerst unter "
    "Software, dann starten Sie dieses Setup-Programm.";

const PackageCase kCases[] = {
    {"SilentInstall", Machine::Empty, nullptr, Tool::Msiexec, "/i", "/qn", 0, Machine::Package, false, nullptr, nullptr,
     true},
    {"SilentRemoval", Machine::Package, nullptr, Tool::Msiexec, "/x", "/qn", 0, Machine::Empty, true, nullptr, nullptr,
     false},
    {"SamePackageTwice", Machine::Package, nullptr, Tool::Msiexec, "/i", "/qn", 0, Machine::Package, false, nullptr,
     nullptr, false},
    // A pending follow-up run outlives the upgrade: only a real removal takes it.
    {"UpgradeFromOlderPackage", Machine::OlderPackage, nullptr, Tool::Msiexec, "/i", "/qn", 0, Machine::Package, false,
     nullptr, nullptr, true},
    {"SetupUpgradeFromOlderSetup", Machine::OlderSetup, nullptr, Tool::Setup, "", "/S", 0, Machine::Setup, false,
     nullptr, nullptr, true},
    {"SetupRefusedOverNewerVersion", Machine::Setup, nullptr, Tool::OlderSetup, "", "", kSetupOverNewerVersion,
     Machine::Setup, false, kNewerInstalledEn, kNewerInstalledDe, false},
    {"SetupRefusedSilentlyOverNewerVersion", Machine::Setup, nullptr, Tool::OlderSetup, "", "/S",
     kSetupOverNewerVersion, Machine::Setup, false, nullptr, nullptr, false},
    {"RefusedOnWindows98", Machine::Empty, "win98", Tool::Msiexec, "/i", "/qn", kInstallFailure, Machine::Empty, false,
     nullptr, nullptr, false},
    {"RefusedOnWindows95", Machine::Empty, "win95", Tool::Msiexec, "/i", "/qn", kInstallFailure, Machine::Empty, false,
     nullptr, nullptr, false},
    {"RefusedOnWindowsNt4", Machine::Empty, "nt40", Tool::Msiexec, "/i", "/qn", kInstallFailure, Machine::Empty, false,
     nullptr, nullptr, false},
    // NT 6.0 and 6.1, which the program would take for Windows 2000 or XP.
    {"RefusedOnWindowsVista", Machine::Empty, "vista", Tool::Msiexec, "/i", "/qn", kInstallFailure, Machine::Empty,
     false, nullptr, nullptr, false},
    {"RefusedOnWindows7", Machine::Empty, "win7", Tool::Msiexec, "/i", "/qn", kInstallFailure, Machine::Empty, false,
     nullptr, nullptr, false},
    {"RefusedOnWindows7WithMessage", Machine::Empty, "win7", Tool::Msiexec, "/i", "/qb", kInstallFailure,
     Machine::Empty, false, kUnsupportedEn, kUnsupportedDe, false},
    {"RefusedOnWindows98WithMessage", Machine::Empty, "win98", Tool::Msiexec, "/i", "/qb", kInstallFailure,
     Machine::Empty, false, kUnsupportedEn, kUnsupportedDe, false},
    {"RefusedBesideTheSetupProgramsInstallation", Machine::Setup, nullptr, Tool::Msiexec, "/i", "/qb", kInstallFailure,
     Machine::Setup, false, kSetupPresentEn, kSetupPresentDe, false},
    {"SetupProgramRefusedBesideThePackagesInstallation", Machine::Package, nullptr, Tool::Setup, "", "",
     kSetupBesidePackage, Machine::Package, false, kPackagePresentEn, kPackagePresentDe, false},
    {"SetupProgramRefusedSilentlyBesideThePackagesInstallation", Machine::Package, nullptr, Tool::Setup, "", "/S",
     kSetupBesidePackage, Machine::Package, false, nullptr, nullptr, false},
};

long RunMsiexec(const char* action, const std::string& package, const char* ui) {
    return e2e::RunToTheEnd(Msiexec(), std::string(action) + " \"" + package + "\" " + ui);
}

// The products installed from a package of this upgrade code: the release's and any older one's.
std::vector<std::string> InstalledProducts() {
    std::vector<std::string> products;
    char code[39];
    for (DWORD index = 0; MsiEnumRelatedProductsA(OPTIVUE_PACKAGE_UPGRADE_CODE, 0, index, code) == ERROR_SUCCESS;
         ++index)
        products.push_back(code);
    return products;
}

std::string ProductInfo(const std::string& product, const char* property) {
    char text[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    if (MsiGetProductInfoA(product.c_str(), property, text, &size) != ERROR_SUCCESS) return "(none)";
    return text;
}

bool SetupInstalled() {
    return e2e::FileExists(InstallationFolder() + "\\uninstall.exe") && e2e::MachineKeyExists(kSetupUninstallKey);
}

// The release's installation by the setup program: its files and its registration.
void ExpectSetupInstalled() {
    EXPECT_TRUE(SetupInstalled());
    EXPECT_TRUE(InstalledProducts().empty());
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, e2e::VersionString(InstallationFolder() + "\\optivue.exe", "FileVersion"));
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, e2e::VersionString(InstallationFolder() + "\\chgtheme.exe", "FileVersion"));
    const test_platform::StoredValue version = e2e::MachineValue(kSetupUninstallKey, "DisplayVersion");
    EXPECT_EQ(std::string(OPTIVUE_VERSION_TEXT), std::string(version.data.begin(), version.data.end()).c_str());
}

// The release's installation from the package: its files, its Start menu entry and one registration.
void ExpectPackageInstalled() {
    for (const char* file : {"optivue.exe", "chgtheme.exe"}) {
        const std::string path = InstallationFolder() + "\\" + file;
        SCOPED_TRACE(path);
        EXPECT_EQ(OPTIVUE_PRODUCT_NAME, e2e::VersionString(path, "ProductName"));
        EXPECT_EQ(OPTIVUE_VERSION_TEXT, e2e::VersionString(path, "FileVersion"));
        EXPECT_TRUE(e2e::HasManifest(path));
    }
    EXPECT_FALSE(e2e::FileExists(InstallationFolder() + "\\uninstall.exe")) << "the setup program's uninstaller";
    const e2e::Shortcut entry = e2e::ReadShortcut(e2e::StartMenuEntry());
    EXPECT_EQ(InstallationFolder() + "\\optivue.exe", entry.target);
    // Windows Installer writes a folder's path with its closing backslash.
    EXPECT_EQ(InstallationFolder() + "\\", entry.workingFolder);

    const std::vector<std::string> products = InstalledProducts();
    ASSERT_EQ(1u, products.size()) << "one entry under Add or Remove Programs";
    EXPECT_EQ(OPTIVUE_PRODUCT_NAME, ProductInfo(products[0], INSTALLPROPERTY_INSTALLEDPRODUCTNAME));
    EXPECT_EQ(OPTIVUE_VERSION_TEXT, ProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING));
    EXPECT_EQ(OPTIVUE_MAKER, ProductInfo(products[0], INSTALLPROPERTY_PUBLISHER));
    EXPECT_EQ(InstallationFolder(), ProductInfo(products[0], INSTALLPROPERTY_INSTALLLOCATION));
    const std::string icon = ProductInfo(products[0], INSTALLPROPERTY_PRODUCTICON);
    EXPECT_TRUE(e2e::FileExists(icon)) << "the icon " << icon;
    EXPECT_FALSE(e2e::MachineKeyExists(kSetupUninstallKey));
}

void ExpectNothingOfThePackage() {
    EXPECT_TRUE(InstalledProducts().empty());
    EXPECT_FALSE(e2e::FileExists(e2e::StartMenuEntry()));
}

// The entries of a folder, sorted; none when it is not there.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (lstrcmpA(found.cFileName, ".") && lstrcmpA(found.cFileName, "..")) entries.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool InInstallationFolder(const std::string& path) {
    const std::string folder = InstallationFolder() + "\\";
    return !lstrcmpiA(path.c_str(), InstallationFolder().c_str()) ||
           !lstrcmpiA(path.substr(0, folder.size()).c_str(), folder.c_str());
}

// A machine with nothing of either installer on it before and after each test.
class PackageMachine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(e2e::PackagePath().empty()) << "name the package with --package=PATH";
        ASSERT_FALSE(e2e::OlderPackagePath().empty()) << "name the older package with --older-package=PATH";
        ASSERT_FALSE(e2e::SetupPath().empty()) << "name the setup program with --setup=PATH";
        ASSERT_FALSE(e2e::OlderSetupPath().empty()) << "name the older setup program with --older-setup=PATH";
        CoInitialize(nullptr);
        RemoveEverything();
        ASSERT_TRUE(InstalledProducts().empty());
        ASSERT_FALSE(e2e::FileExists(InstallationFolder()));
    }
    void TearDown() override {
        e2e::UseVersion(nullptr, Msiexec());
        e2e::UseVersion(nullptr, e2e::SetupPath());
        e2e::UseVersion(nullptr, e2e::OlderSetupPath());
        RemoveEverything();
        DeleteFileA(e2e::FollowUpShortcut().c_str());
        CoUninitialize();
    }

    // Whatever either installer left, removed by its own uninstaller.
    static void RemoveEverything() {
        for (const std::string& product : InstalledProducts()) e2e::RunToTheEnd(Msiexec(), "/x " + product + " /qn");
        const std::string uninstaller = InstallationFolder() + "\\uninstall.exe";
        if (e2e::FileExists(uninstaller)) {
            e2e::RunToTheEnd(uninstaller, "/S");
            // The setup program's uninstaller hands the work to a copy of itself and ends.
            e2e::WaitUntil([] { return !e2e::FileExists(InstallationFolder()); });
        }
    }

    void Arrange(Machine machine) {
        switch (machine) {
            case Machine::Empty:
                break;
            case Machine::Package:
                ASSERT_EQ(0, RunMsiexec("/i", e2e::PackagePath(), "/qn"));
                break;
            case Machine::OlderPackage:
                ASSERT_EQ(0, RunMsiexec("/i", e2e::OlderPackagePath(), "/qn"));
                break;
            case Machine::Setup:
                ASSERT_EQ(0, e2e::RunToTheEnd(e2e::SetupPath(), "/S"));
                break;
            case Machine::OlderSetup:
                ASSERT_EQ(0, e2e::RunToTheEnd(e2e::OlderSetupPath(), "/S"));
                break;
        }
    }

    // The user's settings that no installer touches, and the program's traces that a removal takes.
    test_platform::SavedUserSettings saved_{
        {"Software\\Korvani", "Control Panel\\Cursors", "Control Panel\\Desktop\\WindowMetrics"}};
};

class MsiPackage : public PackageMachine, public testing::WithParamInterface<PackageCase> {};

TEST_P(MsiPackage, LeavesTheMachineAsAnAdministratorExpects) {
    const PackageCase& c = GetParam();
    Arrange(c.before);
    if (HasFatalFailure()) return;
    test_platform::PutValue(kProgramKey, "Changed", REG_DWORD, {1, 0, 0, 0});
    test_platform::PutString(kOtherKey, "Kept", "yes");
    e2e::CreateFileWithText(e2e::FollowUpShortcut());
    test_platform::PutString("Control Panel\\Cursors", "", "Optivue test pointers");
    test_platform::PutString("Control Panel\\Desktop\\WindowMetrics", "Shell Icon Size", "48");

    const std::string program = c.tool == Tool::Msiexec ? Msiexec()
                                : c.tool == Tool::Setup ? e2e::SetupPath()
                                                        : e2e::OlderSetupPath();
    std::string arguments = c.ui;
    if (c.tool == Tool::Msiexec) arguments = std::string(c.action) + " \"" + e2e::PackagePath() + "\" " + c.ui;
    e2e::Program run(program, arguments, c.system);
    ASSERT_TRUE(run.Started());
    if (c.english) {
        EXPECT_EQ(e2e::German() ? c.german : c.english, e2e::ConfirmInstallerMessage(run));
    }
    DWORD exitCode = 0;
    ASSERT_TRUE(run.WaitForExit(&exitCode)) << testing::PrintToString(run.WindowsSeen());
    EXPECT_EQ(c.exitCode, static_cast<long>(exitCode));

    switch (c.after) {
        case Machine::Package:
            ExpectPackageInstalled();
            break;
        case Machine::Setup:
            ExpectSetupInstalled();
            break;
        default:
            ExpectNothingOfThePackage();
            EXPECT_FALSE(e2e::FileExists(InstallationFolder()));
            EXPECT_FALSE(e2e::FileExists(e2e::MakerFolder())) << "the maker's folder was left empty";
            EXPECT_FALSE(e2e::MachineKeyExists(kSetupUninstallKey));
            break;
    }
    EXPECT_EQ(!c.removesTraces, test_platform::KeyExists(kProgramKey));
    EXPECT_EQ(!c.removesTraces, e2e::FileExists(e2e::FollowUpShortcut()));
    EXPECT_TRUE(test_platform::KeyExists(kOtherKey)) << "another program of the maker keeps its key";
    EXPECT_EQ(TextWithNul("Optivue test pointers"), GetValue("Control Panel\\Cursors", "").data);
    EXPECT_EQ(TextWithNul("48"), GetValue("Control Panel\\Desktop\\WindowMetrics", "Shell Icon Size").data);

    if (c.startFromMenu) {
        // A pending follow-up run would end the program before its window opens.
        test_platform::PutValue(kProgramKey, "Changed", REG_DWORD, {0, 0, 0, 0});
        e2e::ExpectStartsFromTheStartMenu();
    }
}

INSTANTIATE_TEST_SUITE_P(Msiexec, MsiPackage, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PackageCase>& info) { return info.param.name; });

// A removal while the program runs (in another session, where nobody closes it), then an installation before
// the restart: what the restart deletes is not the new installation's. The installation goes through where
// the removal left nothing in the folder; it is refused (1603), changing nothing, where a file was left there
// or a deletion at the restart names one. Wine's msiexec leaves the running program in the folder and names
// nothing for the restart: the package is then refused until the folder is deleted, as its message asks.
class MsiPackageRemoval : public PackageMachine {};

TEST_F(MsiPackageRemoval, WhileTheProgramRunsLeavesTheNextInstallationAlone) {
    Arrange(Machine::Package);
    if (HasFatalFailure()) return;
    e2e::Program running(InstallationFolder() + "\\optivue.exe", "");
    const HWND dialog = running.WaitForMainDialog();
    ASSERT_NE(nullptr, dialog);

    // ERROR_SUCCESS_REBOOT_REQUIRED where Windows Installer leaves a file in use for the restart.
    const long removed = RunMsiexec("/x", e2e::PackagePath(), "/qn");
    EXPECT_TRUE(removed == 0 || removed == ERROR_SUCCESS_REBOOT_REQUIRED) << removed;
    ExpectNothingOfThePackage();
    const std::vector<std::string> pending = e2e::DeletedAtRestart();
    const std::vector<std::string> left = Entries(InstallationFolder());
    for (const std::string& path : pending) std::printf("deleted at the restart: %s\n", path.c_str());
    for (const std::string& name : left) std::printf("left in the folder: %s\n", name.c_str());
    const bool pendingInFolder = std::any_of(pending.begin(), pending.end(), InInstallationFolder);

    const long installed = RunMsiexec("/i", e2e::PackagePath(), "/qn");
    if (installed == 0) {
        ExpectPackageInstalled();
        EXPECT_TRUE(left.empty()) << "installed into a folder that holds what the removal left";
        for (const std::string& path : pending) EXPECT_FALSE(InInstallationFolder(path)) << path;
    } else {
        EXPECT_EQ(kInstallFailure, installed);
        EXPECT_TRUE(pendingInFolder || !left.empty()) << "refused with nothing left in the folder or named there";
        ExpectNothingOfThePackage();
        EXPECT_EQ(left, Entries(InstallationFolder())) << "the refusal changed the folder";
    }

    // The program ends; Windows restarts.
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(running.WaitForExit());
    e2e::DeleteAsAtRestart();
    if (installed == 0) {
        ExpectPackageInstalled();
        return;
    }
    // What the refusal's message asks: the folder deleted with what it holds; then the package installs.
    for (const std::string& name : Entries(InstallationFolder()))
        EXPECT_TRUE(DeleteFileA((InstallationFolder() + "\\" + name).c_str())) << name;
    RemoveDirectoryA(InstallationFolder().c_str());
    RemoveDirectoryA(e2e::MakerFolder().c_str());
    EXPECT_EQ(0, RunMsiexec("/i", e2e::PackagePath(), "/qn"));
    ExpectPackageInstalled();
}

}  // namespace
