#include "app/follow_up_run.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "settings/registry.h"

namespace {

constexpr LONG kViewTypeBits = 0x3;  // LVS_TYPEMASK: 0 the icon view, 2 the small-icon view

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

void RefreshDesktopIconLayout() {
    HWND desktop = FindWindowExA(nullptr, nullptr, "Progman", "Program Manager");
    if (!desktop) return;
    // The empty title, not a null one: only a shell view without a title is the desktop's.
    HWND shellView = FindWindowExA(desktop, nullptr, "SHELLDLL_DefView", "");
    if (!shellView) return;
    HWND iconView = FindWindowExA(shellView, nullptr, "SysListView32", nullptr);
    if (!iconView) return;

    // Each step yields the rest of the time slice, so that the shell's thread takes the change in.
    SendMessageA(iconView, WM_SETREDRAW, FALSE, 0);
    Sleep(0);
    ChangeViewType(iconView, kViewTypeBits, LVS_ICON);
    Sleep(0);
    ChangeViewType(iconView, 0x1, LVS_SMALLICON);
    Sleep(0);
    ChangeViewType(iconView, kViewTypeBits, LVS_ICON);
    Sleep(0);
    SendMessageA(iconView, LVM_ARRANGE, LVA_DEFAULT, 0);
    Sleep(0);
    SendMessageA(iconView, WM_SETREDRAW, TRUE, 0);
    Sleep(0);
    UpdateWindow(iconView);
}

void CheckFollowUpRun(HWND dialog) {
    DWORD changed = 0;
    if (ReadRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, &changed) && changed != 0) {
        RefreshDesktopIconLayout();
        WriteRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 0);
        // The folder's path (at most MAX_PATH with its NUL), the backslash and the file name. A folder that
        // does not exist comes back as S_FALSE with an empty path: the shortcut is then nowhere, and a
        // path made of the bare name would name a file in the current drive's root.
        char path[MAX_PATH + 1 + sizeof OPTIVUE_STARTUP_SHORTCUT] = "";
        if (SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK && path[0] != '\0') {
            std::strcat(path, "\\");
            std::strcat(path, OPTIVUE_STARTUP_SHORTCUT);
            DeleteFileA(path);
        }
        EndDialog(dialog, 0);
    }
    WriteRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 0);
}
