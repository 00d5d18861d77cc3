// The simulated Win32 platform: the part of <windows.h> that Optivue calls, with Windows' type sizes.
// The declarations match the platform's spelling so that the same sources build against MinGW-w64's
// real headers and against this header. Behind them stands the in-memory machine of simwin/sim.h.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Basic types (ILP32 sizes where Windows has them, whatever the host's long is) ----
#define WINAPI
#define CALLBACK
#define APIENTRY
#define CONST const

typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t DWORD;
typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef uint16_t WCHAR;
typedef int32_t HRESULT;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef DWORD_PTR* PDWORD_PTR;
typedef LONG_PTR LRESULT;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef DWORD ACCESS_MASK;
typedef ACCESS_MASK REGSAM;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef void* LPVOID;
typedef void* PVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef const BYTE* LPCBYTE;
typedef DWORD* LPDWORD;
typedef LONG* PLONG;
typedef BOOL* LPBOOL;
typedef void* HANDLE;

#define DECLARE_SIM_HANDLE(name) \
    struct name##__ {            \
        int unused;              \
    };                           \
    typedef struct name##__* name
DECLARE_SIM_HANDLE(HKEY);
DECLARE_SIM_HANDLE(HWND);
DECLARE_SIM_HANDLE(HINSTANCE);
DECLARE_SIM_HANDLE(HBRUSH);
DECLARE_SIM_HANDLE(HICON);
DECLARE_SIM_HANDLE(HFONT);
DECLARE_SIM_HANDLE(HMENU);
DECLARE_SIM_HANDLE(HDC);
DECLARE_SIM_HANDLE(HBITMAP);
#undef DECLARE_SIM_HANDLE
typedef HKEY* PHKEY;
typedef HINSTANCE HMODULE;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *PFILETIME;

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

// ---- Error codes ----
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_BAD_PATHNAME 161L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_INVALID_SPI_VALUE 1439L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);

// ---- Time and waits ----
// Advances the machine's virtual clock at once.
void WINAPI Sleep(DWORD milliseconds);
// The virtual clock's time.
DWORD WINAPI GetTickCount(void);

#define WAIT_OBJECT_0 0x00000000L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED 0xFFFFFFFF
#define QS_POSTMESSAGE 0x0008
#define QS_SENDMESSAGE 0x0040
#define PM_NOREMOVE 0x0000
#define PM_QS_SENDMESSAGE (QS_SENDMESSAGE << 16)

// ---- Rectangles and packed message arguments ----
typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *PRECT, *LPRECT;

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))

// ---- System colours, the foreground window and repaints ----
typedef DWORD COLORREF;
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_3DFACE 15
#define COLOR_3DSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_3DHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_HOTLIGHT 26
#define COLOR_GRADIENTACTIVECAPTION 27
#define COLOR_GRADIENTINACTIVECAPTION 28
#define COLOR_MENUHILIGHT 29
#define COLOR_MENUBAR 30

// Null for an index outside 0 to 30 and for one the machine has no brush for.
HBRUSH WINAPI GetSysColorBrush(int index);
// 0 for an index outside 0 to 30.
DWORD WINAPI GetSysColor(int index);
// Sets the colours in order; an index outside 0 to 30 fails the call with ERROR_INVALID_PARAMETER
// before any colour is set.
BOOL WINAPI SetSysColors(int count, const INT* indices, const COLORREF* colors);
HWND WINAPI GetForegroundWindow(void);
// A null window stands for every window.
BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase);

#define SW_SHOW 5

// ---- Registry ----
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define READ_CONTROL 0x00020000L
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM desired,
                            const SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition);
LONG WINAPI RegCloseKey(HKEY key);
LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName);
LONG WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey);
LONG WINAPI RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize, LPDWORD reserved, LPDWORD type,
                          LPBYTE data, LPDWORD dataSize);
LONG WINAPI RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD keyClassSize, LPDWORD reserved, LPDWORD subKeys,
                             LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                             LPDWORD maxValueNameLength, LPDWORD maxValueLength, LPDWORD securityDescriptorSize,
                             PFILETIME lastWriteTime);

// ---- Strings and resources ----
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
int WINAPI lstrcmpA(LPCSTR a, LPCSTR b);
int WINAPI lstrlenA(LPCSTR text);

// ---- Fonts ----
#define LF_FACESIZE 32
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;

// ---- System parameters ----
typedef struct tagNONCLIENTMETRICSA {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTA lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTA lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTA lfMenuFont;
    LOGFONTA lfStatusFont;
    LOGFONTA lfMessageFont;
} NONCLIENTMETRICSA, *PNONCLIENTMETRICSA, *LPNONCLIENTMETRICSA;

typedef struct tagICONMETRICSA {
    UINT cbSize;
    int iHorzSpacing;
    int iVertSpacing;
    int iTitleWrap;
    LOGFONTA lfFont;
} ICONMETRICSA, *PICONMETRICSA, *LPICONMETRICSA;

static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA is 60 bytes on Windows");
static_assert(sizeof(NONCLIENTMETRICSA) == 340, "NONCLIENTMETRICSA is 340 bytes before Vista");
static_assert(sizeof(ICONMETRICSA) == 76, "ICONMETRICSA is 76 bytes on Windows");

#define SPI_GETNONCLIENTMETRICS 0x0029
#define SPI_SETNONCLIENTMETRICS 0x002A
#define SPI_GETICONMETRICS 0x002D
#define SPI_SETICONMETRICS 0x002E
#define SPI_GETWORKAREA 0x0030
#define SPI_SETCURSORS 0x0057
#define SPI_SETICONS 0x0058

#define SPIF_UPDATEINIFILE 0x0001
#define SPIF_SENDWININICHANGE 0x0002
#define SPIF_SENDCHANGE SPIF_SENDWININICHANGE

// The metrics records must come with cbSize and uiParam both equal to the record's size; a GET that fails
// leaves the record as it was. The last error tells why a call failed.
BOOL WINAPI SystemParametersInfoA(UINT action, UINT uiParam, PVOID pvParam, UINT winIni);

// ---- Windows and messages ----
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L

#define WM_USER 0x0400
#define WM_APP 0x8000

// Searches the children of `parent` (null: the top-level windows) after `childAfter` (null: from the
// first) for a window of the class and the title given, both compared without regard to case; a null
// class or title matches any, the empty title only an empty one.
HWND WINAPI FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName);
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#define SMTO_NORMAL 0x0000
#define SMTO_BLOCK 0x0001
#define SMTO_ABORTIFHUNG 0x0002
#define ERROR_TIMEOUT 1460L

// As SendMessageA, the answer going to *result; 0 with ERROR_TIMEOUT when the window's thread does not
// answer within `timeoutMs` (a list view made to hang: the virtual clock moves on by the time waited).
LRESULT WINAPI SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeoutMs,
                                   PDWORD_PTR result);

#define WM_SETREDRAW 0x000B

#define GWL_STYLE (-16)
#define ERROR_INVALID_INDEX 1413L

// Only GWL_STYLE is kept; any other index fails with ERROR_INVALID_INDEX.
LONG WINAPI GetWindowLongA(HWND window, int index);
LONG WINAPI SetWindowLongA(HWND window, int index, LONG value);  // returns the previous value
BOOL WINAPI UpdateWindow(HWND window);

// ---- Dialogs ----
#define IDOK 1
#define IDCANCEL 2

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *PPOINT, *LPPOINT;

// ---- Messages other threads send ----
// Only messages that other threads send exist here (simwin::SentMessages); the program has no posted ones.
typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;
// Waits up to `milliseconds` on the virtual clock, with no handle or the handle of one started program:
// WAIT_OBJECT_0 when the program has ended, WAIT_OBJECT_0 + count when, with QS_SENDMESSAGE in `wakeMask`, a
// message sent by another thread is waiting to be answered, WAIT_TIMEOUT otherwise.
DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, CONST HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                       DWORD wakeMask);
// Answers every message another thread has sent by now (unless `remove` limits it to other kinds); there
// is never a posted message to return, so the result is FALSE.
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove);

// Records the result on the window; the dialog's own code runs on.
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);

// ---- System version ----
#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

typedef struct _OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
} OSVERSIONINFOA, *POSVERSIONINFOA, *LPOSVERSIONINFOA;

// Fails with ERROR_INVALID_PARAMETER unless the record's size field is 148 (the size of this record).
BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info);

// ---- Named mutexes ----
#define ERROR_NOT_OWNER 288L

// The handle of the mutex of that name, made when there is none; the last error is ERROR_ALREADY_EXISTS
// when it was there already, else 0.
HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
// Fails with ERROR_NOT_OWNER when the program does not own the mutex.
BOOL WINAPI ReleaseMutex(HANDLE mutex);
BOOL WINAPI CloseHandle(HANDLE object);

// ---- Started programs ----
#define STILL_ACTIVE 259L

// STILL_ACTIVE while the program runs, then its exit code. It never fails for a handle the shell gave.
BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode);

// ---- Files ----
#define ERROR_PATH_NOT_FOUND 3L

// The files' names are compared in their UTF-16 form: an ANSI path names a file by the characters its
// bytes stand for in the ANSI code page.
BOOL WINAPI DeleteFileA(LPCSTR path);
BOOL WINAPI DeleteFileW(LPCWSTR path);

// ---- Text in the ANSI code page ----
// The ANSI code page is 1252, as on English and German systems.
#define CP_ACP 0
#define WC_NO_BEST_FIT_CHARS 0x00000400

// Only CP_ACP. A character the code page lacks becomes the default character "?" and sets
// *usedDefaultChar; the simulated code page has no best-fit look-alikes, so WC_NO_BEST_FIT_CHARS changes
// nothing. With `bytes` 0 it returns the size needed; a buffer too small fails with
// ERROR_INSUFFICIENT_BUFFER.
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR bytes, int byteCount,
                               LPCSTR defaultChar, BOOL* usedDefaultChar);

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020

// FILE_ATTRIBUTE_ARCHIVE for a file of the machine's, else INVALID_FILE_ATTRIBUTES with
// ERROR_FILE_NOT_FOUND.
DWORD WINAPI GetFileAttributesA(LPCSTR path);
