#include "tests/wine/driver/waits.h"

namespace e2e {

bool WaitUntil(const std::function<bool()>& condition) {
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        if (condition()) return true;
        Sleep(kPollMs);
    }
    return condition();
}

bool WaitUntilGone(HWND window) {
    return WaitUntil([window] { return !IsWindow(window); });
}

bool WaitForForeground(HWND window) {
    return WaitUntil([window] { return GetForegroundWindow() == window; });
}

void Sync(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result);
}

}  // namespace e2e
