// How the driver waits for what another program does: for a condition, for a window to go or to come to
// the front, and for a window's thread to have handled what was sent to it before.
#pragma once

#include <windows.h>

#include <functional>

namespace e2e {

// A program start under an emulated Wine can take seconds; these only bound how long a wait may last.
constexpr DWORD kWaitMs = 60000;
// How often a wait looks again.
constexpr DWORD kPollMs = 20;

// Waits (up to kWaitMs) until `condition` holds; false when it never did.
bool WaitUntil(const std::function<bool()>& condition);
// Waits (up to kWaitMs) until the window is destroyed; false when it is still there.
bool WaitUntilGone(HWND window);
// Waits until the window is the foreground window; false when it does not become it.
bool WaitForForeground(HWND window);
// Lets the window's thread handle everything sent or posted to it before.
void Sync(HWND window);

}  // namespace e2e
