#include "tests/wine/driver/program.h"

#include "res/resource_ids.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

namespace e2e {
namespace {

std::string g_programPath;
std::string g_setupPath;
std::string g_packagePath;
std::string g_olderPackagePath;
std::string g_olderSetupPath;

constexpr const char* kAppDefaults = "Software\\Wine\\AppDefaults\\";

struct Search {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    Search* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) search->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleTopLevel(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

std::string Describe(HWND window) { return ClassName(window) + " \"" + Text(window) + "\""; }

}  // namespace

std::string WindowsPath(const std::string& path) {
    // A Unix path is found through the drive that Wine maps to the root.
    std::string windows = !path.empty() && path[0] == '/' ? "Z:" + path : path;
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

void SetProgramPath(const std::string& path) { g_programPath = WindowsPath(path); }
const std::string& ProgramPath() { return g_programPath; }
void SetSetupPath(const std::string& path) { g_setupPath = WindowsPath(path); }
const std::string& SetupPath() { return g_setupPath; }
void SetPackagePath(const std::string& path) { g_packagePath = WindowsPath(path); }
const std::string& PackagePath() { return g_packagePath; }
void SetOlderPackagePath(const std::string& path) { g_olderPackagePath = WindowsPath(path); }
const std::string& OlderPackagePath() { return g_olderPackagePath; }
void SetOlderSetupPath(const std::string& path) { g_olderSetupPath = WindowsPath(path); }
const std::string& OlderSetupPath() { return g_olderSetupPath; }

void ReadPathOptions(int argc, char** argv) {
    const struct {
        const char* name;
        void (*set)(const std::string& path);
    } options[] = {{"--program=", SetProgramPath},
                   {"--setup=", SetSetupPath},
                   {"--package=", SetPackagePath},
                   {"--older-package=", SetOlderPackagePath},
                   {"--older-setup=", SetOlderSetupPath}};
    for (int i = 1; i < argc; ++i)
        for (const auto& option : options)
            if (std::strncmp(argv[i], option.name, std::strlen(option.name)) == 0)
                option.set(argv[i] + std::strlen(option.name));
}

void UseVersion(const char* version, const std::string& programPath) {
    const std::string key = kAppDefaults + programPath.substr(programPath.find_last_of('\\') + 1);
    if (version)
        test_platform::PutString(key, "Version", version);
    else
        test_platform::DeleteKeyTree(key);
}

Program::Program(const char* version) : Program(g_programPath, "", version) {}

Program::Program(const std::string& path, const std::string& arguments, const char* version, bool held) {
    UseVersion(version, path);
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, held ? CREATE_SUSPENDED : 0, nullptr,
                        nullptr, &startup, &process_)) {
        std::memset(&process_, 0, sizeof process_);
        return;
    }
    if (!held) Resume();
}

void Program::Resume() {
    if (!process_.hThread) return;
    ResumeThread(process_.hThread);
    CloseHandle(process_.hThread);
    process_.hThread = nullptr;
}

Program::~Program() {
    Resume();
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kWaitMs);
    }
    CloseHandle(process_.hProcess);
}

HWND Program::WaitForWindow(const std::function<bool(HWND)>& match) const {
    if (!process_.hProcess) return nullptr;
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        for (HWND window : VisibleTopLevel(process_.dwProcessId))
            if (match(window)) return window;
        if (WaitForSingleObject(process_.hProcess, kPollMs) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

HWND Program::WaitForMainDialog() const {
    const HWND dialog = WaitForWindow([](HWND window) {
        return ClassName(window) == "#32770" && Text(window) == "Optivue" &&
               GetDlgItem(window, IDC_NORMAL_SIZE) != nullptr;
    });
    // Shown is not yet ready: the first input must find the dialog waiting for it.
    if (dialog) {
        WaitForInputIdle(process_.hProcess, kWaitMs);
        Sync(dialog);
    }
    return dialog;
}

HWND Program::WaitForMessageBox() const {
    return WaitForWindow([](HWND window) {
        return ClassName(window) == "#32770" && Text(window) == "Optivue" && GetDlgItem(window, 0xFFFF) != nullptr;
    });
}

HWND Program::WaitForConfirmation() const {
    return WaitForWindow([](HWND window) {
        return ClassName(window) == "#32770" && Text(window) == "Optivue" &&
               GetDlgItem(window, IDC_CONFIRM_MESSAGE) != nullptr && GetDlgItem(window, IDOK) != nullptr &&
               GetDlgItem(window, IDC_NORMAL_SIZE) == nullptr;
    });
}

HWND Program::WaitForChangedNotice() const {
    return WaitForWindow([](HWND window) {
        const HWND text = FindWindowExA(window, nullptr, "Static", nullptr);
        return ClassName(window) == "#32770" && Text(window) == "Optivue" && text &&
               Text(text) == "Settings have changed.";
    });
}

bool Program::WaitForExit(DWORD* exitCode) {
    if (!process_.hProcess) return false;
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        for (const std::string& seen : VisibleWindows()) {
            bool known = false;
            for (const std::string& recorded : windowsSeen_) known = known || recorded == seen;
            if (!known) windowsSeen_.push_back(seen);
        }
        if (WaitForSingleObject(process_.hProcess, kPollMs) == WAIT_OBJECT_0) {
            if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
            return true;
        }
    }
    return false;
}

std::vector<std::string> Program::VisibleWindows() const {
    std::vector<std::string> described;
    for (HWND window : VisibleTopLevel(process_.dwProcessId)) described.push_back(Describe(window));
    return described;
}

std::string StartupFolder() {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void CreateFileWithText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, "link", 4, &written, nullptr);
    CloseHandle(file);
}

}  // namespace e2e
