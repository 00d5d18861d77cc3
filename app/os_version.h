// The classification of the running system. Every user of it asks afresh with its own probe; nothing is
// cached, so a probe always tells what the system reports at that moment.
#pragma once

#include <windows.h>

// 0 unclassified, 1 Win32s, 2 Windows 95, 3 Windows 98, 4 Windows Me, 5 Windows NT 4 or older,
// 6 Windows 2000, 7 Windows XP. Only 6 and 7 are supported.
typedef WORD OsKind;

constexpr OsKind kOsUnclassified = 0;
constexpr OsKind kOsWin32s = 1;
constexpr OsKind kOsWindows95 = 2;
constexpr OsKind kOsWindows98 = 3;
constexpr OsKind kOsWindowsMe = 4;
constexpr OsKind kOsWindowsNt4 = 5;
constexpr OsKind kOsWindows2000 = 6;
constexpr OsKind kOsWindowsXp = 7;

// The kind of a system that reported `platformId`, `major` and `minor`; 0 when the query failed
// (`queried` false) or the platform is none that the table knows. For the NT family only the minor version
// being zero or not tells 2000 from XP, so 5.2 counts as XP and 6.0 as 2000.
OsKind ClassifyOs(bool queried, DWORD platformId, DWORD major, DWORD minor);

inline bool IsSupportedOs(OsKind kind) { return kind == kOsWindows2000 || kind == kOsWindowsXp; }

// Asks GetVersionExA once, at construction.
class OsVersionProbe {
public:
    OsVersionProbe();
    virtual ~OsVersionProbe();
    OsVersionProbe(const OsVersionProbe&) = delete;
    OsVersionProbe& operator=(const OsVersionProbe&) = delete;

    OsKind kind() const { return kind_; }

private:
    OSVERSIONINFOA version_;
    OsKind kind_;
};
