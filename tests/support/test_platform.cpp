#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#ifdef _WIN32
#include <shlwapi.h>

#include "tests/fixtures/desktop_fixture.h"
#else
#include <simwin/sim.h>
#endif

namespace test_platform {

#ifdef _WIN32
bool IsSimulated() { return false; }

void ResetScratch() { SHDeleteKeyA(HKEY_CURRENT_USER, kScratchKey); }

bool UseLanguage(const std::string& lang) {
    const char* active = std::getenv("OPTIVUE_TEST_LANG");
    return lang == (active && *active ? active : "en");
}
#else
bool IsSimulated() { return true; }

void ResetScratch() { simwin::Reset(); }

bool UseLanguage(const std::string& lang) {
    simwin::machine().strings.SetLanguage(lang == "de" ? simwin::StringTables::kGerman : simwin::StringTables::kEnglish);
    return true;
}
#endif

void PutValue(const std::string& keyPath, const char* name, DWORD type, const std::vector<BYTE>& data) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    // A non-zero byte after the data, so that a string without its NUL is stored as given (Windows adds a
    // NUL that directly follows the data to a string's size).
    std::vector<BYTE> guarded = data;
    guarded.push_back(0xFF);
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, guarded.data(), static_cast<DWORD>(data.size())));
    RegCloseKey(key);
}

std::vector<BYTE> TextWithNul(const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

void PutString(const std::string& keyPath, const char* name, const std::string& text) {
    PutValue(keyPath, name, REG_SZ, TextWithNul(text));
}

LOGFONTA TahomaFont(LONG height, LONG weight, BYTE charSet) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = charSet;
    std::strcpy(font.lfFaceName, "Tahoma");
    return font;
}

StoredValue GetValue(const std::string& keyPath, const char* name) {
    StoredValue stored;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return stored;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, &stored.type, stored.data.data(), &size) == ERROR_SUCCESS) {
            stored.exists = true;
            stored.data.resize(size);
        }
    }
    RegCloseKey(key);
    return stored;
}

bool KeyExists(const std::string& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void DeleteValue(const std::string& keyPath, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

#ifdef _WIN32
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
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names->push_back(name);
        values->push_back(GetValue(path, name));
    }
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
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(NONCLIENTMETRICSA), nonClientMetrics_.data(), SPIF_UPDATEINIFILE);
    if (!iconMetrics_.empty())
        SystemParametersInfoA(SPI_SETICONMETRICS, sizeof(ICONMETRICSA), iconMetrics_.data(), SPIF_UPDATEINIFILE);

    // Keys that were there are kept and their values put back in place: the system keeps some of them open
    // (Wine its "Control Panel\Desktop\WindowMetrics"), and a key deleted under it takes no more writes.
    auto wasSaved = [this](const std::string& path) {
        return std::any_of(saved_.begin(), saved_.end(), [&](const SavedKey& key) { return lstrcmpiA(key.path.c_str(), path.c_str()) == 0; });
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
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;
    std::string program(path, length);
    program = program.substr(0, program.find_last_of("\\/") + 1) + desktop_fixture::kProgramName;
    std::string commandLine = "\"" + program + "\"" + (argument.empty() ? "" : " " + argument);
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process))
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
    std::vector<COLORREF> colors(seen.data.size() == desktop_fixture::kColorCount * sizeof(COLORREF) ? desktop_fixture::kColorCount : 0);
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
#else
// ---- Simulated platform ----
void DeleteKeyTree(const std::string& keyPath) { simwin::machine().registry.Remove("HKEY_CURRENT_USER\\" + keyPath); }

SavedUserSettings::SavedUserSettings(std::vector<std::string> keyPaths) : keyPaths_(std::move(keyPaths)) {}

SavedUserSettings::~SavedUserSettings() = default;

bool UseWorkArea(LONG width, LONG height) {
    simwin::machine().parameters.workArea = RECT{0, 0, width, height};
    return true;
}

HWND DesktopIconView(DWORD extendedStyle) {
    simwin::WindowTree& windows = simwin::machine().windows;
    HWND view = nullptr;
    for (HWND top : windows.Children(nullptr))
        for (HWND shellView : windows.Children(top))
            for (HWND child : windows.Children(shellView))
                if (windows.Find(child)->listView) view = child;
    if (!view) view = simwin::CreateDesktop().iconView;
    simwin::ListViewState& state = *windows.Find(view)->listView;
    state.extendedStyle = extendedStyle;
    state.iconSpacingX = state.iconSpacingY = 64;
    state.arrangements.clear();
    return view;
}

bool IconsArrangedOnGrid(HWND iconView, int cx, int cy, std::string* why) {
    const simwin::ListViewState& view = *simwin::machine().windows.Find(iconView)->listView;
    std::ostringstream seen;
    seen << "spacing " << view.iconSpacingX << " x " << view.iconSpacingY << ", arrangements";
    for (WPARAM code : view.arrangements) seen << " " << code;
    *why = seen.str();
    return view.iconSpacingX == cx && view.iconSpacingY == cy &&
           view.arrangements == std::vector<WPARAM>{LVA_ALIGNLEFT, LVA_SNAPTOGRID};
}

int HeightFittingFont(const LOGFONTA&, bool) { return 0; }

bool MetricsSeenByAnotherProcess(NONCLIENTMETRICSA* nonClient, ICONMETRICSA* icon) {
    *nonClient = simwin::machine().parameters.nonClientMetrics;
    *icon = simwin::machine().parameters.iconMetrics;
    return true;
}

std::vector<COLORREF> ColorsSeenByAnotherProcess() {
    const simwin::Display& display = simwin::machine().display;
    return std::vector<COLORREF>(display.colors, display.colors + simwin::Display::kColorCount);
}
#endif

}  // namespace test_platform
