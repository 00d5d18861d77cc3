#include "tests/wine/driver/program.h"

#include "res/resource_ids.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/window_probe.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace e2e {
namespace {

std::string g_programPath;
std::string g_setupPath;
std::string g_packagePath;
std::string g_olderPackagePath;
std::string g_olderSetupPath;

constexpr const char* kAppDefaults = "Software\\Wine\\AppDefaults\\";
constexpr DWORD kPollMs = 20;

constexpr const char* kWineDebugKey = "Software\\Wine\\Debug";
constexpr const char* kRelayInclude = "RelayInclude";
// The relay channel alone, with the tick count and the process on each line.
constexpr const char* kRelayChannels = "-all,+timestamp,+pid,+relay";

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

void SendKey(WORD key, bool up) {
    INPUT input;
    std::memset(&input, 0, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// Each event carries its own position: Wine places a button event without one where the pointer was last
// seen on the display, not where SetCursorPos put it.
void SendMouse(POINT screen, DWORD flags) {
    INPUT input;
    std::memset(&input, 0, sizeof input);
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

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

void UseVersion(const char* version, const std::string& programPath) {
    const std::string key = kAppDefaults + programPath.substr(programPath.find_last_of('\\') + 1);
    if (version) test_platform::PutString(key, "Version", version);
    else test_platform::DeleteKeyTree(key);
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

std::string Text(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND Focus(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

bool WaitForForeground(HWND window) {
    return WaitUntil([window] { return GetForegroundWindow() == window; });
}

void Sync(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result);
}

namespace {

// Sends `message` to `window` with the probe hooked into the window's thread; true when it got there.
bool Probe(HWND window, const char* message, WPARAM wParam) {
    // The probe library lies next to the driver.
    const std::string library = test_platform::ProgramFolder() + window_probe::kLibrary;
    HMODULE probe = LoadLibraryA(library.c_str());
    if (!probe) return false;
    auto procedure = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, window_probe::kHookProcedure)));
    HHOOK hook = procedure ? SetWindowsHookExA(WH_CALLWNDPROC, procedure, probe, GetWindowThreadProcessId(window, nullptr))
                           : nullptr;
    DWORD_PTR ignored = 0;
    const bool sent = hook && SendMessageTimeoutA(window, RegisterWindowMessageA(message), wParam, 0, SMTO_NORMAL,
                                                  kWaitMs, &ignored);
    if (hook) UnhookWindowsHookEx(hook);
    FreeLibrary(probe);
    return sent;
}

std::string ReportedText(const char* name) {
    const test_platform::StoredValue value = test_platform::GetValue(window_probe::kReportKey, name);
    return value.data.empty() ? "" : std::string(value.data.begin(), value.data.end() - 1);
}

DWORD ReportedDword(const char* name, bool* found) {
    const test_platform::StoredValue value = test_platform::GetValue(window_probe::kReportKey, name);
    DWORD number = 0;
    *found = *found && value.data.size() == sizeof number;
    if (value.data.size() == sizeof number) std::memcpy(&number, value.data.data(), sizeof number);
    return number;
}

}  // namespace

ControlFont FontOf(HWND dialog, int controlId) {
    ControlFont font;
    test_platform::DeleteKeyTree(window_probe::kReportKey);
    if (Probe(dialog, window_probe::kFontMessage, static_cast<WPARAM>(controlId))) {
        font.found = true;
        font.height = static_cast<LONG>(ReportedDword("Height", &font.found));
        font.handle = ReportedDword("Handle", &font.found);
        font.face = ReportedText("Face");
    }
    test_platform::DeleteKeyTree(window_probe::kReportKey);
    return font;
}

std::vector<std::string> SystemMenuOf(HWND window) {
    std::vector<std::string> items;
    test_platform::DeleteKeyTree(window_probe::kReportKey);
    bool found = Probe(window, window_probe::kSystemMenuMessage, 0);
    const DWORD count = ReportedDword("Count", &found);
    for (DWORD i = 0; found && i < count; ++i) items.push_back(ReportedText(("Item" + std::to_string(i)).c_str()));
    test_platform::DeleteKeyTree(window_probe::kReportKey);
    return items;
}

std::string ControlsLibraryOf(HWND window) {
    test_platform::DeleteKeyTree(window_probe::kReportKey);
    const std::string path = Probe(window, window_probe::kControlsLibraryMessage, 0) ? ReportedText("Path") : "";
    test_platform::DeleteKeyTree(window_probe::kReportKey);
    return path;
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

bool WaitUntilGone(HWND window) {
    return WaitUntil([window] { return !IsWindow(window); });
}

bool WaitUntil(const std::function<bool()>& condition) {
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        if (condition()) return true;
        Sleep(kPollMs);
    }
    return condition();
}

POINT CloseBoxOf(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return POINT{rect.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
                 rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
}

void PressKey(WORD key) {
    SendKey(key, false);
    SendKey(key, true);
}

void PressKeyWithAlt(WORD key) {
    SendKey(VK_MENU, false);
    PressKey(key);
    SendKey(VK_MENU, true);
}

void ClickAt(POINT screen) {
    SendMouse(screen, MOUSEEVENTF_MOVE);
    SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
    SendMouse(screen, MOUSEEVENTF_LEFTUP);
}

void ClickOn(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// ---- Benchmarks ----

int BenchmarkRuns() {
    const char* runs = std::getenv("OPTIVUE_BENCHMARK_RUNS");
    return runs && std::atoi(runs) > 0 ? std::atoi(runs) : 3;
}

std::string TracedCall::Argument(size_t index) const {
    size_t begin = 0;
    for (size_t i = 0; i < index && begin != std::string::npos; ++i) {
        begin = arguments.find(',', begin);
        if (begin != std::string::npos) ++begin;
    }
    if (begin == std::string::npos) return "";
    const std::string argument = arguments.substr(begin, arguments.find(',', begin) - begin);
    const size_t named = argument.find('=');
    return named == std::string::npos ? argument : argument.substr(named + 1);
}

namespace {

unsigned long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

RelayTrace::RelayTrace(const std::string& functions)
    : savedInclude_(test_platform::GetValue(kWineDebugKey, kRelayInclude)) {
    const char* path = std::getenv("OPTIVUE_BENCHMARK_TRACE");
    if (path && *path) {
        path_ = WindowsPath(path);
        start_ = FileSize(path_);
    }
    test_platform::PutString(kWineDebugKey, kRelayInclude, functions);
}

RelayTrace::~RelayTrace() {
    if (savedInclude_.exists)
        test_platform::PutValue(kWineDebugKey, kRelayInclude, savedInclude_.type, savedInclude_.data);
    else
        test_platform::DeleteValue(kWineDebugKey, kRelayInclude);
}

std::unique_ptr<Program> RelayTrace::Start(const char* version) const {
    // A new process takes Wine's debug channels from the environment it is given: this one's, for the
    // moment of the start.
    char channels[256] = "";
    const DWORD length = GetEnvironmentVariableA("WINEDEBUG", channels, sizeof channels);
    SetEnvironmentVariableA("WINEDEBUG", kRelayChannels);
    auto program = std::make_unique<Program>(version);
    SetEnvironmentVariableA("WINEDEBUG", length > 0 && length < sizeof channels ? channels : nullptr);
    return program;
}

std::vector<TracedCall> RelayTrace::CallsOf(DWORD processId) const {
    std::vector<TracedCall> calls;
    std::ifstream file(path_, std::ios::binary);
    if (!file || !file.seekg(static_cast<std::streamoff>(start_))) return calls;
    std::map<unsigned, std::vector<size_t>> open;  // by thread: the calls not returned yet, the innermost last
    std::string line;
    while (std::getline(file, line)) {
        // "19935.401:0138:013c:Call user32.SetTimer(00020084,00000064,000007d0,00000000) ret=00401e07"
        // "19935.402:0138:013c:Ret  user32.SetTimer() retval=00000064 ret=00401e07"
        unsigned seconds = 0, milliseconds = 0, process = 0, thread = 0;
        char kind[5] = "";
        int consumed = 0;
        if (std::sscanf(line.c_str(), "%u.%3u:%x:%x:%4c%n", &seconds, &milliseconds, &process, &thread, kind,
                        &consumed) < 5 ||
            process != processId)
            continue;
        const bool call = std::strcmp(kind, "Call") == 0;
        if (!call && std::strcmp(kind, "Ret ") != 0) continue;
        const size_t nameAt = line.find_first_not_of(' ', static_cast<size_t>(consumed));
        const size_t argumentsAt = line.find('(', nameAt);
        const size_t argumentsEnd = line.rfind(')');
        if (nameAt == std::string::npos || argumentsAt == std::string::npos || argumentsEnd < argumentsAt) continue;
        std::string function = line.substr(nameAt, argumentsAt - nameAt);
        function.erase(function.find_last_not_of(' ') + 1);
        const DWORD ticks = static_cast<DWORD>(seconds) * 1000 + milliseconds;
        std::vector<size_t>& stack = open[thread];
        if (call) {
            TracedCall traced;
            traced.function = function;
            traced.arguments = line.substr(argumentsAt + 1, argumentsEnd - argumentsAt - 1);
            traced.called = traced.returned = ticks;
            stack.push_back(calls.size());
            calls.push_back(traced);
            continue;
        }
        // A call that never returned (ExitProcess) is left behind by the return of one around it.
        const auto match = std::find_if(stack.rbegin(), stack.rend(),
                                        [&](size_t index) { return calls[index].function == function; });
        if (match == stack.rend()) continue;
        TracedCall& returned = calls[*match];
        stack.erase(std::prev(match.base()), stack.end());
        returned.returned = ticks;
        const size_t result = line.find("retval=", argumentsEnd);
        returned.result =
            result == std::string::npos ? "returned" : line.substr(result, line.find(' ', result) - result);
    }
    return calls;
}

}  // namespace e2e
