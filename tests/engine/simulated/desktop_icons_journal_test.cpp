// ApplyDesktopIconMetrics seen through the simulated platform's journal: the whole sequence with its two
// pauses, where it stops at each failure and what it leaves, and the spacing it sends when snap-to-grid
// arithmetic has no whole column or row to work with.
#include "settings/desktop_icons.h"
#include "tests/support/journal_steps.h"
#include "tests/support/registry_keys.h"
#include "tests/support/size_rows.h"

#include <commctrl.h>
#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using journal_steps::Steps;
using journal_steps::StepsStartingWith;
using simwin::machine;
using simwin::StringTables;

const std::string kWindowMetrics = test_keys::InCurrentUser(test_keys::kWindowMetrics);

bool ApplyNormalXpClassic() { return ApplyDesktopIconMetrics(DESKTOP_ICON_ROWS(XP_CLASSIC, NORMAL)); }
bool ApplyLargeXpClassic() { return ApplyDesktopIconMetrics(DESKTOP_ICON_ROWS(XP_CLASSIC, LARGE)); }

std::string Found(HWND window) { return std::to_string(reinterpret_cast<uintptr_t>(window)); }

class DesktopIconsJournalTest : public testing::Test {
protected:
    void SetUp() override { simwin::Reset(); }
};

TEST_F(DesktopIconsJournalTest, EnglishNormalOnASnappingDesktopRunsEveryStepInOrderWithTwoPauses) {
    const simwin::Desktop desktop = simwin::CreateDesktop(LVS_EX_SNAPTOGRID);

    EXPECT_TRUE(ApplyNormalXpClassic());

    const std::vector<std::string> expected = {
        "row 401",
        "row 402",
        "row 405",
        "row 421",
        "row 431",
        "row 531",
        R"(set Control Panel\Desktop\WindowMetrics [Shell Icon Size] REG_SZ 3 -> 0)",
        "SystemParametersInfoA(SPI_SETICONS, 0, NULL, 0x3) -> 1",
        "SHChangeNotify(0x8000000, 0x2000, NULL, NULL) -> 0",
        "SystemParametersInfoA(SPI_GETICONMETRICS, 76, ICONMETRICSA{cbSize=76}, 0x0) -> 1",
        "SystemParametersInfoA(SPI_SETICONMETRICS, 76, ICONMETRICSA{cbSize=76}, 0x3) -> 1",
        "pause 500",
        R"(FindWindowExA(NULL, NULL, "Progman", "Program Manager" => hwnd#1) -> )" + Found(desktop.progman),
        R"(FindWindowExA(hwnd#1, NULL, "SHELLDLL_DefView", NULL => hwnd#2) -> )" + Found(desktop.shellView),
        R"(FindWindowExA(hwnd#2, NULL, "SysListView32", NULL => hwnd#3) -> )" + Found(desktop.iconView),
        "SendMessageTimeoutA(hwnd#3, LVM_GETEXTENDEDLISTVIEWSTYLE, 0x0, 0x0, 0x2, 3000 => " +
            std::to_string(LVS_EX_SNAPTOGRID) + ") -> 1",
        "SystemParametersInfoA(SPI_GETWORKAREA, 0, RECT, 0x0) -> 1",
        // 13 columns of 78 and 9 rows of 82 in 1024 x 738: 82 * 65536 + 78. The view had 75 x 75.
        "SendMessageTimeoutA(hwnd#3, LVM_SETICONSPACING, 0x0, 0x52004E, 0x2, 3000 => " +
            std::to_string(75 * 65536 + 75) + ") -> 1",
        "SendMessageTimeoutA(hwnd#3, LVM_ARRANGE, 0x1, 0x0, 0x2, 3000 => 1) -> 1",
        "pause 500",
        "SendMessageTimeoutA(hwnd#3, LVM_ARRANGE, 0x5, 0x0, 0x2, 3000 => 1) -> 1",
    };
    EXPECT_EQ(expected, Steps());
    EXPECT_EQ(1000u, machine().clock.NowMs());
}

TEST_F(DesktopIconsJournalTest, WithoutSnapToGridTheWorkAreaIsNotAskedForAndTheSpacingGrowsWithTheIcon) {
    simwin::CreateDesktop(0);
    EXPECT_TRUE(ApplyLargeXpClassic());
    EXPECT_EQ((std::vector<std::string>{
                  "SendMessageTimeoutA(hwnd#3, LVM_GETEXTENDEDLISTVIEWSTYLE, 0x0, 0x0, 0x2, 3000 => 0) -> 1",
                  "SendMessageTimeoutA(hwnd#3, LVM_SETICONSPACING, 0x0, 0x6B006B, 0x2, 3000 => " +
                      std::to_string(75 * 65536 + 75) + ") -> 1"}),
              StepsStartingWith({"SendMessageTimeoutA(hwnd#3, LVM_GET", "SendMessageTimeoutA(hwnd#3, LVM_SET",
                                 "SystemParametersInfoA(SPI_GETWORK"}));
}

TEST_F(DesktopIconsJournalTest, StopsAtTheFirstFailureKeepingWhatItDid) {
    const auto iconMetricsBefore = [] { return simwin::SystemParameters().iconMetrics; }();
    const struct {
        const char* label;
        std::function<void()> arrange;
        bool result;
        std::string lastStep;
        bool iconSizeWritten;
        bool iconMetricsSet;
    } cases[] = {
        {"value-name row missing",
         [] { machine().strings.RemoveRow(StringTables::kEnglish, IDS_ICON_SIZE_VALUE_NAME); }, false,
         "row 401 missing", false, false},
        {"title font row missing",
         [] { machine().strings.RemoveRow(StringTables::kEnglish, IDS_XP_CLASSIC_NORMAL_ICON_FONT); }, false,
         "row 531 missing", false, false},
        {"icon metrics cannot be read", [] { machine().faults.FailAll("SystemParametersInfoA:SPI_GETICONMETRICS"); },
         false, "SystemParametersInfoA(SPI_GETICONMETRICS, 76, ICONMETRICSA{cbSize=76}, 0x0) -> 0", true, false},
        {"title font refused",
         [] {
             machine().strings.SetRow(StringTables::kEnglish, IDS_XP_CLASSIC_NORMAL_ICON_FONT,
                                      "  -11, 400,   1, Tahoma");
         },
         false, "SystemParametersInfoA(SPI_GETICONMETRICS, 76, ICONMETRICSA{cbSize=76}, 0x0) -> 1", true, false},
        // A shell without the icon view has no layout to change: no failure.
        {"no desktop", [] {}, true, R"(FindWindowExA(NULL, NULL, "Progman", "Program Manager") -> 0)", true, true},
        {"a desktop without its shell view",
         [] { machine().windows.Create("Progman", "Program Manager", nullptr, WS_VISIBLE); }, true,
         R"(FindWindowExA(hwnd#1, NULL, "SHELLDLL_DefView", NULL) -> 0)", true, true},
        {"a shell view without an icon view",
         [] {
             HWND progman = machine().windows.Create("Progman", "Program Manager", nullptr, WS_VISIBLE);
             machine().windows.Create("SHELLDLL_DefView", "", progman, WS_CHILD);
         },
         true, R"(FindWindowExA(hwnd#2, NULL, "SysListView32", NULL) -> 0)", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        simwin::Reset();
        c.arrange();

        EXPECT_EQ(c.result, ApplyNormalXpClassic());

        const std::vector<std::string> steps = Steps();
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(c.lastStep, steps.back());
        EXPECT_EQ(c.iconSizeWritten, machine().registry.Value(kWindowMetrics, "Shell Icon Size") != nullptr);
        const bool iconMetricsChanged =
            std::memcmp(&iconMetricsBefore, &machine().parameters.iconMetrics, sizeof iconMetricsBefore) != 0;
        EXPECT_EQ(c.iconMetricsSet, iconMetricsChanged);
        EXPECT_TRUE(StepsStartingWith({"SendMessageTimeoutA"}).empty());
    }
}

TEST_F(DesktopIconsJournalTest, AListViewOfAnotherProgramIsNotTakenForTheDesktopsIconView) {
    // No "Progman": a search with a null parent would look among all top-level windows.
    HWND foreignView = machine().windows.Create("SHELLDLL_DefView", "", nullptr, WS_VISIBLE);
    HWND foreignList = machine().windows.Create("SysListView32", "", nullptr, WS_VISIBLE);
    machine().windows.Create("SysListView32", "", foreignView, WS_CHILD);

    EXPECT_TRUE(ApplyNormalXpClassic());

    EXPECT_EQ(R"(FindWindowExA(NULL, NULL, "Progman", "Program Manager") -> 0)", Steps().back());
    EXPECT_TRUE(StepsStartingWith({"SendMessageTimeoutA"}).empty());
    EXPECT_TRUE(machine().windows.Find(foreignList)->listView->arrangements.empty());
}

TEST_F(DesktopIconsJournalTest, RefusedSetCallsDoNotStopTheLaterSteps) {
    simwin::CreateDesktop(0);
    // As on Wine, which reloads neither icons nor pointers.
    machine().faults.FailAll("SystemParametersInfoA:SPI_SETICONS", ERROR_INVALID_SPI_VALUE);
    machine().faults.FailAll("SystemParametersInfoA:SPI_SETICONMETRICS");
    machine().faults.FailAll("RegSetValueExA");

    // The icon size and metrics did not change, which the result says; a missing reload is no failure.
    EXPECT_FALSE(ApplyNormalXpClassic());

    EXPECT_EQ((std::vector<std::string>{"SendMessageTimeoutA(hwnd#3, LVM_ARRANGE, 0x1, 0x0, 0x2, 3000 => 1) -> 1",
                                        "SendMessageTimeoutA(hwnd#3, LVM_ARRANGE, 0x5, 0x0, 0x2, 3000 => 1) -> 1"}),
              StepsStartingWith({"SendMessageTimeoutA(hwnd#3, LVM_ARRANGE"}));
}

TEST_F(DesktopIconsJournalTest, SnapToGridWithoutAWholeColumnOrRowFallsBackToTheSpacingGrownWithTheIcon) {
    // Large rows: icon 48 over a base of 32, so the fallback is the row's spacing plus 16.
    const struct {
        const char* label;
        const char* horizontal;
        const char* vertical;
        RECT workArea;
        bool workAreaFails;
        WORD cx;
        WORD cy;
    } cases[] = {
        {"the table's spacing", "91", "91", {0, 0, 1024, 738}, false, 93, 92},
        {"a horizontal spacing of 0", "0", "91", {0, 0, 1024, 738}, false, 16, 92},
        {"a negative spacing", "-20", "91", {0, 0, 1024, 738}, false, 0xFFFC, 92},
        {"spacings wider and taller than the work area", "2000", "800", {0, 0, 1024, 738}, false, 2016, 816},
        {"spacings exactly the work area", "1024", "738", {0, 0, 1024, 738}, false, 1024, 738},
        {"a work area the query did not fill", "91", "91", {0, 0, 1024, 738}, true, 107, 107},
        {"a work area without height", "91", "91", {0, 0, 1024, 0}, false, 93, 107},
        {"a work area turned over", "91", "91", {1024, 0, 0, 738}, false, 107, 92},
        {"a work area away from the origin", "91", "91", {200, 100, 1224, 838}, false, 93, 92},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        simwin::Reset();
        simwin::CreateDesktop(LVS_EX_SNAPTOGRID);
        machine().strings.SetRow(StringTables::kEnglish, IDS_ICON_SPACING_LARGE, c.horizontal);
        machine().strings.SetRow(StringTables::kEnglish, IDS_ICON_VERTICAL_SPACING_LARGE, c.vertical);
        machine().parameters.workArea = c.workArea;
        if (c.workAreaFails) machine().faults.FailAll("SystemParametersInfoA:SPI_GETWORKAREA");

        // Without the work area the view cannot get the spacing that fits its grid.
        EXPECT_EQ(!c.workAreaFails, ApplyLargeXpClassic());

        const std::vector<std::string> sent = StepsStartingWith({"SendMessageTimeoutA(hwnd#3, LVM_SETICONSPACING"});
        ASSERT_EQ(1u, sent.size());
        const std::string lParam = simwin::Hex(static_cast<DWORD>(c.cy) << 16 | c.cx);
        EXPECT_EQ(0u, sent[0].find("SendMessageTimeoutA(hwnd#3, LVM_SETICONSPACING, 0x0, " + lParam + ", 0x2, 3000"))
            << sent[0];
    }
}

// A shell that does not answer costs each message its bound and no more: every step still runs, with the
// same pauses, and the result says that the desktop's layout did not change.
TEST_F(DesktopIconsJournalTest, AShellThatDoesNotAnswerCostsEachMessageItsBoundAndFailsTheStep) {
    const simwin::Desktop desktop = simwin::CreateDesktop(LVS_EX_SNAPTOGRID);
    machine().windows.Find(desktop.iconView)->listView->hung = true;

    EXPECT_FALSE(ApplyNormalXpClassic());

    EXPECT_EQ((std::vector<std::string>{
                  "SendMessageTimeoutA(hwnd#3, LVM_GETEXTENDEDLISTVIEWSTYLE, 0x0, 0x0, 0x2, 3000) -> 0",
                  "SendMessageTimeoutA(hwnd#3, LVM_SETICONSPACING, 0x0, 0x4B004B, 0x2, 3000) -> 0",
                  "SendMessageTimeoutA(hwnd#3, LVM_ARRANGE, 0x1, 0x0, 0x2, 3000) -> 0",
                  "SendMessageTimeoutA(hwnd#3, LVM_ARRANGE, 0x5, 0x0, 0x2, 3000) -> 0",
              }),
              StepsStartingWith({"SendMessageTimeoutA"}));
    EXPECT_EQ(1000u + 4 * 3000u, machine().clock.NowMs());
    // The registry and the system took their part.
    EXPECT_EQ("32", machine().registry.String(kWindowMetrics, "Shell Icon Size").value_or(""));
}

}  // namespace
