// The simulated Win32 platform: the part of <shlobj.h> that Optivue calls.
#pragma once

#include <windows.h>

#define SHCNE_ASSOCCHANGED 0x08000000L
#define SHCNF_IDLIST 0x0000

void WINAPI SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2);
