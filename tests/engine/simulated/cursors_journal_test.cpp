// The pointer-scheme writers seen through the simulated platform's journal: sixteen writes in the order
// of the scheme and then the reload, every one of them made whatever the others gave.
#include "res/resource_ids.h"
#include "settings/cursors.h"
#include "tests/support/journal_steps.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using journal_steps::Steps;
using simwin::machine;

const char* const kPointerNames[] = {"Arrow", "Help",   "AppStarting", "Wait",     "Crosshair", "Ibeam",   "NWPen",
                                     "No",    "SizeNS", "SizeWE",      "SizeNWSE", "SizeNESW",  "SizeAll", "UpArrow"};

class CursorsJournalTest : public testing::Test {
protected:
    void SetUp() override { simwin::Reset(); }
};

// The sixteen writes of a scheme whose name and pointer files have the given lengths, then the reload.
std::vector<std::string> SchemeSteps(const std::string& nameStep, size_t nameLength,
                                     const std::vector<size_t>& fileLengths, const std::string& result) {
    std::vector<std::string> steps = {nameStep};
    steps.push_back(R"(set Control Panel\Cursors [] REG_SZ )" + std::to_string(nameLength + 1) + result);
    for (size_t i = 0; i < 14; ++i)
        steps.push_back(std::string(R"(set Control Panel\Cursors [)") + kPointerNames[i] + "] REG_EXPAND_SZ " +
                        std::to_string(fileLengths[i] + 1) + result);
    steps.push_back(R"(set Control Panel\Cursors [Scheme Source] REG_DWORD 4)" + result);
    steps.push_back("SystemParametersInfoA(SPI_SETCURSORS, 0, NULL, 0x3) -> 1");
    return steps;
}

TEST_F(CursorsJournalTest, EachSchemeWritesItsNameFourteenPointersAndSourceInOrderThenReloads) {
    // "%SYSTEMROOT%\cursors\" is 21 characters; each file adds its stem and "_m.cur" or "_l.cur".
    const std::vector<size_t> stems = {5, 4, 4, 4, 5, 4, 3, 2, 5, 5, 5, 5, 4, 2};
    std::vector<size_t> files, empty(14, 0);
    for (size_t stem : stems) files.push_back(21 + stem + 6);
    const struct {
        const char* label;
        bool (*apply)();
        std::vector<std::string> steps;
    } cases[] = {
        {"Default", ApplyDefaultCursors, SchemeSteps("row 204", 15, empty, " -> 0")},
        {"Large", ApplyLargeCursors, SchemeSteps("row 202", 24, files, " -> 0")},
        {"ExtraLarge", ApplyExtraLargeCursors, SchemeSteps("row 203", 30, files, " -> 0")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        machine().journal.Clear();
        c.apply();
        EXPECT_EQ(c.steps, Steps());
        EXPECT_EQ(0u, machine().registry.OpenHandleCount());
    }
}

TEST_F(CursorsJournalTest, AMissingNameRowAndFailingWritesStopNothing) {
    machine().strings.RemoveRow(simwin::StringTables::kEnglish, IDS_POINTER_SCHEME_NORMAL);
    machine().faults.FailAll("RegSetValueExA");
    ApplyDefaultCursors();
    EXPECT_EQ(SchemeSteps("row 204 missing", 0, std::vector<size_t>(14, 0), " -> 5"), Steps());
}

}  // namespace
