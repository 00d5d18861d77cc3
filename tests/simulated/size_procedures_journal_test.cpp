// The nine size procedures seen through the simulated platform's journal. Every writer loads its rows in
// argument order, so the rows loaded, in order, show which writer ran with which arguments.
#include "settings/size_procedures.h"
#include "tests/support/journal_steps.h"
#include "tests/support/test_platform.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using simwin::machine;

const std::string kBrowserKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
const std::string kNewSchemes = "HKEY_CURRENT_USER\\Control Panel\\Appearance\\New Schemes";

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
        {SizeLevel::Normal, SizeVariant::XpStyled, 2, Rows({204, 401, 402, 405, 421, 431, 501, 412})},
        {SizeLevel::Large, SizeVariant::XpStyled, 3, Rows({202, 401, 403, 405, 422, 432, 511, 413})},
        {SizeLevel::ExtraLarge, SizeVariant::XpStyled, 4, Rows({203, 401, 404, 405, 423, 433, 521, 414})},
        {SizeLevel::Normal, SizeVariant::XpClassic, 2,
         Rows({204, 604, 532, 533, 534, 535, 536, 216, 401, 402, 405, 421, 431, 531, 604, 532, 533, 534, 535, 536, 216})},
        {SizeLevel::Large, SizeVariant::XpClassic, 3,
         Rows({202, 605, 542, 543, 544, 545, 546, 217, 401, 403, 405, 422, 432, 541, 605, 542, 543, 544, 545, 546, 217})},
        {SizeLevel::ExtraLarge, SizeVariant::XpClassic, 4,
         Rows({203, 606, 552, 553, 554, 555, 556, 218, 401, 404, 405, 423, 433, 551, 606, 552, 553, 554, 555, 556, 218})},
        // No "Current" scheme: the Windows 2000 scheme step loads its own row and then deletes the value.
        {SizeLevel::Normal, SizeVariant::Win2000, 2,
         Rows({204, 607, 562, 563, 564, 565, 566, 221, 401, 402, 405, 421, 431, 561, 607, 562, 563, 564, 565, 566, 221})},
        {SizeLevel::Large, SizeVariant::Win2000, 3,
         Rows({202, 608, 572, 573, 574, 575, 576, 222, 401, 403, 405, 422, 432, 571, 608, 572, 573, 574, 575, 576, 222})},
        {SizeLevel::ExtraLarge, SizeVariant::Win2000, 4,
         Rows({203, 609, 582, 583, 584, 585, 586, 223, 401, 404, 405, 423, 433, 581, 609, 582, 583, 584, 585, 586, 223})},
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
        EXPECT_NE(std::string::npos, journal_steps::Steps().front().find("IEFontSize")) << journal_steps::Steps().front();
    }
}

TEST_F(SizeProceduresJournalTest, AMetricsRowThatDoesNotParseSkipsBothSchemeStepsAndNothingElse) {
    machine().strings.SetRow(simwin::StringTables::kEnglish, 607, "1, 16, 16, NONCLIENTEND");
    ApplyNormalWin2000();
    // The metrics step is tried twice and never succeeds, so row 221 is never loaded and "Current" is never
    // touched; the text size, the pointers and the icons are set all the same.
    EXPECT_EQ(Rows({204, 607, 562, 563, 564, 565, 566, 401, 402, 405, 421, 431, 561, 607, 562, 563, 564, 565, 566}),
              RowsLoaded());
    EXPECT_EQ(2, TextSizeStored());
    EXPECT_TRUE(machine().registry.String("HKEY_CURRENT_USER\\Control Panel\\Cursors", "").has_value());
    EXPECT_EQ("32", machine().registry.String("HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics",
                                              "Shell Icon Size").value_or(""));
    EXPECT_TRUE(journal_steps::StepsStartingWith({"SystemParametersInfoA(SPI_SETNONCLIENTMETRICS"}).empty());
    EXPECT_TRUE(journal_steps::StepsStartingWith({"delete Control Panel\\Appearance"}).empty());
}

TEST_F(SizeProceduresJournalTest, WhenOnlyTheSecondMetricsStepSucceedsTheSchemeIsWrittenOnceAfterTheIcons) {
    machine().faults.FailNth("SystemParametersInfoA:SPI_GETNONCLIENTMETRICS", 1);
    ApplyLargeXpClassic();
    EXPECT_EQ(Rows({202, 605, 542, 543, 544, 545, 546, 401, 403, 405, 422, 432, 541, 605, 542, 543, 544, 545, 546, 217}),
              RowsLoaded());
    EXPECT_EQ("2", machine().registry.String(kNewSchemes + "\\21", "SelectedSize").value_or(""));
    EXPECT_EQ("Windows Standard (large)",
              machine().registry.String("HKEY_CURRENT_USER\\Control Panel\\Appearance", "Current").value_or(""));
}

TEST_F(SizeProceduresJournalTest, TheVisualStyleProceduresHandBackTheSwitchsResult) {
    // The tool is not installed: the switch still runs its sequence and reports 1.
    EXPECT_EQ(1, ApplyNormalXpStyled());
    machine().strings.RemoveRow(simwin::StringTables::kEnglish, 414);
    EXPECT_EQ(0, ApplyExtraLargeXpStyled());
    EXPECT_TRUE(journal_steps::StepsStartingWith({"SystemParametersInfoA(SPI_SETNONCLIENTMETRICS"}).empty());
}

}  // namespace
