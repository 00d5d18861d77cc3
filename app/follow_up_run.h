// The follow-up run: when the flag "Changed" under HKEY_CURRENT_USER\Software\Korvani\optiv has been set
// from outside (with the shortcut "Optivue.lnk" placed in the user's Startup folder), the next start of
// the program only lays the desktop's icons out afresh, clears the flag, removes that shortcut and ends.
#pragma once

#include <windows.h>

#include "res/product.h"

// Reads the flag; when it is set, refreshes the desktop's icon layout, clears the flag, deletes the
// shortcut and ends `dialog` with EndDialog(dialog, 0). In every case it then writes the flag as REG_DWORD
// 0, creating the key where it is missing. Shows nothing and reports nothing: a failed read counts as a
// normal run, a missing Startup folder or shortcut is passed over.
void CheckFollowUpRun(HWND dialog);

// Switches the desktop's icon view ("SysListView32" in "SHELLDLL_DefView" in "Progman") to the small-icon
// view and back to the icon view with its drawing stopped, arranges it, and lets it draw again, so that it
// lays its icons out with the current spacing. Only the view-type bits of its style change; the others are
// written back as read. Does nothing when one of the three windows is not there.
void RefreshDesktopIconLayout();
