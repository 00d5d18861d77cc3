// A whole user's machine on the simulated platform for runs of the settings operations under faults,
// denied keys, odd registry contents and broken rows, and the check of such a run: its journal walked
// against what the program must do (tests/support/journal_walk.h) and what it leaves compared with what
// the walk says it must leave.
#pragma once

#include "tests/support/journal_walk.h"

#include <simwin/sim.h>

#include <functional>
#include <map>
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

struct Subject;

// A fresh machine arranged as above, then as `subject` needs it, the journal and the faults cleared.
void Arrange(const Subject* subject = nullptr);
const World& TheWorld();

// The colour and the stored value the tool leaves.
constexpr COLORREF kToolsFace = RGB(1, 2, 3);
const journal_walk::Bytes& ToolsStoredColor();

extern const std::string kShortcutPath;

// An operation to run and the walk of what it must do.
struct Subject {
    std::string name;
    // For a size procedure: the aspects it reports as not changed (SizeOutcome::unchanged).
    std::function<int()> run;
    // Walks the run's journal; returns what the run must hand back (nothing for a size procedure, whose
    // report is judged by what it left).
    std::function<int(journal_walk::Walk&, journal_walk::StyleSwitchSeen*, journal_walk::FollowUpSeen*)> steps;
    bool reportsAspects = false;
    // What the subject needs of the machine besides the world.
    std::function<void()> arrange;
};

// What the user has of each aspect of the settings at the end of a run: the registry values and system
// parameters that make it up, as text. The desktop's icon view is part of the desktop icons only where the
// run found it: a view that could not be found is, to the program, a desktop without one.
struct AspectStates {
    std::map<unsigned, std::string> byAspect;  // by SizeAspect
    std::string iconView;
};
AspectStates SeenAspects();
// The aspects whose state differs between a clean run and another.
unsigned DifferingAspects(const AspectStates& clean, const AspectStates& run, bool runFoundIconView);
bool RunFoundIconView();
// "window sizes, desktop icons", or "nothing".
std::string AspectNames(unsigned aspects);
extern const unsigned kAllAspects[5];

// The nine size procedures, SwitchVisualStyleSize(413) and CheckFollowUpRun on the world's dialog.
std::vector<Subject> Subjects();

// What a subject's run without faults leaves of the metrics records.
struct CleanRun {
    NONCLIENTMETRICSA nonClient;
    ICONMETRICSA icon;
    AspectStates aspects;
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
