// The installer as an administrator and a user meet it: a silent install puts both programs into the fixed
// folder with their version and manifest, adds the Start menu entry and the entry under Add or Remove
// Programs, and the program starts from the Start menu in its folder; a silent uninstall removes all that
// and the program's own traces but not the user's appearance settings; a system the program does not
// support is refused, silently with an exit code and otherwise with a message in the system's language.
#include "res/product.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/installation.h"
#include "tests/wine/driver/program.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using e2e::FollowUpShortcut;
using e2e::German;
using e2e::MachineKeyExists;
using e2e::MachineValue;
using e2e::Program;
using e2e::RunToTheEnd;
using e2e::StartMenuEntry;
using e2e::VersionString;
using test_platform::GetValue;
using test_platform::StoredValue;

const std::string kFolder = e2e::InstallationFolder();
const std::string kMakerFolder = e2e::MakerFolder();
const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Optivue";
const char* const kFiles[] = {"optivue.exe", "chgtheme.exe", "uninstall.exe"};
constexpr DWORD kUnsupportedSystem = 3;

std::string MachineText(const char* name) {
    const StoredValue value = MachineValue(kUninstallKey, name);
    return value.exists ? std::string(value.data.begin(), value.data.end()).c_str() : "(none)";
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

    // What an earlier run may have left, taken away without the uninstaller.
    static void RemoveInstallation() {
        for (const char* file : kFiles) DeleteFileA((kFolder + "\\" + file).c_str());
        RemoveDirectoryA(kFolder.c_str());
        RemoveDirectoryA(kMakerFolder.c_str());
        DeleteFileA(StartMenuEntry().c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey.c_str());
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
    EXPECT_EQ("\"" + kFolder + "\\uninstall.exe\" /S", MachineText("QuietUninstallString"));
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
    test_platform::PutValue("Software\\Korvani\\optiv", "Changed", REG_DWORD, {1, 0, 0, 0});
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
    EXPECT_FALSE(test_platform::KeyExists("Software\\Korvani\\optiv"));
    EXPECT_TRUE(test_platform::KeyExists("Software\\Korvani\\Other")) << "another program of the maker keeps its key";
    EXPECT_EQ(test_platform::TextWithNul("Optivue test pointers"), GetValue("Control Panel\\Cursors", "").data);
    EXPECT_EQ(test_platform::TextWithNul("48"),
              GetValue("Control Panel\\Desktop\\WindowMetrics", "Shell Icon Size").data);
}

TEST_F(Installer, ASystemTheProgramDoesNotSupportIsRefused) {
    for (const char* version : {"win98", "nt40", "win95"}) {
        SCOPED_TRACE(version);
        EXPECT_EQ(static_cast<long>(kUnsupportedSystem), RunToTheEnd(e2e::SetupPath(), "/S", version));
        EXPECT_TRUE(NothingInstalled());
    }

    // Not silent: a message in the system's language, and the same end.
    Program setup(e2e::SetupPath(), "", "win98");
    const HWND box = setup.WaitForWindow([](HWND w) { return GetDlgItem(w, 0xFFFF) != nullptr; });
    ASSERT_NE(nullptr, box) << ::testing::PrintToString(setup.VisibleWindows());
    EXPECT_EQ(German() ? "Optivue l\xE4uft nur unter Windows 2000 und Windows XP. Es kann auf diesem System nicht "
                         "installiert werden."
                       : "Optivue runs on Windows 2000 and Windows XP only. It cannot be installed on this system.",
              e2e::Text(GetDlgItem(box, 0xFFFF)));
    ASSERT_TRUE(e2e::WaitForForeground(box));
    e2e::PressKey(VK_RETURN);
    DWORD exitCode = 0;
    ASSERT_TRUE(setup.WaitForExit(&exitCode));
    EXPECT_EQ(kUnsupportedSystem, exitCode);
    EXPECT_TRUE(NothingInstalled());
}

}  // namespace
