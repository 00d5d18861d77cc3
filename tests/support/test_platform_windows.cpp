// The test platform on a real system (under Wine): the registry, the system's parameters and colours
// as another process sees them, and the desktop fixture that plays the shell's icon view.
#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "tests/fixtures/desktop_fixture.h"

namespace test_platform {

void EnsureStoredColors() {}

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "";
    const std::string program(path, length);
    return program.substr(0, program.find_last_of("\\/") + 1);
}

void ResetScratch() { SHDeleteKeyA(HKEY_CURRENT_USER, kScratchKey); }

bool UseLanguage(const std::string& lang) {
    const char* active = std::getenv("OPTIVUE_TEST_LANG");
    return lang == (active && *active ? active : "en");
}

// What a grid arrangement leaves: every item one spacing step right of or below the one before it.
namespace {
bool OnGrid(const std::vector<std::pair<int, int>>& positions, int cx, int cy, std::string* why) {
    std::ostringstream seen;
    for (const auto& p : positions) seen << "(" << p.first << "," << p.second << ") ";
    *why = "item positions " + seen.str();
    if (positions.size() < 2) return false;
    for (size_t i = 1; i < positions.size(); ++i) {
        const int dx = positions[i].first - positions[i - 1].first;
        const int dy = positions[i].second - positions[i - 1].second;
        if (!((dx == cx && dy == 0) || (dx == 0 && dy == cy))) return false;
    }
    return true;
}
}  // namespace

// ---- Real platform: saved settings ----
namespace {

void SnapshotKey(const std::string& path, std::vector<std::string>* names, std::vector<StoredValue>* values,
                 std::vector<std::string>* subkeys) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    for (const std::string& name : ValueNames(path)) {
        names->push_back(name);
        values->push_back(GetValue(path, name.c_str()));
    }
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys->push_back(path + "\\" + name);
    }
    RegCloseKey(key);
}

std::vector<std::string> Subkeys(const std::string& path) {
    std::vector<std::string> names, subkeys;
    std::vector<StoredValue> values;
    SnapshotKey(path, &names, &values, &subkeys);
    return subkeys;
}

}  // namespace

void DeleteKeyTree(const std::string& keyPath) { SHDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str()); }

SavedUserSettings::SavedUserSettings(std::vector<std::string> keyPaths) : keyPaths_(std::move(keyPaths)) {
    std::vector<std::string> pending(keyPaths_.begin(), keyPaths_.end());
    while (!pending.empty()) {
        const std::string path = pending.front();
        pending.erase(pending.begin());
        if (!KeyExists(path)) continue;
        SavedKey saved{path, {}, {}};
        std::vector<std::string> subkeys;
        SnapshotKey(path, &saved.valueNames, &saved.values, &subkeys);
        saved_.push_back(std::move(saved));
        pending.insert(pending.end(), subkeys.begin(), subkeys.end());
    }
    NONCLIENTMETRICSA nonClient;
    nonClient.cbSize = sizeof nonClient;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof nonClient, &nonClient, 0))
        nonClientMetrics_.assign(reinterpret_cast<BYTE*>(&nonClient), reinterpret_cast<BYTE*>(&nonClient + 1));
    ICONMETRICSA icon;
    icon.cbSize = sizeof icon;
    if (SystemParametersInfoA(SPI_GETICONMETRICS, sizeof icon, &icon, 0))
        iconMetrics_.assign(reinterpret_cast<BYTE*>(&icon), reinterpret_cast<BYTE*>(&icon + 1));
    for (int index = 0; index <= COLOR_MENUBAR; ++index) liveColors_.push_back(GetSysColor(index));
}

SavedUserSettings::~SavedUserSettings() {
    // Set whether or not they look changed: this process keeps its own copy of the colours, which other
    // processes' changes do not reach. Setting them makes the copy and the system's agree again.
    std::vector<INT> indices;
    for (int index = 0; index < static_cast<int>(liveColors_.size()); ++index) indices.push_back(index);
    SetSysColors(static_cast<int>(indices.size()), indices.data(), liveColors_.data());
    // The metrics first: setting them stores them in the user's registry, which is put back after.
    if (!nonClientMetrics_.empty())
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(NONCLIENTMETRICSA), nonClientMetrics_.data(),
                              SPIF_UPDATEINIFILE);
    if (!iconMetrics_.empty())
        SystemParametersInfoA(SPI_SETICONMETRICS, sizeof(ICONMETRICSA), iconMetrics_.data(), SPIF_UPDATEINIFILE);

    // Keys that were there are kept and their values put back in place: the system keeps some of them open
    // (Wine its "Control Panel\Desktop\WindowMetrics"), and a key deleted under it takes no more writes.
    auto wasSaved = [this](const std::string& path) {
        return std::any_of(saved_.begin(), saved_.end(),
                           [&](const SavedKey& key) { return lstrcmpiA(key.path.c_str(), path.c_str()) == 0; });
    };
    std::vector<std::string> pending(keyPaths_.begin(), keyPaths_.end());
    while (!pending.empty()) {
        const std::string path = pending.front();
        pending.erase(pending.begin());
        if (!KeyExists(path)) continue;
        if (!wasSaved(path)) {
            DeleteKeyTree(path);
            continue;
        }
        const std::vector<std::string> subkeys = Subkeys(path);
        pending.insert(pending.end(), subkeys.begin(), subkeys.end());
    }
    for (const auto& key : saved_) {
        std::vector<std::string> names, subkeys;
        std::vector<StoredValue> values;
        SnapshotKey(key.path, &names, &values, &subkeys);
        HKEY handle = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                            nullptr) != ERROR_SUCCESS)
            continue;
        for (const std::string& name : names)
            if (std::none_of(key.valueNames.begin(), key.valueNames.end(),
                             [&](const std::string& kept) { return lstrcmpiA(kept.c_str(), name.c_str()) == 0; }))
                RegDeleteValueA(handle, name.c_str());
        for (size_t i = 0; i < key.values.size(); ++i)
            RegSetValueExA(handle, key.valueNames[i].c_str(), 0, key.values[i].type, key.values[i].data.data(),
                           static_cast<DWORD>(key.values[i].data.size()));
        RegCloseKey(handle);
    }
}

// ---- Real platform: the desktop fixture ----
namespace {

constexpr DWORD kStartTimeoutMs = 180000;

// Starts the fixture program from this program's folder with `argument`; the thread handle is closed.
bool StartFixture(const std::string& argument, PROCESS_INFORMATION* process) {
    const std::string folder = ProgramFolder();
    if (folder.empty()) return false;
    const std::string program = folder + desktop_fixture::kProgramName;
    std::string commandLine = "\"" + program + "\"" + (argument.empty() ? "" : " " + argument);
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        process))
        return false;
    CloseHandle(process->hThread);
    process->hThread = nullptr;
    return true;
}

class DesktopFixture {
public:
    ~DesktopFixture() { Stop(); }

    // The fixture's "Progman" window, started at the first call.
    HWND Progman() {
        if (!started_) {
            started_ = true;
            Start();
        }
        return progman_;
    }

    HWND IconView() {
        HWND progman = Progman();
        if (!progman) return nullptr;
        HWND shellView = FindWindowExA(progman, nullptr, "SHELLDLL_DefView", "");
        return shellView ? FindWindowExA(shellView, nullptr, "SysListView32", nullptr) : nullptr;
    }

private:
    void Start() {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, desktop_fixture::kReadyEvent);
        if (!ready) return;
        if (!StartFixture("", &process_)) {
            CloseHandle(ready);
            return;
        }
        // A program start under an emulated Wine can take long; the fixture's own end ends the wait too.
        const HANDLE waits[2] = {ready, process_.hProcess};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, kStartTimeoutMs);
        CloseHandle(ready);
        if (woke != WAIT_OBJECT_0) return;
        // Its "Progman", not one that the system may have of its own.
        for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "Progman", "Program Manager"));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_.dwProcessId) progman_ = window;
        }
    }

    void Stop() {
        if (!process_.hProcess) return;
        if (progman_) PostMessageA(progman_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        process_.hProcess = nullptr;
        progman_ = nullptr;
    }

    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
    HWND progman_ = nullptr;
};

DesktopFixture& Fixture() {
    static DesktopFixture fixture;
    return fixture;
}

}  // namespace

bool UseWorkArea(LONG width, LONG height) {
    RECT area = {0, 0, 0, 0};
    return SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) && area.left == 0 && area.top == 0 &&
           area.right == width && area.bottom == height;
}

HWND DesktopIconView(DWORD extendedStyle) {
    HWND view = Fixture().IconView();
    if (!view) return nullptr;
    SendMessageA(view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(extendedStyle));
    SendMessageA(view, LVM_SETICONSPACING, 0, MAKELPARAM(64, 64));
    return view;
}

bool IconsArrangedOnGrid(HWND iconView, int cx, int cy, std::string* why) {
    (void)iconView;
    std::vector<std::pair<int, int>> positions;
    for (int item = 0; item < desktop_fixture::kItemCount; ++item) {
        const LRESULT position = SendMessageA(Fixture().Progman(), desktop_fixture::kItemPosition, item, 0);
        if (position == -1) break;
        positions.emplace_back(static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position)));
    }
    return OnGrid(positions, cx, cy, why);
}

namespace {

// The desktop fixture's report of what a fresh process gets: the value `name` of each of `names`, all
// empty when the report failed.
std::vector<StoredValue> ReportOfAFreshProcess(const std::vector<const char*>& names) {
    std::vector<StoredValue> values(names.size());
    PROCESS_INFORMATION process = {};
    if (!StartFixture(desktop_fixture::kReportArgument, &process)) return values;
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.hProcess, kStartTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    if (exitCode == 0)
        for (size_t i = 0; i < names.size(); ++i) values[i] = GetValue(desktop_fixture::kReportKey, names[i]);
    DeleteKeyTree(desktop_fixture::kReportKey);
    return values;
}

}  // namespace

bool MetricsSeenByAnotherProcess(NONCLIENTMETRICSA* nonClient, ICONMETRICSA* icon) {
    const std::vector<StoredValue> seen = ReportOfAFreshProcess({"NonClientMetrics", "IconMetrics"});
    if (seen[0].data.size() != sizeof *nonClient || seen[1].data.size() != sizeof *icon) return false;
    std::memcpy(nonClient, seen[0].data.data(), sizeof *nonClient);
    std::memcpy(icon, seen[1].data.data(), sizeof *icon);
    return true;
}

std::vector<COLORREF> ColorsSeenByAnotherProcess() {
    const StoredValue seen = ReportOfAFreshProcess({"Colors"}).front();
    std::vector<COLORREF> colors(
        seen.data.size() == desktop_fixture::kColorCount * sizeof(COLORREF) ? desktop_fixture::kColorCount : 0);
    if (!colors.empty()) std::memcpy(colors.data(), seen.data.data(), seen.data.size());
    return colors;
}

int HeightFittingFont(const LOGFONTA& font, bool withLeading) {
    HFONT handle = CreateFontIndirectA(&font);
    if (!handle) return 0;
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, handle);
    TEXTMETRICA metrics;
    const bool measured = GetTextMetricsA(screen, &metrics) != 0;
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    DeleteObject(handle);
    return measured ? 2 + metrics.tmHeight + (withLeading ? metrics.tmExternalLeading : 0) : 0;
}

}  // namespace test_platform
