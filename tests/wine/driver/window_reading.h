// What the driver reads of another program's windows: their texts, classes and places, the focus, and
// what only that program can read (window_probe.dll, hooked into it): a control's font, the system menu and
// the common controls library it draws with.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

std::string Text(HWND window);
std::string ClassName(HWND window);
// The window's rectangle in the client coordinates of `parent`.
RECT RectIn(HWND window, HWND parent);
// The window with the keyboard focus in the thread of `window`.
HWND Focus(HWND window);
// The middle of the close box in the window's caption, on the screen.
POINT CloseBoxOf(HWND window);

// The font a control draws with.
struct ControlFont {
    bool found = false;
    LONG height = 0;
    std::string face;
    DWORD handle = 0;  // the font's handle in that program
};
ControlFont FontOf(HWND dialog, int controlId);
// The window's system menu, an entry for each item: "separator" or the command and the text, "16 &About...".
std::vector<std::string> SystemMenuOf(HWND window);
// The file of the common controls library the window's program draws with; empty when unknown.
std::string ControlsLibraryOf(HWND window);

}  // namespace e2e
