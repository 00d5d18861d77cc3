// The follow-up run as it happens at logon: with "Changed" set from outside and the shortcut in the
// Startup folder, a start re-lays out the desktop's icon view (the desktop fixture's), clears the flag,
// removes the shortcut and ends without a main window; anything else is a normal run that leaves the flag 0.
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/input.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using e2e::Program;

const char* const kProgramKey = test_keys::kProgram;
const std::vector<BYTE> kZero = {0, 0, 0, 0};

// Puts the icon view into the small-icon view with its items scattered, as a desktop may be left.
void Scatter(HWND iconView, LONG otherBits) {
    SetWindowLongA(iconView, GWL_STYLE, otherBits | LVS_SMALLICON);
    for (int item = 0; item < 5; ++item)
        SendMessageA(iconView, LVM_SETITEMPOSITION, item, MAKELPARAM(37 * item + 11, 301 - 53 * item));
    e2e::Sync(iconView);
}

bool Arranged(HWND iconView, std::string* why) {
    const DWORD spacing = static_cast<DWORD>(SendMessageA(iconView, LVM_GETITEMSPACING, FALSE, 0));
    return test_platform::IconsArrangedOnGrid(iconView, LOWORD(spacing), HIWORD(spacing), why);
}

TEST(FollowUpRun, ANonZeroFourByteFlagRelaysTheDesktopClearsTheFlagAndRemovesTheShortcut) {
    const HWND iconView = test_platform::DesktopIconView(0);
    ASSERT_NE(nullptr, iconView);
    const LONG otherBits = GetWindowLongA(iconView, GWL_STYLE) & ~LVS_TYPEMASK;
    const std::string shortcut = e2e::StartupFolder() + "\\Optivue.lnk";
    const std::string otherShortcut = e2e::StartupFolder() + "\\Other.lnk";

    const struct {
        const char* label;
        DWORD type;
        std::vector<BYTE> data;  // empty: no key at all
        bool followUp;
    } rows[] = {
        {"REG_DWORD 1", REG_DWORD, {1, 0, 0, 0}, true},
        {"4-byte REG_BINARY", REG_BINARY, {0, 0, 1, 0}, true},
        {"REG_SZ \"1\"", REG_SZ, {'1', 0}, false},
        {"no key", REG_NONE, {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        test_platform::DeleteKeyTree(kProgramKey);
        if (!row.data.empty()) test_platform::PutValue(kProgramKey, "Changed", row.type, row.data);
        e2e::CreateFileWithText(shortcut);
        e2e::CreateFileWithText(otherShortcut);
        Scatter(iconView, otherBits);
        std::string why;
        ASSERT_FALSE(Arranged(iconView, &why)) << why;

        Program program;
        if (row.followUp) {
            DWORD exitCode = 1;
            ASSERT_TRUE(program.WaitForExit(&exitCode));
            EXPECT_EQ(0u, exitCode);
            EXPECT_TRUE(program.WindowsSeen().empty()) << ::testing::PrintToString(program.WindowsSeen());
            EXPECT_EQ(otherBits | LVS_ICON, GetWindowLongA(iconView, GWL_STYLE));
            EXPECT_TRUE(Arranged(iconView, &why)) << why;
            EXPECT_FALSE(e2e::FileExists(shortcut));
        } else {
            const HWND dialog = program.WaitForMainDialog();
            ASSERT_NE(nullptr, dialog);
            EXPECT_EQ(otherBits | LVS_SMALLICON, GetWindowLongA(iconView, GWL_STYLE)) << "the desktop is left alone";
            EXPECT_FALSE(Arranged(iconView, &why)) << why;
            EXPECT_TRUE(e2e::FileExists(shortcut));
            ASSERT_TRUE(e2e::WaitForForeground(dialog));
            e2e::PressKey(VK_ESCAPE);
            EXPECT_TRUE(program.WaitForExit());
        }
        EXPECT_TRUE(e2e::FileExists(otherShortcut)) << "only Optivue.lnk goes";
        const test_platform::StoredValue changed = test_platform::GetValue(kProgramKey, "Changed");
        EXPECT_TRUE(changed.exists);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), changed.type);
        EXPECT_EQ(kZero, changed.data);
    }
    DeleteFileA(shortcut.c_str());
    DeleteFileA(otherShortcut.c_str());
    test_platform::DeleteKeyTree(kProgramKey);
}

// The Startup folder as the current user's registry names it, in its wide form: a value of "User Shell
// Folders", and whether it was there.
const WCHAR* const kUserShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

struct WideValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

WideValue GetStartupValue() {
    WideValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    BYTE data[2048];
    DWORD size = sizeof data;
    if (RegQueryValueExW(key, L"Startup", nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
        value.exists = true;
        value.data.assign(data, data + size);
    }
    RegCloseKey(key);
    return value;
}

void PutStartupValue(const WideValue& value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, nullptr, 0, KEY_SET_VALUE,
                                             nullptr, &key, nullptr));
    if (value.exists) {
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"Startup", 0, value.type, value.data.data(),
                                                static_cast<DWORD>(value.data.size())));
    } else {
        RegDeleteValueW(key, L"Startup");
    }
    RegCloseKey(key);
}

// A Startup folder whose path has letters outside the ANSI code page, as a Greek user name gives it on an
// English or German system: its ANSI path names another file, and the shortcut that the visual-style tool
// made by the wide path is still removed.
TEST(FollowUpRun, TheShortcutIsRemovedWhenTheStartupFolderPathHasLettersOutsideTheAnsiCodePage) {
    const WideValue saved = GetStartupValue();
    WCHAR usual[MAX_PATH] = {};
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, usual));
    // "...\\Ελένη Αυτόματη έναρξη"
    const std::wstring greek = std::wstring(usual) +
                               L"\\\x0395\x03bb\x03ad\x03bd\x03b7 \x0391\x03c5\x03c4\x03cc\x03bc\x03b1\x03c4\x03b7 "
                               L"\x03ad\x03bd\x03b1\x03c1\x03be\x03b7";
    ASSERT_TRUE(CreateDirectoryW(greek.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const BYTE* folderBytes = reinterpret_cast<const BYTE*>(greek.c_str());
    WideValue greekValue;
    greekValue.exists = true;
    greekValue.type = REG_EXPAND_SZ;
    greekValue.data.assign(folderBytes, folderBytes + (greek.size() + 1) * sizeof(WCHAR));
    PutStartupValue(greekValue);
    WCHAR seen[MAX_PATH] = {};
    EXPECT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, seen));
    EXPECT_EQ(greek, std::wstring(seen)) << "the system does not take the Startup folder from User Shell Folders";

    const std::wstring shortcut = greek + L"\\Optivue.lnk";
    HANDLE file =
        CreateFileW(shortcut.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    test_platform::PutValue(kProgramKey, "Changed", REG_DWORD, {1, 0, 0, 0});

    Program program;
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(shortcut.c_str())) << "the shortcut is still there";
    const test_platform::StoredValue changed = test_platform::GetValue(kProgramKey, "Changed");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), changed.type);
    EXPECT_EQ(kZero, changed.data);

    DeleteFileW(shortcut.c_str());
    RemoveDirectoryW(greek.c_str());
    PutStartupValue(saved);
    test_platform::DeleteKeyTree(kProgramKey);
}

}  // namespace
