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
