// A whole user's machine on the simulated platform for runs of the settings operations under faults,
// denied keys, odd registry contents and broken rows, and the check of such a run: its journal walked
// against what the program must do (tests/support/journal_walk.h) and what it leaves compared with what
// the walk says it must leave.
#pragma once

#include "tests/support/journal_walk.h"

#include <simwin/sim.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace settings_world {

// Windows XP with the standard scheme "21" selected and "Windows Standard" current (so that both scheme
// steps write), a mail identity, the follow-up flag set with its shortcut in place, the stored colours,
// a desktop whose icon view snaps to the grid, the program's dialog in the foreground, chgtheme installed,
// and metrics records that no row could produce. The tool, once started, changes a live colour and every
// stored colour 550 ms later, while the watch runs.
struct World {
    simwin::Desktop desktop;
    HWND dialog = nullptr;
    LONG iconViewStyle = 0;
    NONCLIENTMETRICSA nonClient;
    ICONMETRICSA icon;
    simwin::Display display;
    bool toolRan = false;
};

// A fresh machine arranged as above, the journal and the faults cleared.
void Arrange();
const World& TheWorld();

// The colour and the stored value the tool leaves.
constexpr COLORREF kToolsFace = RGB(1, 2, 3);
const journal_walk::Bytes& ToolsStoredColor();

extern const std::string kShortcutPath;

// An operation to run and the walk of what it must do.
struct Subject {
    std::string name;
    std::function<int()> run;
    // Walks the run's journal; returns what the run must hand back.
    std::function<int(journal_walk::Walk&, journal_walk::StyleSwitchSeen*, journal_walk::FollowUpSeen*)> steps;
};

// The nine size procedures, SwitchVisualStyleSize(413) and CheckFollowUpRun on the world's dialog.
std::vector<Subject> Subjects();

// What a subject's run without faults leaves of the metrics records.
struct CleanRun {
    NONCLIENTMETRICSA nonClient;
    ICONMETRICSA icon;
};
// Arranges the world, runs the subject and checks it as RunAndCheck does.
CleanRun RunClean(const Subject& subject);

// Runs the subject on the arranged machine and checks the run: its journal walks through (rows in
// `refusedRows` are refused by their parser), it hands back what the walk says, every key is closed, the
// registry holds what the walk's writes made of it (the tool's changes where nothing was written back),
// the metrics records are the world's or wholly the clean run's, every saved colour is back, the icon view
// keeps its other style bits, the shortcut and the dialog are as the walk says. `clean`: null for the
// clean run itself. Returns what the run handed back.
int RunAndCheck(const Subject& subject, const CleanRun* clean, const std::set<UINT>& refusedRows = {});

}  // namespace settings_world
