// The simulated Win32 platform: the part of <shlwapi.h> that Optivue calls.
#pragma once

#include <windows.h>

// Leading decimal digits, optionally after one minus sign, give the value; anything else first gives 0.
// No white space is skipped and no overflow is detected (the value wraps as a 32-bit integer).
int WINAPI StrToIntA(LPCSTR text);
