// The simulated Win32 platform: the part of <shlobj.h> that Optivue calls.
#pragma once

#include <windows.h>

#define SHCNE_ASSOCCHANGED 0x08000000L
#define SHCNF_IDLIST 0x0000

void WINAPI SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2);

#define CSIDL_STARTUP 0x0007
#define SHGFP_TYPE_CURRENT 0

#define S_OK ((HRESULT)0L)
#define S_FALSE ((HRESULT)1L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// Only the Startup folder is known; any other folder fails with E_INVALIDARG. The ANSI call gives the
// folder's path in the ANSI code page, where a character the code page lacks becomes "?", as the system's
// conversion makes it another path.
HRESULT WINAPI SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path);
HRESULT WINAPI SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path);
