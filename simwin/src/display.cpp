// The simulated display: the system colours with their brushes, the foreground window and repaints.
#include <simwin/sim.h>

#include <cstdio>

namespace simwin {
namespace {

// Brushes are tokens: the program only tests them for null.
constexpr uintptr_t kFirstBrush = 0x3000;

// clang-format off
const char* const kColorValueNames[Display::kColorCount] = {
    "Scrollbar",      "Background",        "ActiveTitle",      "InactiveTitle",         "Menu",
    "Window",         "WindowFrame",       "MenuText",         "WindowText",            "TitleText",
    "ActiveBorder",   "InactiveBorder",    "AppWorkspace",     "Hilight",               "HilightText",
    "ButtonFace",     "ButtonShadow",      "GrayText",         "ButtonText",            "InactiveTitleText",
    "ButtonHilight",  "ButtonDkShadow",    "ButtonLight",      "InfoText",              "InfoWindow",
    "ButtonAlternateFace", "HotTrackingColor", "GradientActiveTitle", "GradientInactiveTitle", "MenuHilight",
    "MenuBar",
};
// clang-format on

bool ValidIndex(int index) { return index >= 0 && index < Display::kColorCount; }

}  // namespace

Display::Display()
    : colors{RGB(212, 208, 200), RGB(0, 78, 152),    RGB(0, 84, 227),    RGB(122, 150, 223), RGB(255, 255, 255),
             RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
             RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(49, 106, 197),  RGB(255, 255, 255),
             RGB(236, 233, 216), RGB(172, 168, 153), RGB(172, 168, 153), RGB(0, 0, 0),       RGB(216, 228, 248),
             RGB(255, 255, 255), RGB(113, 111, 100), RGB(241, 239, 226), RGB(0, 0, 0),       RGB(255, 255, 225),
             RGB(181, 181, 181), RGB(0, 0, 128),     RGB(61, 149, 255),  RGB(157, 185, 235), RGB(49, 106, 197),
             RGB(236, 233, 216)} {}

const char* ColorValueName(int index) { return ValidIndex(index) ? kColorValueNames[index] : nullptr; }

std::string ColorText(COLORREF color) {
    char text[16];
    std::snprintf(text, sizeof text, "%u %u %u", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

void StoreColorKey() {
    std::shared_ptr<RegKey> key = machine().registry.Ensure("HKEY_CURRENT_USER\\Control Panel\\Colors");
    for (int index = 0; index < Display::kColorCount; ++index) {
        const std::string text = ColorText(machine().display.colors[index]);
        std::vector<BYTE> data(text.begin(), text.end());
        data.push_back(0);
        if (RegValue* value = key->FindValue(kColorValueNames[index]))
            *value = {value->name, REG_SZ, std::move(data)};
        else
            key->values.push_back({kColorValueNames[index], REG_SZ, std::move(data)});
    }
}

}  // namespace simwin

using simwin::machine;

HBRUSH WINAPI GetSysColorBrush(int index) {
    const simwin::Display& display = machine().display;
    HBRUSH brush = nullptr;
    const bool failed = machine().faults.Check("GetSysColorBrush", ERROR_INVALID_PARAMETER).has_value();
    if (!failed && simwin::ValidIndex(index) && !display.noBrush[index])
        brush = reinterpret_cast<HBRUSH>(simwin::kFirstBrush + static_cast<uintptr_t>(index));
    machine().journal.Record("GetSysColorBrush", std::to_string(index), brush ? 1 : 0);
    return brush;
}

DWORD WINAPI GetSysColor(int index) {
    const DWORD color = simwin::ValidIndex(index) ? machine().display.colors[index] : 0;
    machine().journal.Record("GetSysColor", std::to_string(index), color);
    return color;
}

BOOL WINAPI SetSysColors(int count, const INT* indices, const COLORREF* colors) {
    std::string args = std::to_string(count);
    for (int i = 0; indices && colors && i < count; ++i)
        args += std::string(i == 0 ? ", " : " ") + std::to_string(indices[i]) + "=" + simwin::Hex(colors[i]);
    auto finish = [&](BOOL result) {
        machine().journal.Record("SetSysColors", args, result);
        return result;
    };
    if (auto fault = machine().faults.Check("SetSysColors", ERROR_INVALID_PARAMETER)) {
        machine().lastError = static_cast<DWORD>(*fault);
        return finish(FALSE);
    }
    if (count < 0 || (count > 0 && (!indices || !colors))) {
        machine().lastError = ERROR_INVALID_PARAMETER;
        return finish(FALSE);
    }
    for (int i = 0; i < count; ++i) {
        if (!simwin::ValidIndex(indices[i])) {
            machine().lastError = ERROR_INVALID_PARAMETER;
            return finish(FALSE);
        }
    }
    for (int i = 0; i < count; ++i) machine().display.colors[indices[i]] = colors[i];
    return finish(TRUE);
}

HWND WINAPI GetForegroundWindow(void) {
    // A fault stands for the moment when no window is in the foreground, while activation changes.
    HWND window = machine().faults.Check("GetForegroundWindow", 0) ? nullptr : machine().display.foreground;
    machine().journal.Record("GetForegroundWindow", "", static_cast<long long>(reinterpret_cast<uintptr_t>(window)));
    return window;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    const std::string args =
        machine().windows.HandleName(window) + ", " + (rect ? "RECT" : "NULL") + ", " + (erase ? "TRUE" : "FALSE");
    BOOL result = TRUE;
    if (auto fault = machine().faults.Check("InvalidateRect", ERROR_INVALID_WINDOW_HANDLE)) {
        machine().lastError = static_cast<DWORD>(*fault);
        result = FALSE;
    } else if (window && !machine().windows.Find(window)) {
        machine().lastError = ERROR_INVALID_WINDOW_HANDLE;
        result = FALSE;
    }
    machine().journal.Record("InvalidateRect", args, result);
    return result;
}
