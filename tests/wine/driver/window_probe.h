// window_probe.dll and the driver. Fonts and menus are objects of the process that made them: the driver
// cannot read another program's control fonts or its system menu. The probe, loaded into the program under
// test by a hook on the messages sent to it, reads them there and leaves what it found in the registry.
#pragma once

namespace window_probe {

constexpr const char* kLibrary = "window_probe.dll";
constexpr const char* kHookProcedure = "WindowProbeHook";  // a WH_CALLWNDPROC hook procedure

// Below HKEY_CURRENT_USER; emptied before each report.
constexpr const char* kReportKey = "Software\\Optivue Tests\\Window Probe";

// Sent to a dialog with a control's identifier as wParam. Reports "Height" (REG_DWORD, the LOGFONT height),
// "Face" (REG_SZ) and "Handle" (REG_DWORD, the font's handle in the program, which tells shared fonts from
// separate ones); nothing when the control has no font of its own.
constexpr const char* kFontMessage = "Optivue window probe: font";

// Sent to a window. Reports its system menu: "Count" (REG_DWORD) and "Item0", "Item1" ... (REG_SZ), each
// "separator" or the command and the text, "16 &About...".
constexpr const char* kSystemMenuMessage = "Optivue window probe: system menu";

// Sent to any window. Reports the file of the common controls library the program draws its controls
// with: "Path" (REG_SZ).
constexpr const char* kControlsLibraryMessage = "Optivue window probe: controls library";

}  // namespace window_probe
