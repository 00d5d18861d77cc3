// window_probe.dll: see window_probe.h.
#include "tests/wine/driver/window_probe.h"

#include <windows.h>

#include <cstdio>

namespace {

void SetDword(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void SetText(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(lstrlenA(text) + 1));
}

void ReportFont(HKEY key, HWND dialog, int controlId) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(dialog, controlId), WM_GETFONT, 0, 0));
    LOGFONTA description;
    if (!font || GetObjectA(font, sizeof description, &description) != sizeof description) return;
    SetDword(key, "Height", static_cast<DWORD>(description.lfHeight));
    SetDword(key, "Handle", static_cast<DWORD>(reinterpret_cast<UINT_PTR>(font)));
    SetText(key, "Face", description.lfFaceName);
}

void ReportSystemMenu(HKEY key, HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    const int count = menu ? GetMenuItemCount(menu) : 0;
    SetDword(key, "Count", static_cast<DWORD>(count < 0 ? 0 : count));
    for (int i = 0; i < count; ++i) {
        char text[128] = "";
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text;
        char entry[160] = "?";
        if (GetMenuItemInfoA(menu, i, TRUE, &item)) {
            if (item.fType & MFT_SEPARATOR)
                std::snprintf(entry, sizeof entry, "separator");
            else
                std::snprintf(entry, sizeof entry, "%u %s", item.wID, text);
        }
        char name[16];
        std::snprintf(name, sizeof name, "Item%d", i);
        SetText(key, name, entry);
    }
}

void ReportControlsLibrary(HKEY key) {
    HMODULE library = GetModuleHandleA("comctl32.dll");
    if (!library) return;
    char path[MAX_PATH] = "";
    GetModuleFileNameA(library, path, sizeof path);
    SetText(key, "Path", path);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK WindowProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        const bool font = call->message == RegisterWindowMessageA(window_probe::kFontMessage);
        const bool systemMenu = call->message == RegisterWindowMessageA(window_probe::kSystemMenuMessage);
        const bool controls = call->message == RegisterWindowMessageA(window_probe::kControlsLibraryMessage);
        HKEY key = nullptr;
        if ((font || systemMenu || controls) &&
            RegCreateKeyExA(HKEY_CURRENT_USER, window_probe::kReportKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            if (font)
                ReportFont(key, call->hwnd, static_cast<int>(call->wParam));
            else if (systemMenu)
                ReportSystemMenu(key, call->hwnd);
            else
                ReportControlsLibrary(key);
            RegCloseKey(key);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
