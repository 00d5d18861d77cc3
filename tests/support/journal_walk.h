// The simulated platform's journal walked call by call against what the program must do, given what each
// platform call answered. Each writer below is the sequence its operation must make, branching on the
// results the journal holds: a call that failed leads the walk the way the operation must go on after
// that failure (which later steps still run, which are skipped). So one walk checks a run whatever it met:
// an injected fault, a key it may not open, odd registry contents, a broken row.
//
// Every registry step is the whole open-operate-close of the registry layer, so a key opened and not
// closed, or closed and not opened, is a step out of place.
#pragma once

#include <windows.h>

#include "settings/size_procedures.h"

#include <simwin/sim.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace journal_walk {

using Bytes = std::vector<BYTE>;

class Walk {
public:
    // `before`: the current user's registry as the run found it (simwin::Registry::Find("HKCU")), from which
    // the walk knows what each read returned and what each enumeration listed. Call Begin() once the run
    // has ended.
    explicit Walk(const simwin::RegKey& before);
    Walk(const Walk&) = delete;
    Walk& operator=(const Walk&) = delete;

    // Takes the journal as it is now, without the module lookups of row loading. The journal must stay as
    // it is while the walk goes on.
    void Begin();
    // Reports a failure unless every step was walked.
    void End();
    // Whether a step was out of place; the first one is reported, and the walk then follows no further.
    bool Lost() const { return lost_; }

    // ---- Any call ----
    // The next step is `call` with `args`. Returns its result; `found` receives what the call found (the
    // journal entry's `found`).
    long long Call(const std::string& call, const std::string& args, std::string* found = nullptr);
    // The step just walked, for what else it found (a count, say).
    const simwin::JournalEntry& LastStep() const;
    bool NextIs(const std::string& call) const;
    // The next step is a call of `call`, whatever its arguments: `args` receives them (as Call compares
    // them), `result` its result. False, reporting it, when the next step is another.
    bool Take(const std::string& call, std::string* args, long long* result = nullptr);
    // Reports the step just taken as out of place: it should have been `expected`.
    void Fail(const std::string& expected);

    // ---- Pauses ----
    // The next steps are a pause of `ms` that answers the messages other threads send: the tick count,
    // then waits for the time that is left, each woken one followed by the answer and the tick count,
    // and a failed wait followed by a sleep of the rest.
    void Pause(DWORD ms);

    // ---- String-table rows ----
    // The next step loads `row`; true when it loaded.
    bool Row(UINT row);
    // The text the program received for `row`: the row, cut to the program's load buffer.
    static std::string RowText(UINT row);
    // Rows that their parser refuses (a test that broke them says so); every other loaded row parses.
    void RefuseRows(std::set<UINT> rows) { refused_ = std::move(rows); }
    bool Parses(UINT row) const { return refused_.count(row) == 0; }

    // ---- The registry layer, under HKEY_CURRENT_USER ----
    // Each returns what the program's call returns and keeps the walk's registry up to date.
    bool WriteValue(const std::string& key, const std::string& name, DWORD type, const Bytes& data);
    // A text longer than 255 characters is refused before any platform call.
    bool WriteText(const std::string& key, const std::string& name, DWORD type, const std::string& text);
    bool DeleteValue(const std::string& key, const std::string& name);
    // The text a string read delivers: null when the key does not open or the value is missing, empty or
    // larger than 256 bytes; the bytes up to the first NUL, at most 255, otherwise.
    // `refused`, when given, is set when the registry refused or failed the read for another reason than
    // that the key or value is not there (the registry layer's own distinction).
    std::optional<std::string> ReadText(const std::string& key, const std::string& name, bool* refused = nullptr);
    // A read of exactly 4 bytes, of any type.
    std::optional<DWORD> ReadDword(const std::string& key, const std::string& name);

    // The current user's registry as the program's successful writes left it, by the walk's reckoning; a
    // test may add what others changed meanwhile.
    const simwin::Registry& Registry() const { return registry_; }
    simwin::Registry& Registry() { return registry_; }
    // The value the walk's registry holds, null when there is none.
    const simwin::RegValue* Value(const std::string& key, const std::string& name) const;

private:
    void Lose(const std::string& expected);
    std::string Context() const;

    simwin::Registry registry_;
    std::vector<const simwin::JournalEntry*> steps_;
    size_t next_ = 0;
    bool lost_ = false;
    std::set<UINT> refused_;
};

// The text a string read of the registry layer makes of stored bytes (see Walk::ReadText).
std::optional<std::string> TextRead(const Bytes& stored);

// What differs between two keys and everything below them (names compared as the registry compares them),
// one line for each value that only one has or that the two hold with another type or other bytes.
std::string Differences(const simwin::RegKey& actual, const simwin::RegKey& expected);

// ---- The settings writers ----
void BrowserTextSize(Walk& w, int textSize);
void CursorScheme(Walk& w, UINT nameRow);
// True when the record built from the six rows was handed to the system.
bool NonClientMetrics(Walk& w, const UINT (&rows)[6]);
void XpSchemeSize(Walk& w, UINT schemeRow);
void Win2000Scheme(Walk& w, UINT schemeRow);

// The time the program gives the desktop's icon view to answer one message.
constexpr UINT kIconViewAnswerMs = 3000;

// The spacing the desktop's icon view gets: grown with the icon, or fitted to the work area's grid.
struct ViewSpacing {
    int cx, cy;
    int gridCx, gridCy;
};
void DesktopIcons(Walk& w, const UINT (&rows)[6], ViewSpacing spacing);

// What a visual-style switch saved and wrote back, for checking the colours it leaves.
struct StyleSwitchSeen {
    std::vector<int> pairIndices;  // the live colours saved, in order
    std::vector<COLORREF> pairColors;
    std::vector<std::string> valuesSaved;  // the stored colour values saved, in enumeration order
    std::vector<bool> valuesWrittenBack;   // for each: its write-back succeeded
};
int VisualStyleSwitch(Walk& w, int row, StyleSwitchSeen* seen);

// The system colours that the switch keeps, in the order it visits them.
extern const int kPreservedColorIndices[28];

// ---- The follow-up run ----
struct FollowUpSeen {
    bool dialogEnded = false;
    bool shortcutDeleted = false;
    std::optional<LONG> styleWritten;  // the last style the desktop's icon view took
};
// `dialog` is the program's dialog, `shortcut` the full path of its shortcut in the Startup folder.
void FollowUpRun(Walk& w, const std::string& dialog, const std::string& shortcut, FollowUpSeen* seen);

// ---- The nine size procedures ----
// What the table's cell for a level and a variant must do, stated independently of the table.
struct ExpectedProcedure {
    SizeLevel level;
    SizeVariant variant;
    int textSize;
    UINT pointerRow;
    UINT metricsRows[6];  // metrics and the five fonts; all 0 for a visual-style procedure
    enum Scheme { kNone, kXp, kWin2000 } scheme;
    UINT schemeRow;
    UINT iconRows[6];
    ViewSpacing spacing;  // with the English rows
    int styleRow;         // 0 unless a visual-style procedure

    // The program's own cell: its name and the procedure itself.
    const SizeProcedure& Cell() const { return SizeProcedureFor(level, variant); }
};
extern const ExpectedProcedure kExpectedProcedures[9];

// The procedure's steps; returns what it must hand back, and `seen` receives what its visual-style switch
// did, if it has one.
int SizeProcedureSteps(Walk& w, const ExpectedProcedure& procedure, StyleSwitchSeen* seen);

}  // namespace journal_walk
