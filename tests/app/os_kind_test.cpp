// The system classification: every row of the OsKind table and its borders.
#include "app/os_version.h"

#include <gtest/gtest.h>

namespace {

TEST(OsKindTest, ClassifiesEveryPlatformAndVersionByTheTable) {
    const struct {
        const char* label;
        bool queried;
        DWORD platform;
        DWORD major;
        DWORD minor;
        OsKind kind;
    } rows[] = {
        {"query failed", false, VER_PLATFORM_WIN32_NT, 5, 1, 0},
        {"Win32s", true, VER_PLATFORM_WIN32s, 3, 10, 1},
        {"Windows 95 (4.0)", true, VER_PLATFORM_WIN32_WINDOWS, 4, 0, 2},
        {"platform 1, minor 9", true, VER_PLATFORM_WIN32_WINDOWS, 4, 9, 2},
        {"Windows 98 (4.10)", true, VER_PLATFORM_WIN32_WINDOWS, 4, 10, 3},
        {"platform 1, minor 89", true, VER_PLATFORM_WIN32_WINDOWS, 4, 89, 3},
        {"Windows Me (4.90)", true, VER_PLATFORM_WIN32_WINDOWS, 4, 90, 4},
        {"platform 1, minor 200", true, VER_PLATFORM_WIN32_WINDOWS, 4, 200, 4},
        {"NT 3.51", true, VER_PLATFORM_WIN32_NT, 3, 51, 5},
        {"NT 4.0", true, VER_PLATFORM_WIN32_NT, 4, 0, 5},
        {"NT 4.1", true, VER_PLATFORM_WIN32_NT, 4, 1, 5},
        {"Windows 2000 (5.0)", true, VER_PLATFORM_WIN32_NT, 5, 0, 6},
        {"Windows XP (5.1)", true, VER_PLATFORM_WIN32_NT, 5, 1, 7},
        {"Server 2003 (5.2)", true, VER_PLATFORM_WIN32_NT, 5, 2, 7},
        {"Vista (6.0)", true, VER_PLATFORM_WIN32_NT, 6, 0, 6},
        {"Windows 7 (6.1)", true, VER_PLATFORM_WIN32_NT, 6, 1, 7},
        {"platform 3", true, 3, 5, 1, 0},
        {"platform 0xFFFFFFFF", true, 0xFFFFFFFFu, 5, 1, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.kind, ClassifyOs(row.queried, row.platform, row.major, row.minor)) << row.label;
}

TEST(OsKindTest, OnlyWindows2000AndXpAreSupported) {
    for (OsKind kind = 0; kind <= 8; ++kind) EXPECT_EQ(kind == 6 || kind == 7, IsSupportedOs(kind)) << kind;
}

}  // namespace
