// The nine size procedures seen through the simulated platform's journal. Every writer loads its rows in
// argument order, so the rows loaded, in order, show which writer ran with which arguments.
#include "settings/size_procedures.h"
#include "settings/visual_style.h"
#include "tests/support/journal_steps.h"
#include "tests/support/registry_keys.h"
#include "tests/support/size_rows.h"
#include "tests/support/test_platform.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using simwin::machine;

const std::string kBrowserKey = test_keys::InCurrentUser(test_keys::kBrowserScripts);
const std::string kNewSchemes = test_keys::InCurrentUser(test_keys::kNewSchemes);

std::vector<std::string> Rows(std::initializer_list<int> rows) {
    std::vector<std::string> lines;
    for (int row : rows) lines.push_back("row " + std::to_string(row));
    return lines;
}

std::vector<std::string> RowsLoaded() { return journal_steps::StepsStartingWith({"row "}); }

class SizeProceduresJournalTest : public testing::Test {
protected:
    void SetUp() override {
        simwin::Reset();
        simwin::CreateDesktop();
        machine().registry.SetString(kNewSchemes, "SelectedStyle", "21");
        machine().journal.Clear();
    }
    BYTE TextSizeStored() const {
        const simwin::RegValue* value = machine().registry.Value(kBrowserKey, "IEFontSize");
        return value && value->data.size() == 4 ? value->data[0] : 0;
    }
};

struct ProcedureCase {
    SizeLevel level;
    SizeVariant variant;
    BYTE textSize;
    std::vector<std::string> rows;
};

TEST_F(SizeProceduresJournalTest, EachProcedureRunsItsWritersInOrderWithItsOwnRows) {
    // Pointer scheme | metrics and fonts | scheme | icons | metrics and fonts again | scheme again (classic and
    // Windows 2000); pointer scheme | icons | style size (visual style).
    const std::vector<ProcedureCase> cases = {
        {SizeLevel::Normal, SizeVariant::XpStyled, 2,
         Rows({IDS_POINTER_SCHEME_NORMAL, DESKTOP_ICON_ROWS(XP_STYLED, NORMAL), IDS_STYLE_SIZE_NORMAL})},
        {SizeLevel::Large, SizeVariant::XpStyled, 3,
         Rows({IDS_POINTER_SCHEME_LARGE, DESKTOP_ICON_ROWS(XP_STYLED, LARGE), IDS_STYLE_SIZE_LARGE})},
        {SizeLevel::ExtraLarge, SizeVariant::XpStyled, 4,
         Rows({IDS_POINTER_SCHEME_EXTRA_LARGE, DESKTOP_ICON_ROWS(XP_STYLED, EXTRA_LARGE), IDS_STYLE_SIZE_EXTRA_LARGE})},
        {SizeLevel::Normal, SizeVariant::XpClassic, 2,
         Rows({IDS_POINTER_SCHEME_NORMAL, WINDOW_METRIC_ROWS(XP_CLASSIC, NORMAL), IDS_XP_SCHEME_NORMAL,
               DESKTOP_ICON_ROWS(XP_CLASSIC, NORMAL), WINDOW_METRIC_ROWS(XP_CLASSIC, NORMAL), IDS_XP_SCHEME_NORMAL})},
        {SizeLevel::Large, SizeVariant::XpClassic, 3,
         Rows({IDS_POINTER_SCHEME_LARGE, WINDOW_METRIC_ROWS(XP_CLASSIC, LARGE), IDS_XP_SCHEME_LARGE,
               DESKTOP_ICON_ROWS(XP_CLASSIC, LARGE), WINDOW_METRIC_ROWS(XP_CLASSIC, LARGE), IDS_XP_SCHEME_LARGE})},
        {SizeLevel::ExtraLarge, SizeVariant::XpClassic, 4,
         Rows({IDS_POINTER_SCHEME_EXTRA_LARGE, WINDOW_METRIC_ROWS(XP_CLASSIC, EXTRA_LARGE), IDS_XP_SCHEME_EXTRA_LARGE,
               DESKTOP_ICON_ROWS(XP_CLASSIC, EXTRA_LARGE), WINDOW_METRIC_ROWS(XP_CLASSIC, EXTRA_LARGE),
               IDS_XP_SCHEME_EXTRA_LARGE})},
        // No "Current" scheme: the Windows 2000 scheme step loads its own row and then deletes the value.
        {SizeLevel::Normal, SizeVariant::Win2000, 2,
         Rows({IDS_POINTER_SCHEME_NORMAL, WINDOW_METRIC_ROWS(W2K, NORMAL), IDS_W2K_SCHEME_NORMAL,
               DESKTOP_ICON_ROWS(W2K, NORMAL), WINDOW_METRIC_ROWS(W2K, NORMAL), IDS_W2K_SCHEME_NORMAL})},
        {SizeLevel::Large, SizeVariant::Win2000, 3,
         Rows({IDS_POINTER_SCHEME_LARGE, WINDOW_METRIC_ROWS(W2K, LARGE), IDS_W2K_SCHEME_LARGE,
               DESKTOP_ICON_ROWS(W2K, LARGE), WINDOW_METRIC_ROWS(W2K, LARGE), IDS_W2K_SCHEME_LARGE})},
        {SizeLevel::ExtraLarge, SizeVariant::Win2000, 4,
         Rows({IDS_POINTER_SCHEME_EXTRA_LARGE, WINDOW_METRIC_ROWS(W2K, EXTRA_LARGE), IDS_W2K_SCHEME_EXTRA_LARGE,
               DESKTOP_ICON_ROWS(W2K, EXTRA_LARGE), WINDOW_METRIC_ROWS(W2K, EXTRA_LARGE), IDS_W2K_SCHEME_EXTRA_LARGE})},
    };
    for (const auto& c : cases) {
        const SizeProcedure& procedure = SizeProcedureFor(c.level, c.variant);
        SCOPED_TRACE(procedure.name);
        SetUp();
        procedure.Apply();
        EXPECT_EQ(c.rows, RowsLoaded());
        EXPECT_EQ(c.textSize, TextSizeStored());
        // The browser text size comes first of all.
        ASSERT_FALSE(journal_steps::Steps().empty());
        EXPECT_NE(std::string::npos, journal_steps::Steps().front().find("IEFontSize"))
            << journal_steps::Steps().front();
    }
}

TEST_F(SizeProceduresJournalTest, AMetricsRowThatDoesNotParseSkipsBothSchemeStepsAndNothingElse) {
    machine().strings.SetRow(simwin::StringTables::kEnglish, IDS_W2K_NORMAL_METRICS, "1, 16, 16, NONCLIENTEND");
    EXPECT_EQ(unsigned{kWindowSizesAspect}, ApplyNormalWin2000().unchanged);
    // The metrics step is tried twice and never succeeds, so row 221 is never loaded and "Current" is never
    // touched; the text size, the pointers and the icons are set all the same.
    EXPECT_EQ(Rows({IDS_POINTER_SCHEME_NORMAL, WINDOW_METRIC_ROWS(W2K, NORMAL), DESKTOP_ICON_ROWS(W2K, NORMAL),
                    WINDOW_METRIC_ROWS(W2K, NORMAL)}),
              RowsLoaded());
    EXPECT_EQ(2, TextSizeStored());
    EXPECT_TRUE(machine().registry.String("HKEY_CURRENT_USER\\Control Panel\\Cursors", "").has_value());
    EXPECT_EQ("32", machine()
                        .registry.String("HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics", "Shell Icon Size")
                        .value_or(""));
    EXPECT_TRUE(journal_steps::StepsStartingWith({"SystemParametersInfoA(SPI_SETNONCLIENTMETRICS"}).empty());
    EXPECT_TRUE(journal_steps::StepsStartingWith({"delete Control Panel\\Appearance"}).empty());
}

TEST_F(SizeProceduresJournalTest, WhenOnlyTheSecondMetricsStepSucceedsTheSchemeIsWrittenOnceAfterTheIcons) {
    machine().faults.FailNth("SystemParametersInfoA:SPI_GETNONCLIENTMETRICS", 1);
    // The second pass leaves the window sizes as a whole run would: nothing is reported.
    EXPECT_EQ(0u, ApplyLargeXpClassic().unchanged);
    EXPECT_EQ(Rows({IDS_POINTER_SCHEME_LARGE, WINDOW_METRIC_ROWS(XP_CLASSIC, LARGE),
                    DESKTOP_ICON_ROWS(XP_CLASSIC, LARGE), WINDOW_METRIC_ROWS(XP_CLASSIC, LARGE), IDS_XP_SCHEME_LARGE}),
              RowsLoaded());
    EXPECT_EQ("2", machine().registry.String(kNewSchemes + "\\21", "SelectedSize").value_or(""));
    EXPECT_EQ("Windows Standard (large)",
              machine().registry.String("HKEY_CURRENT_USER\\Control Panel\\Appearance", "Current").value_or(""));
}

// The style's size changed only when the tool ended saying so: switched, or recorded for the next logon.
TEST_F(SizeProceduresJournalTest, TheVisualStyleProceduresReportTheStyleSizeAsTheToolLeftIt) {
    const struct {
        const char* label;
        bool installed;
        DWORD exitCode;
        DWORD runsForMs;
        bool changed;
        bool toolMissing;
    } cases[] = {
        {"not installed", false, 0, 0, false, true},
        {"switched at once", true, 0, 0, true, false},
        {"recorded for the next logon, its box up for a minute", true, 1, 60000, true, false},
        {"the style does not offer the size", true, 4, 3000, false, false},
        {"neither switched nor recorded", true, 6, 0, false, false},
        {"still running two minutes after its start", true, 0, 130000, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        if (c.installed) machine().kernel.AddFile(kStyleToolPath);
        machine().shell.onStart = [&c](const std::string&, const std::string&) {
            machine().shell.exitCode = c.exitCode;
            machine().shell.runsForMs = c.runsForMs;
        };
        const SizeOutcome outcome = ApplyLargeXpStyled();
        EXPECT_EQ(c.changed ? 0u : unsigned{kStyleSizeAspect}, outcome.unchanged);
        EXPECT_EQ(c.toolMissing, outcome.styleToolMissing);
        // The wait for the tool is bounded: two minutes after its start at most, with the icons' pauses
        // before it.
        EXPECT_LE(machine().clock.NowMs(), 1000u + kStyleToolBoundMs + 1000u);
        EXPECT_TRUE(machine().shell.processes.empty()) << "the tool's handle is closed";
    }
    // A size row that does not load starts nothing: the size did not change, and no tool is missing.
    SetUp();
    machine().kernel.AddFile(kStyleToolPath);
    machine().strings.RemoveRow(simwin::StringTables::kEnglish, IDS_STYLE_SIZE_EXTRA_LARGE);
    const SizeOutcome outcome = ApplyExtraLargeXpStyled();
    EXPECT_EQ(unsigned{kStyleSizeAspect}, outcome.unchanged);
    EXPECT_FALSE(outcome.styleToolMissing);
    EXPECT_TRUE(journal_steps::StepsStartingWith({"SystemParametersInfoA(SPI_SETNONCLIENTMETRICS"}).empty());
}

}  // namespace
