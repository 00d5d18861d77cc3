// String tables as a translator could break them: each row that a size procedure reads missing, longer
// than 255 characters (just over, and beyond the program's load buffer), and each metric row with a field
// too many. Every run ends normally and walks through with the broken row refused where its reader
// refuses it: a metric row's parser refuses it, and the record it was meant for never reaches the system.
#include "res/resource_ids.h"
#include "tests/app/simulated/settings_world.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using journal_walk::ExpectedProcedure;
using namespace settings_world;
using simwin::machine;
using simwin::StringTables;

const std::string kAppearance = "HKCU\\Control Panel\\Appearance";

bool JournalHasCall(const std::string& call, const std::string& argsPrefix) {
    for (const simwin::JournalEntry& entry : machine().journal.Entries())
        if (entry.call == call && entry.args.rfind(argsPrefix, 0) == 0) return true;
    return false;
}

// The rows a procedure reads, and which of them are metric lines.
std::set<UINT> RowsRead(const ExpectedProcedure& p, std::set<UINT>* metricRows) {
    std::set<UINT> rows = {p.pointerRow};
    for (UINT row : p.iconRows) rows.insert(row);
    metricRows->insert(p.iconRows[5]);
    if (p.styleRow) {
        rows.insert(static_cast<UINT>(p.styleRow));
    } else {
        for (UINT row : p.metricsRows) rows.insert(row);
        metricRows->insert(std::begin(p.metricsRows), std::end(p.metricsRows));
        rows.insert(p.schemeRow);
        if (p.scheme == ExpectedProcedure::kWin2000)
            rows.insert({IDS_W2K_SCHEME_NORMAL, IDS_W2K_SCHEME_LARGE,
                         IDS_W2K_SCHEME_EXTRA_LARGE});  // the standard names it compares
    }
    return rows;
}

struct Breakage {
    const char* label;
    bool metricRowsOnly;
    bool refusedByParser;
    void (*apply)(UINT row);
};

const Breakage kBreakages[] = {
    {"missing", false, false, [](UINT row) { machine().strings.RemoveRow(StringTables::kEnglish, row); }},
    {"256 characters", false, true,
     [](UINT row) {
         std::string text = *machine().strings.Row(row);
         text.resize(256, ' ');
         machine().strings.SetRow(StringTables::kEnglish, row, text);
     }},
    {"600 characters", false, true,
     [](UINT row) {
         std::string text = *machine().strings.Row(row);
         text.resize(600, ' ');
         machine().strings.SetRow(StringTables::kEnglish, row, text);
     }},
    {"a field too many", true, true,
     [](UINT row) { machine().strings.SetRow(StringTables::kEnglish, row, *machine().strings.Row(row) + ", 0"); }},
};

TEST(BrokenStringTableTest, EachRowAProcedureReadsMissingTooLongOrWithAFieldTooManyIsRefusedAsItsReaderRefusesIt) {
    const std::vector<Subject> subjects = Subjects();
    int runs = 0;
    for (size_t i = 0; i < std::size(journal_walk::kExpectedProcedures); ++i) {
        const ExpectedProcedure& procedure = journal_walk::kExpectedProcedures[i];
        const Subject& subject = subjects[i];
        SCOPED_TRACE(subject.name);
        const CleanRun clean = RunClean(subject);
        std::set<UINT> metricRows;
        for (UINT row : RowsRead(procedure, &metricRows)) {
            const bool metric = metricRows.count(row) != 0;
            for (const Breakage& breakage : kBreakages) {
                if (breakage.metricRowsOnly && !metric) continue;
                SCOPED_TRACE("row " + std::to_string(row) + " " + breakage.label);
                Arrange();
                breakage.apply(row);
                const bool refused = metric && breakage.refusedByParser;
                RunAndCheck(subject, &clean, refused ? std::set<UINT>{row} : std::set<UINT>{});

                // A refused or missing metric row keeps its record from the system: the window metrics (a
                // row of the metrics step) or the icon metrics and the desktop (the title font).
                if (metric && row == procedure.iconRows[5]) {
                    EXPECT_FALSE(JournalHasCall("SystemParametersInfoA", "SPI_SETICONMETRICS"));
                    EXPECT_FALSE(JournalHasCall("FindWindowExA", ""));
                } else if (metric) {
                    EXPECT_FALSE(JournalHasCall("SystemParametersInfoA", "SPI_SETNONCLIENTMETRICS"));
                    // No scheme step: the scheme stays as it was.
                    EXPECT_EQ("Windows Standard", machine().registry.String(kAppearance, "Current").value_or(""));
                    EXPECT_FALSE(machine().registry.Value(kAppearance + "\\New Schemes\\21", "SelectedSize"));
                    EXPECT_TRUE(JournalHasCall("SystemParametersInfoA", "SPI_SETICONMETRICS"))
                        << "the icons all the same";
                }
                ++runs;
                if (testing::Test::HasFailure()) return;
            }
        }
    }
    std::printf("broken string tables: %d runs checked\n", runs);
}

}  // namespace
