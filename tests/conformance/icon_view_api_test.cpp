// The list-view messages that the desktop writer sends to the desktop's icon view, as the view answers
// them. On the simulated platform its simulated icon view; under Wine a real list view in another process
// (the desktop fixture), reached through the same window search.
#include "tests/support/test_platform.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

TEST(IconViewApiTest, TheDesktopsIconViewIsFoundByClassThroughItsTwoParents) {
    HWND view = test_platform::DesktopIconView(0);
    ASSERT_NE(nullptr, view);
    HWND desktop = FindWindowExA(nullptr, nullptr, "Progman", "Program Manager");
    ASSERT_NE(nullptr, desktop);
    HWND shellView = FindWindowExA(desktop, nullptr, "SHELLDLL_DefView", nullptr);
    ASSERT_NE(nullptr, shellView);
    EXPECT_EQ(shellView, FindWindowExA(desktop, nullptr, "shelldll_defview", ""));
    EXPECT_EQ(view, FindWindowExA(shellView, nullptr, "SysListView32", nullptr));
}

TEST(IconViewApiTest, TheExtendedStyleReportsSnapToGridAsSet) {
    HWND view = test_platform::DesktopIconView(LVS_EX_SNAPTOGRID);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(LRESULT(LVS_EX_SNAPTOGRID), SendMessageA(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_SNAPTOGRID);
    SendMessageA(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_SNAPTOGRID, 0);
    EXPECT_EQ(0, SendMessageA(view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_SNAPTOGRID);
}

TEST(IconViewApiTest, IconSpacingComesBackAsSetAndZeroKeepsADirection) {
    HWND view = test_platform::DesktopIconView(0);  // spacing 64 x 64
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(LRESULT(MAKELONG(64, 64)), SendMessageA(view, LVM_SETICONSPACING, 0, MAKELPARAM(146, 92)));
    EXPECT_EQ(LRESULT(MAKELONG(146, 92)), SendMessageA(view, LVM_GETITEMSPACING, FALSE, 0));
    SendMessageA(view, LVM_SETICONSPACING, 0, MAKELPARAM(0, 107));
    EXPECT_EQ(LRESULT(MAKELONG(146, 107)), SendMessageA(view, LVM_GETITEMSPACING, FALSE, 0));
}

TEST(IconViewApiTest, TheIconViewArrangesLeftAlignedAndOnTheGrid) {
    HWND view = test_platform::DesktopIconView(0);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(TRUE, SendMessageA(view, LVM_ARRANGE, LVA_ALIGNLEFT, 0));
    EXPECT_EQ(TRUE, SendMessageA(view, LVM_ARRANGE, LVA_SNAPTOGRID, 0));
}

}  // namespace
