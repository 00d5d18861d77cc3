// The simulated Win32 platform: the part of <shellapi.h> that Optivue calls.
#pragma once

#include <windows.h>

#define SE_ERR_FNF 2

#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

typedef struct _SHELLEXECUTEINFOA {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    void* lpIDList;
    LPCSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
} SHELLEXECUTEINFOA, *LPSHELLEXECUTEINFOA;

// Starts a file of the machine's, which the shell's start hook plays; a name without a folder is looked for
// nowhere. With SEE_MASK_NOCLOSEPROCESS, hProcess receives the started program's handle, which the caller
// closes. FALSE with ERROR_FILE_NOT_FOUND (hInstApp SE_ERR_FNF) when there is no such file.
BOOL WINAPI ShellExecuteExA(LPSHELLEXECUTEINFOA info);
