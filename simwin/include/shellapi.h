// The simulated Win32 platform: the part of <shellapi.h> that Optivue calls.
#pragma once

#include <windows.h>

#define SE_ERR_FNF 2

// Starts a file of the machine's, which the shell's start hook plays; the result is greater than 32 then,
// SE_ERR_FNF when there is no such file. A name without a folder is looked for nowhere.
HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
