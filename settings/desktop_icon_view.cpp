#include "settings/desktop_icon_view.h"

#include <commctrl.h>

namespace {

constexpr LONG kViewTypeBits = 0x3;  // LVS_TYPEMASK: 0 the icon view, 2 the small-icon view
// The report view's bit. The step into the small-icon view clears only this one: the step before it left
// the type bits 0, so setting LVS_SMALLICON alone reaches the small-icon view.
constexpr LONG kReportViewBit = 0x1;

// Reads the icon view's style afresh, clears `clear` and sets `set`, and writes it back. A style that cannot
// be read is not written: what the failed read returned (0) would take every other bit from the shell's
// window, its visibility among them.
void ChangeViewType(HWND iconView, LONG clear, LONG set) {
    SetLastError(0);
    const LONG style = GetWindowLongA(iconView, GWL_STYLE);
    if (style == 0 && GetLastError() != 0) return;
    SetWindowLongA(iconView, GWL_STYLE, (style & ~clear) | set);
}

}  // namespace

HWND FindDesktopIconView(ShellViewTitle shellViewTitle) {
    HWND desktop = FindWindowExA(nullptr, nullptr, "Progman", "Program Manager");
    if (!desktop) return nullptr;
    HWND shellView =
        FindWindowExA(desktop, nullptr, "SHELLDLL_DefView", shellViewTitle == ShellViewTitle::Empty ? "" : nullptr);
    if (!shellView) return nullptr;
    return FindWindowExA(shellView, nullptr, "SysListView32", nullptr);
}

bool SendToIconView(HWND iconView, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer) {
    DWORD_PTR result = 0;
    const bool answered =
        SendMessageTimeoutA(iconView, message, wParam, lParam, SMTO_ABORTIFHUNG, kIconViewAnswerMs, &result) != 0;
    if (answer) *answer = answered ? result : 0;
    return answered;
}

void RefreshDesktopIconLayout() {
    HWND iconView = FindDesktopIconView(ShellViewTitle::Empty);
    if (!iconView) return;

    // Each step yields the rest of the time slice, so that the shell's thread takes the change in.
    SendMessageA(iconView, WM_SETREDRAW, FALSE, 0);
    Sleep(0);
    ChangeViewType(iconView, kViewTypeBits, LVS_ICON);
    Sleep(0);
    ChangeViewType(iconView, kReportViewBit, LVS_SMALLICON);
    Sleep(0);
    ChangeViewType(iconView, kViewTypeBits, LVS_ICON);
    Sleep(0);
    SendMessageA(iconView, LVM_ARRANGE, LVA_DEFAULT, 0);
    Sleep(0);
    SendMessageA(iconView, WM_SETREDRAW, TRUE, 0);
    Sleep(0);
    UpdateWindow(iconView);
}
