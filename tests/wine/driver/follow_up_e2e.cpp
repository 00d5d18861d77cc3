// The follow-up run as it happens at logon: with "Changed" set from outside and the shortcut in the
// Startup folder, a start re-lays out the desktop's icon view (the desktop fixture's), clears the flag,
// removes the shortcut and ends without a main window; anything else is a normal run that leaves the flag 0.
#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using e2e::Program;

const char* const kProgramKey = "Software\\Korvani\\optiv";
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

}  // namespace
