// Every platform call of the nine size procedures, the visual-style switch and the follow-up run made to
// fail in turn, one call per run, and each run checked against the walk of its journal (what the program
// must do after that failure) and what the walk says it must leave; then each key they open denied, once
// for reading and once for writing.
#include "app/follow_up_run.h"
#include "settings/size_aspects.h"
#include "tests/app/simulated/settings_world.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace settings_world;
using simwin::machine;

// The calls the run asked about, each as a fault rule names it, in order.
std::vector<std::string> CallsAsked() {
    std::vector<std::string> calls;
    for (size_t n = 1; n <= machine().faults.AskedCount(); ++n) calls.push_back(machine().faults.AskedCall(n));
    return calls;
}

// Which calls of a run the sweep fails: every one, except the brush lookups of the watch's 50 cycles, of
// which only those of the cycle that sees the tool's change (the sixth) are failed: in the other 49 a
// missing brush only spares the colour's lookup, as it does in the sixth, where it also puts the
// restoring off by a cycle.
std::vector<bool> Swept(const std::vector<std::string>& asked) {
    std::vector<bool> swept;
    size_t brushes = 0;
    for (const std::string& call : asked) {
        const size_t cycle = call == "GetSysColorBrush" ? brushes++ / 28 : 0;  // 0: the snapshot before the tool
        swept.push_back(cycle == 0 || cycle == 6);
    }
    return swept;
}

// The keys the run opened, each with whether it was opened to be written (created, or KEY_WRITE).
std::map<std::string, bool> KeysOpened() {
    std::map<std::string, bool> keys;
    for (const simwin::JournalEntry& entry : machine().journal.Entries()) {
        if (entry.result != ERROR_SUCCESS || (entry.call != "RegOpenKeyExA" && entry.call != "RegCreateKeyExA"))
            continue;
        // HKCU, "Control Panel\\Colors", 0, 0x20006 => hkey#2
        std::string path;
        for (size_t i = entry.args.find('"') + 1; entry.args[i] != '"'; ++i)
            path += entry.args[i] == '\\' ? entry.args[++i] : entry.args[i];
        keys[path] = keys[path] || entry.call == "RegCreateKeyExA" || entry.args.find(", 0x20006") != std::string::npos;
    }
    return keys;
}

bool RefusedOpenOf(const std::string& path) {
    const std::string target = "HKCU, " + simwin::Quote(path.c_str()) + ",";
    for (const simwin::JournalEntry& entry : machine().journal.Entries())
        if ((entry.call == "RegOpenKeyExA" || entry.call == "RegCreateKeyExA") && entry.result == ERROR_ACCESS_DENIED &&
            entry.args.rfind(target, 0) == 0)
            return true;
    return false;
}

// The error a swept call fails with: its own usual one, but for the registry's reads and deletes, whose
// usual failure says that there is nothing to read or delete. That answer is the machine's contents, not a
// failure, and the program takes it as such; the sweep makes these calls fail as a refusing registry does.
long SweptError(const std::string& call) {
    return call == "RegOpenKeyExA" || call == "RegQueryValueExA" || call == "RegDeleteValueA"
               ? ERROR_ACCESS_DENIED
               : simwin::Faults::kNaturalError;
}

// The runs of one sweep, and what the size procedures among them reported, by aspect, printed at its end.
class Sweep {
public:
    // Runs `subject` on the machine as arranged and checks it against its walk (RunAndCheck); what a size
    // procedure reports as not changed must be exactly what differs, for the user, from the clean run.
    void Run(const Subject& subject, const CleanRun& clean) {
        const int result = RunAndCheck(subject, &clean);
        ++runs_;
        if (!subject.reportsAspects) return;
        ++procedureRuns_;
        const unsigned differing = DifferingAspects(clean.aspects, SeenAspects(), RunFoundIconView());
        EXPECT_EQ(AspectNames(differing), AspectNames(static_cast<unsigned>(result)));
        for (unsigned aspect : kAllAspects)
            if (static_cast<unsigned>(result) & aspect) ++tally_[aspect];
        if (result == 0) ++tally_[0];
    }

    // How many runs were checked ("fault sweep: 1234 faulted runs checked"), then what the size procedures
    // among them reported.
    void Print(const char* sweep, const char* runs) const {
        std::printf("%s: %d %s checked\n", sweep, runs_, runs);
        std::printf("%s of the size procedures: %d runs; reported nothing in %d", sweep, procedureRuns_, Count(0));
        for (unsigned aspect : kAllAspects) std::printf(", %s in %d", AspectNames(aspect).c_str(), Count(aspect));
        std::printf("\n");
    }

private:
    int Count(unsigned aspect) const { return tally_.count(aspect) ? tally_.at(aspect) : 0; }

    int runs_ = 0;
    int procedureRuns_ = 0;
    std::map<unsigned, int> tally_;  // by aspect reported; 0: nothing reported
};

TEST(FaultSweepTest, EachPlatformCallFailingInTurnLeavesEveryOperationGoingOnAsItMustAfterThatFailure) {
    Sweep sweep;
    for (const Subject& subject : Subjects()) {
        SCOPED_TRACE(subject.name);
        const CleanRun clean = RunClean(subject);
        ASSERT_FALSE(testing::Test::HasFailure()) << "the run without faults";
        const std::vector<std::string> asked = CallsAsked();
        const std::vector<bool> swept = Swept(asked);

        for (size_t n = 1; n <= asked.size(); ++n) {
            if (!swept[n - 1]) continue;
            SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(asked.size()) +
                         " fails: " + asked[n - 1]);
            Arrange(&subject);
            machine().faults.FailCallNumber(static_cast<int>(n), SweptError(asked[n - 1]));
            sweep.Run(subject, clean);
            ASSERT_LE(n, machine().faults.AskedCount());
            EXPECT_EQ(asked[n - 1], machine().faults.AskedCall(n));
            EXPECT_EQ(1, machine().faults.FailedCount());
            // One of the follow-up run's two writes of the flag clears it, whichever call failed.
            if (subject.name == "CheckFollowUpRun")
                EXPECT_EQ(
                    (journal_walk::Bytes{0, 0, 0, 0}),
                    machine().registry.Value(std::string("HKCU\\") + OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE)->data);
            if (testing::Test::HasFailure()) return;
        }
    }
    sweep.Print("fault sweep", "faulted runs");
}

TEST(FaultSweepTest, EachKeyOpenedDeniedForReadingOrWritingLeavesEveryOperationGoingOnAsItMust) {
    Sweep sweep;
    for (const Subject& subject : Subjects()) {
        SCOPED_TRACE(subject.name);
        const CleanRun clean = RunClean(subject);
        for (const auto& [path, written] : KeysOpened()) {
            for (const bool canRead : {false, true}) {
                if (canRead && !written) continue;  // a key that is only read is not refused for want of writing
                SCOPED_TRACE(path + (canRead ? " cannot be written" : " cannot be read"));
                Arrange(&subject);
                machine().registry.SetAccess("HKCU\\" + path, canRead, !canRead);
                sweep.Run(subject, clean);
                EXPECT_TRUE(RefusedOpenOf(path)) << "the run never met the denial";
                if (testing::Test::HasFailure()) return;
            }
        }
    }
    sweep.Print("denied keys", "runs");
}

}  // namespace
