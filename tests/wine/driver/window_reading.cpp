#include "tests/wine/driver/window_reading.h"

#include "tests/support/test_platform.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_probe.h"

#include <cstring>

namespace e2e {

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

POINT CloseBoxOf(HWND window) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return POINT{rect.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
                 rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
}

namespace {

// Sends `message` to `window` with the probe hooked into the window's thread; true when it got there.
bool Probe(HWND window, const char* message, WPARAM wParam) {
    // The probe library lies next to the driver.
    const std::string library = test_platform::ProgramFolder() + window_probe::kLibrary;
    HMODULE probe = LoadLibraryA(library.c_str());
    if (!probe) return false;
    auto procedure =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, window_probe::kHookProcedure)));
    HHOOK hook = procedure
                     ? SetWindowsHookExA(WH_CALLWNDPROC, procedure, probe, GetWindowThreadProcessId(window, nullptr))
                     : nullptr;
    DWORD_PTR ignored = 0;
    const bool sent =
        hook && SendMessageTimeoutA(window, RegisterWindowMessageA(message), wParam, 0, SMTO_NORMAL, kWaitMs, &ignored);
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

}  // namespace e2e
