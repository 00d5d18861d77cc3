// The window-metrics and scheme writers seen through the simulated platform's journal: the exact steps on
// the way through and at each failure, and that the system is never handed a record that is not wholly
// built from the rows.
#include "settings/window_metrics.h"
#include "tests/support/journal_steps.h"
#include "tests/support/registry_keys.h"
#include "tests/support/size_rows.h"
#include "tests/support/test_platform.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using journal_steps::Steps;
using simwin::machine;
using simwin::StringTables;

const std::string kAppearance = test_keys::InCurrentUser(test_keys::kAppearance);
const std::string kNewSchemes = kAppearance + "\\New Schemes";

const char kGetMetrics[] = "SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, NONCLIENTMETRICSA{cbSize=340}, 0x0)";
const char kSetMetrics[] = "SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, 340, NONCLIENTMETRICSA{cbSize=340}, 0x3)";

class WindowMetricsJournalTest : public testing::Test {
protected:
    void SetUp() override { simwin::Reset(); }

    static bool ApplyLargeXpClassic() { return ApplyNonClientMetrics(WINDOW_METRIC_ROWS(XP_CLASSIC, LARGE)); }

    static std::vector<std::string> LargeXpClassicRows() {
        return {"row 605", "row 542", "row 543", "row 544", "row 545", "row 546"};
    }
};

LOGFONTA Tahoma(LONG height, LONG weight) { return test_platform::TahomaFont(height, weight, DEFAULT_CHARSET); }

TEST_F(WindowMetricsJournalTest, ApplyNonClientMetricsReadsTheMetricsOnceAndSetsARecordBuiltOnlyFromTheRows) {
    // Whatever the system reported must not survive into the record it gets back.
    std::memset(&machine().parameters.nonClientMetrics, 0x5A, sizeof(NONCLIENTMETRICSA));
    machine().parameters.nonClientMetrics.cbSize = sizeof(NONCLIENTMETRICSA);

    EXPECT_TRUE(ApplyLargeXpClassic());

    std::vector<std::string> expected = LargeXpClassicRows();
    expected.push_back(std::string(kGetMetrics) + " -> 1");
    expected.push_back(std::string(kSetMetrics) + " -> 1");
    EXPECT_EQ(expected, Steps());

    NONCLIENTMETRICSA rows;
    std::memset(&rows, 0, sizeof rows);
    rows.cbSize = sizeof rows;
    rows.iBorderWidth = 1;
    rows.iScrollWidth = rows.iScrollHeight = 18;
    rows.iCaptionWidth = rows.iCaptionHeight = 21;
    rows.lfCaptionFont = Tahoma(-16, 700);
    rows.iSmCaptionWidth = rows.iSmCaptionHeight = 18;
    rows.lfSmCaptionFont = Tahoma(-13, 700);
    rows.iMenuWidth = rows.iMenuHeight = 18;
    rows.lfMenuFont = rows.lfStatusFont = rows.lfMessageFont = Tahoma(-13, 400);
    EXPECT_EQ(0, std::memcmp(&rows, &machine().parameters.nonClientMetrics, sizeof rows));
}

TEST_F(WindowMetricsJournalTest, ApplyNonClientMetricsStopsBeforeAnyChangeAtTheFirstRowOrReadThatFails) {
    const std::vector<std::string> rowsAndRead = [] {
        std::vector<std::string> steps = LargeXpClassicRows();
        steps.push_back(std::string(kGetMetrics) + " -> 1");
        return steps;
    }();
    const journal_steps::ArrangedSteps cases[] = {
        {"metrics row missing",
         [] { machine().strings.RemoveRow(StringTables::kEnglish, IDS_XP_CLASSIC_LARGE_METRICS); },
         {"row 605 missing"}},
        {"menu font row missing",
         [] { machine().strings.RemoveRow(StringTables::kEnglish, IDS_XP_CLASSIC_LARGE_MENU_FONT); },
         {"row 605", "row 542", "row 543", "row 544 missing"}},
        {"message font row empty",
         [] { machine().strings.SetRow(StringTables::kEnglish, IDS_XP_CLASSIC_LARGE_MESSAGE_FONT, ""); },
         {"row 605", "row 542", "row 543", "row 544", "row 545", "row 546 missing"}},
        {"current metrics cannot be read",
         [] { machine().faults.FailAll("SystemParametersInfoA:SPI_GETNONCLIENTMETRICS"); },
         [] {
             std::vector<std::string> steps = LargeXpClassicRows();
             steps.push_back(std::string(kGetMetrics) + " -> 0");
             return steps;
         }()},
        {"metrics row refused",
         [] {
             machine().strings.SetRow(StringTables::kEnglish, IDS_XP_CLASSIC_LARGE_METRICS,
                                      "1, 18, 18, 21, 21, 18, 18, 18, 18, nonclientend");
         },
         rowsAndRead},
        {"caption font refused",
         [] {
             machine().strings.SetRow(StringTables::kEnglish, IDS_XP_CLASSIC_LARGE_CAPTION_FONT,
                                      "  -16, 700,   1, Tahoma");
         },
         rowsAndRead},
        {"message font refused",
         [] {
             machine().strings.SetRow(StringTables::kEnglish, IDS_XP_CLASSIC_LARGE_MESSAGE_FONT,
                                      "  -13, 400,   1, Tahoma, LOGFONTEND, 7");
         },
         rowsAndRead},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        simwin::Reset();
        c.arrange();
        const NONCLIENTMETRICSA before = machine().parameters.nonClientMetrics;

        EXPECT_FALSE(ApplyLargeXpClassic());

        EXPECT_EQ(c.steps, Steps());
        EXPECT_EQ(0, std::memcmp(&before, &machine().parameters.nonClientMetrics, sizeof before));
    }
}

TEST_F(WindowMetricsJournalTest, ApplyNonClientMetricsDoesNotExamineTheSetCall) {
    machine().faults.FailAll("SystemParametersInfoA:SPI_SETNONCLIENTMETRICS");
    EXPECT_TRUE(ApplyLargeXpClassic());
    EXPECT_EQ(std::string(kSetMetrics) + " -> 0", Steps().back());
}

TEST_F(WindowMetricsJournalTest, SelectXpSchemeSizeReadsTheStyleThenWritesNameNameAndSizeWhateverTheWritesGive) {
    const std::vector<std::string> writes = {
        R"(set Control Panel\Appearance [Current] REG_SZ 25)",
        R"(set Control Panel\Appearance [NewCurrent] REG_SZ 25)",
        R"(set Control Panel\Appearance\New Schemes\21 [SelectedSize] REG_SZ 2)",
    };
    for (const bool writesFail : {false, true}) {
        SCOPED_TRACE(writesFail ? "every write fails" : "every write succeeds");
        simwin::Reset();
        machine().registry.SetString(kNewSchemes, "SelectedStyle", "21");
        if (writesFail) machine().faults.FailAll("RegSetValueExA");

        EXPECT_TRUE(SelectXpSchemeSize(IDS_XP_SCHEME_LARGE));

        std::vector<std::string> expected = {R"(query Control Panel\Appearance\New Schemes [SelectedStyle] -> 0)",
                                             "row 217"};
        for (const std::string& write : writes) expected.push_back(write + (writesFail ? " -> 5" : " -> 0"));
        EXPECT_EQ(expected, Steps());
    }
}

TEST_F(WindowMetricsJournalTest, SelectXpSchemeSizeWritesNothingWithoutTheStandardSchemeOrItsRow) {
    const struct {
        const char* label;
        std::function<void()> arrange;
        UINT schemeRow;
        std::vector<std::string> steps;
    } cases[] = {
        {"no New Schemes key", [] {}, IDS_XP_SCHEME_NORMAL, {R"(open Control Panel\Appearance\New Schemes -> 2)"}},
        {"another scheme",
         [] { machine().registry.SetString(kNewSchemes, "SelectedStyle", "3"); },
         IDS_XP_SCHEME_NORMAL,
         {R"(query Control Panel\Appearance\New Schemes [SelectedStyle] -> 0)"}},
        {"a row without a size",
         [] { machine().registry.SetString(kNewSchemes, "SelectedStyle", "21"); },
         219,
         {R"(query Control Panel\Appearance\New Schemes [SelectedStyle] -> 0)"}},
        {"the scheme row missing",
         [] {
             machine().registry.SetString(kNewSchemes, "SelectedStyle", "21");
             machine().strings.RemoveRow(StringTables::kEnglish, IDS_XP_SCHEME_EXTRA_LARGE);
         },
         IDS_XP_SCHEME_EXTRA_LARGE,
         {R"(query Control Panel\Appearance\New Schemes [SelectedStyle] -> 0)", "row 218 missing"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        simwin::Reset();
        c.arrange();
        EXPECT_FALSE(SelectXpSchemeSize(c.schemeRow));
        EXPECT_EQ(c.steps, Steps());
    }
}

TEST_F(WindowMetricsJournalTest, SelectWin2000SchemeComparesWithAllThreeStandardNamesThenWritesOrDeletes) {
    const std::vector<std::string> readAndCompare = {"row 223", R"(query Control Panel\Appearance [Current] -> 0)",
                                                     "row 221", "row 222", "row 223"};
    auto with = [](std::vector<std::string> steps, const std::string& last) {
        steps.push_back(last);
        return steps;
    };
    const struct {
        const char* label;
        std::function<void()> arrange;
        UINT schemeRow;
        bool result;
        std::vector<std::string> steps;
        bool failed = false;  // the name is not as it should be
    } cases[] = {
        {"a standard scheme", [] { machine().registry.SetString(kAppearance, "Current", "Windows Standard (large)"); },
         IDS_W2K_SCHEME_EXTRA_LARGE, true,
         with(readAndCompare, R"(set Control Panel\Appearance [Current] REG_SZ 31 -> 0)")},
        {"a failing write still counts",
         [] {
             machine().registry.SetString(kAppearance, "Current", "Windows Standard");
             machine().faults.FailAll("RegSetValueExA");
         },
         IDS_W2K_SCHEME_EXTRA_LARGE, true,
         with(readAndCompare, R"(set Control Panel\Appearance [Current] REG_SZ 31 -> 5)"), true},
        {"another scheme", [] { machine().registry.SetString(kAppearance, "Current", "Brick"); },
         IDS_W2K_SCHEME_EXTRA_LARGE, false, with(readAndCompare, R"(delete Control Panel\Appearance [Current] -> 0)")},
        {"no Current",
         [] { machine().registry.Ensure(kAppearance); },
         IDS_W2K_SCHEME_EXTRA_LARGE,
         false,
         {"row 223", R"(query Control Panel\Appearance [Current] -> 2)",
          R"(delete Control Panel\Appearance [Current] -> 2)"}},
        {"no Appearance key",
         [] {},
         IDS_W2K_SCHEME_EXTRA_LARGE,
         false,
         {"row 223", R"(open Control Panel\Appearance -> 2)", R"(delete Control Panel\Appearance [Current] -> 2)"}},
        {"a row that is no Windows 2000 scheme",
         [] { machine().registry.SetString(kAppearance, "Current", "Windows Standard"); },
         IDS_XP_SCHEME_EXTRA_LARGE,
         false,
         {R"(delete Control Panel\Appearance [Current] -> 0)"}},
        // Without the name there is nothing to record, and the name the user has stays: an empty one would
        // read as another scheme and be deleted the next time.
        {"the name row missing",
         [] {
             machine().registry.SetString(kAppearance, "Current", "Windows Standard");
             machine().strings.RemoveRow(StringTables::kEnglish, IDS_W2K_SCHEME_EXTRA_LARGE);
         },
         IDS_W2K_SCHEME_EXTRA_LARGE,
         false,
         {"row 223 missing"},
         true},
        // A name the registry refuses to read may be a standard one: it is neither rewritten nor deleted.
        {"Current that cannot be read",
         [] {
             machine().registry.SetString(kAppearance, "Current", "Windows Standard");
             machine().registry.SetAccess(kAppearance, false, true);
         },
         IDS_W2K_SCHEME_EXTRA_LARGE,
         false,
         {"row 223", R"(open Control Panel\Appearance -> 5)"},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        simwin::Reset();
        c.arrange();
        const std::optional<std::string> before = machine().registry.String(kAppearance, "Current");
        bool failed = !c.failed;
        EXPECT_EQ(c.result, SelectWin2000Scheme(c.schemeRow, &failed));
        EXPECT_EQ(c.failed, failed);
        EXPECT_EQ(c.steps, Steps());
        EXPECT_EQ(0u, machine().registry.OpenHandleCount());
        if (c.failed && c.steps.back().rfind("set ", 0) != 0)
            EXPECT_EQ(before, machine().registry.String(kAppearance, "Current"));
    }
}

// A missing standard row names no scheme, not the empty one; and without it the name cannot be told from
// the missing standard name, so it stays as it is and the step says that it failed.
TEST_F(WindowMetricsJournalTest, SelectWin2000SchemeDecidesNothingWhenAStandardRowToCompareWithIsMissing) {
    for (const char* current : {"", "Windows Standard (large)", "Brick"}) {
        SCOPED_TRACE(current);
        simwin::Reset();
        machine().registry.SetString(kAppearance, "Current", current);
        machine().strings.RemoveRow(StringTables::kEnglish, IDS_W2K_SCHEME_LARGE);
        bool failed = false;
        EXPECT_FALSE(SelectWin2000Scheme(IDS_W2K_SCHEME_NORMAL, &failed));
        EXPECT_TRUE(failed);
        EXPECT_EQ(current, machine().registry.String(kAppearance, "Current").value_or("(none)"));
    }
}

}  // namespace
