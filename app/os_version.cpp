#include "app/os_version.h"

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record GetVersionExA fills is 148 bytes");

OsKind ClassifyOs(bool queried, DWORD platformId, DWORD major, DWORD minor) {
    if (!queried) return kOsUnclassified;
    switch (platformId) {
        case VER_PLATFORM_WIN32s:
            return kOsWin32s;
        case VER_PLATFORM_WIN32_WINDOWS:
            if (minor < 10) return kOsWindows95;
            return minor < 90 ? kOsWindows98 : kOsWindowsMe;
        case VER_PLATFORM_WIN32_NT:
            if (major < 5) return kOsWindowsNt4;
            return minor == 0 ? kOsWindows2000 : kOsWindowsXp;
        default:
            return kOsUnclassified;
    }
}

OsVersionProbe::OsVersionProbe() : kind_(kOsUnclassified) {
    version_.dwOSVersionInfoSize = sizeof version_;
    version_.dwMajorVersion = 0;
    version_.dwMinorVersion = 0;
    version_.dwBuildNumber = 0;
    version_.dwPlatformId = 0;
    version_.szCSDVersion[0] = '\0';
    const bool queried = GetVersionExA(&version_) != FALSE;
    kind_ = ClassifyOs(queried, version_.dwPlatformId, version_.dwMajorVersion, version_.dwMinorVersion);
}

OsVersionProbe::~OsVersionProbe() = default;
