// Keyboard and mouse input to whatever has the focus, as the user would give it.
#pragma once

#include <windows.h>

namespace e2e {

void PressKey(WORD key);
void PressKeyWithAlt(WORD key);
void ClickAt(POINT screen);
void ClickOn(HWND window);  // its middle

}  // namespace e2e
