#include "tests/wine/driver/input.h"

#include <cstring>

namespace e2e {
namespace {

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

}  // namespace e2e
