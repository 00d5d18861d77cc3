#include "tests/wine/driver/installation.h"

#include "res/product.h"
#include "res/resource_ids.h"
#include "tests/wine/driver/input.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"

#include <objbase.h>
#include <shlobj.h>
#include <winver.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace e2e {
namespace {

std::string Folder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// The process's image file, as the Wine server (or the kernel) keeps it: reading the other process's own
// module list (GetModuleFileNameExA) needs its memory, which cannot be read where 32-bit Wine runs under
// user-mode emulation. QueryFullProcessImageNameA arrived with Vista, so the headers for XP hide it.
std::string ImageOf(DWORD processId) {
    typedef BOOL(WINAPI * QueryFullProcessImageNameFn)(HANDLE, DWORD, LPSTR, PDWORD);
    const auto query = reinterpret_cast<QueryFullProcessImageNameFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    constexpr DWORD kProcessQueryLimitedInformation = 0x1000;
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    HANDLE process = OpenProcess(kProcessQueryLimitedInformation, FALSE, processId);
    if (query && process && !query(process, 0, path, &size)) path[0] = '\0';
    if (process) CloseHandle(process);
    return path;
}

}  // namespace

bool German() {
    const char* language = std::getenv("OPTIVUE_TEST_LANG");
    return language && std::string(language) == "de";
}

const std::string& InstallationFolder() {
    static const std::string folder = OPTIVUE_INSTALLATION_FOLDER;
    return folder;
}

const std::string& MakerFolder() {
    static const std::string folder = InstallationFolder().substr(0, InstallationFolder().find_last_of('\\'));
    return folder;
}

std::string StartMenuEntry() { return Folder(CSIDL_COMMON_PROGRAMS) + "\\Optivue.lnk"; }
std::string FollowUpShortcut() { return Folder(CSIDL_STARTUP | CSIDL_FLAG_CREATE) + "\\Optivue.lnk"; }

test_platform::StoredValue MachineValue(const std::string& keyPath, const char* name) {
    return test_platform::GetValue(keyPath, name, HKEY_LOCAL_MACHINE);
}

bool MachineKeyExists(const std::string& keyPath) { return test_platform::KeyExists(keyPath, HKEY_LOCAL_MACHINE); }

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

namespace {

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

}  // namespace

// The value holds pairs of names, each ending in a NUL: the file ("\\??\\C:\\..."), then where it goes (empty:
// nowhere). The buffer ends in NULs that the value does not fill.
std::vector<std::string> DeletedAtRestart() {
    std::vector<std::string> files;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return files;
    std::vector<char> names(64 * 1024, '\0');
    DWORD size = static_cast<DWORD>(names.size() - 3);
    const bool read = RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(names.data()), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    const char* name = names.data();
    while (read && *name) {
        const std::string file = name;
        name += file.size() + 1;
        const std::string target = name;
        name += target.size() + 1;
        if (target.empty()) files.push_back(file.compare(0, 4, "\\??\\") ? file : file.substr(4));
    }
    return files;
}

bool DeletedAtRestart(const std::string& path) {
    for (const std::string& file : DeletedAtRestart())
        if (!lstrcmpiA(file.c_str(), path.c_str())) return true;
    return false;
}

void PendDeletion(const std::string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key));
    const std::string names = "\\??\\" + path + std::string(3, '\0');
    RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(names.data()),
                   static_cast<DWORD>(names.size()));
    RegCloseKey(key);
}

void DeleteAsAtRestart() {
    for (const std::string& path : DeletedAtRestart())
        if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
    ForgetDeletionsAtRestart();
}

void ForgetDeletionsAtRestart() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, "PendingFileRenameOperations");
    RegCloseKey(key);
}

std::string Msiexec() {
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\msiexec.exe";
}

long RunToTheEnd(const std::string& path, const std::string& arguments, const char* version) {
    Program program(path, arguments, version);
    if (!program.Started()) return -1;
    DWORD exitCode = 0;
    return program.WaitForExit(&exitCode) ? static_cast<long>(exitCode) : -1;
}

std::string ConfirmInstallerMessage(const Program& run) {
    const HWND box = run.WaitForWindow([](HWND w) { return GetDlgItem(w, 0xFFFF) != nullptr; });
    if (!box) {
        ADD_FAILURE() << "no message box; windows up: " << ::testing::PrintToString(run.VisibleWindows());
        return "";
    }
    const std::string text = Text(GetDlgItem(box, 0xFFFF));
    if (!WaitForForeground(box)) {
        ADD_FAILURE() << "the message box never came to the front: " << text;
        return "";
    }
    PressKey(VK_RETURN);
    return text;
}

void ExpectStartsFromTheStartMenu() {
    const HINSTANCE started = ShellExecuteA(nullptr, "open", StartMenuEntry().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    ASSERT_GT(reinterpret_cast<INT_PTR>(started), 32);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&dialog] {
        dialog = FindWindowA("#32770", "Optivue");
        return dialog && GetDlgItem(dialog, IDC_NORMAL_SIZE) && IsWindowVisible(dialog);
    })) << "no main window";
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    EXPECT_EQ(InstallationFolder() + "\\optivue.exe", ImageOf(processId));
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_NE(nullptr, process);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, kWaitMs));
    CloseHandle(process);
}

}  // namespace e2e
