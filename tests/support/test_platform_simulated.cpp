// The test platform on the simulated machine: what a test arranges goes straight into it, and nothing
// needs keeping, since every test starts from a fresh machine.
#include "tests/support/test_platform.h"

#include <commctrl.h>
#include <simwin/sim.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace test_platform {

std::string ProgramFolder() { return "C:\\Optivue Tests\\"; }

void ResetScratch() { simwin::Reset(); }

void EnsureStoredColors() { simwin::StoreColorKey(); }

bool UseLanguage(const std::string& lang) {
    simwin::machine().strings.SetLanguage(lang == "de" ? simwin::StringTables::kGerman
                                                       : simwin::StringTables::kEnglish);
    return true;
}

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

}  // namespace test_platform
