// The installer as an administrator and a user meet it: a silent install puts both programs into the fixed
// folder with their version and manifest, adds the Start menu entry and the entry under Add or Remove
// Programs, and the program starts from the Start menu in its folder; a silent uninstall removes all that
// and the program's own traces but not the user's appearance settings; a system the program does not
// support is refused, silently with an exit code and otherwise with a message in the system's language.
#include "res/product.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"

#include <objbase.h>
#include <shlobj.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using e2e::Program;
using test_platform::GetValue;
using test_platform::StoredValue;

const std::string kFolder = OPTIVUE_INSTALLATION_FOLDER;
const std::string kMakerFolder = kFolder.substr(0, kFolder.find_last_of('\\'));
const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Optivue";
const char* const kFiles[] = {"optivue.exe", "chgtheme.exe", "uninstall.exe"};
constexpr DWORD kUnsupportedSystem = 3;

bool German() {
    const char* language = std::getenv("OPTIVUE_TEST_LANG");
    return language && std::string(language) == "de";
}

std::string Folder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string StartMenuEntry() { return Folder(CSIDL_COMMON_PROGRAMS) + "\\Optivue.lnk"; }
std::string FollowUpShortcut() { return Folder(CSIDL_STARTUP | CSIDL_FLAG_CREATE) + "\\Optivue.lnk"; }

// A value under HKEY_LOCAL_MACHINE, where the registration lives.
StoredValue MachineValue(const std::string& keyPath, const char* name) {
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    BYTE data[1024];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
        value.exists = true;
        value.data.assign(data, data + size);
    }
    RegCloseKey(key);
    return value;
}

std::string MachineText(const char* name) {
    const StoredValue value = MachineValue(kUninstallKey, name);
    return value.exists ? std::string(value.data.begin(), value.data.end()).c_str() : "(none)";
}

bool MachineKeyExists(const std::string& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A string of the file's version resource, from its first translation.
std::string VersionString(const std::string& file, const char* name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return "(no version resource)";
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return "(unreadable)";
    WORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < 4)
        return "(no translation)";
    char path[128];
    wsprintfA(path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
    char* text = nullptr;
    if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&text), &length) || !text) return "(none)";
    return text;
}

bool HasManifest(const std::string& file) {
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    const bool found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) != nullptr;
    FreeLibrary(module);
    return found;
}

struct Shortcut {
    std::string target;
    std::string workingFolder;
};

Shortcut ReadShortcut(const std::string& path) {
    Shortcut shortcut;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return shortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = "";
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) shortcut.target = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) shortcut.workingFolder = text;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

// The process's image file, as the Wine server (or the kernel) keeps it: reading the other process's own
// module list (GetModuleFileNameExA) needs its memory, which cannot be read where 32-bit Wine runs under
// user-mode emulation. QueryFullProcessImageNameA arrived with Vista, so the headers for XP hide it.
std::string ImageOf(DWORD processId) {
    typedef BOOL(WINAPI * QueryFullProcessImageNameFn)(HANDLE, DWORD, LPSTR, PDWORD);
    const auto query = reinterpret_cast<QueryFullProcessImageNameFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    constexpr DWORD kProcessQueryLimitedInformation = 0x1000;
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    HANDLE process = OpenProcess(kProcessQueryLimitedInformation, FALSE, processId);
    if (query && process && !query(process, 0, path, &size)) path[0] = '\0';
    if (process) CloseHandle(process);
    return path;
}

// Runs the installer or the uninstaller and waits for it; its exit code, or -1 when it did not end.
long RunToTheEnd(const std::string& path, const std::string& arguments, const char* version = nullptr) {
    Program program(path, arguments, version);
    if (!program.Started()) return -1;
    DWORD exitCode = 0;
    return program.WaitForExit(&exitCode) ? static_cast<long>(exitCode) : -1;
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
    EXPECT_TRUE(HasManifest(kFolder + "\\optivue.exe"));
    EXPECT_TRUE(HasManifest(kFolder + "\\chgtheme.exe"));

    const Shortcut entry = ReadShortcut(StartMenuEntry());
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
    const HINSTANCE started = ShellExecuteA(nullptr, "open", StartMenuEntry().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    ASSERT_GT(reinterpret_cast<INT_PTR>(started), 32);
    HWND dialog = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&dialog] {
        dialog = FindWindowA("#32770", "Optivue");
        return dialog && GetDlgItem(dialog, 1010) && IsWindowVisible(dialog);
    })) << "no main window";
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    EXPECT_EQ(kFolder + "\\optivue.exe", ImageOf(processId));
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_NE(nullptr, process);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, e2e::kWaitMs));
    CloseHandle(process);
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
