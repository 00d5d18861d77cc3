// A size command, from the click to the notice: the user confirms, the system and its visual style choose
// one of the nine size procedures, the main window hides while it runs, and "Settings have changed." shows.
// The decisions are plain code here; the windows they need come from the main dialog through
// SizeCommandWindow.
#pragma once

#include <windows.h>

#include "app/os_version.h"
#include "settings/size_procedures.h"

// The confirmation row of a level: 301, 302 or 303.
UINT ConfirmationRow(SizeLevel level);

// Whether a visual style is active: "ThemeActive" under the current user's ThemeManager key reads as
// exactly the text "1". A missing key or value, a failed read and any other text ("0", "01", "1 ", "")
// count as classic.
bool IsVisualStyleActive();

// Windows XP is XpStyled or XpClassic by its visual style; everything else that reaches a size command is
// Windows 2000, and its style is never asked about.
SizeVariant ChooseSizeVariant(OsKind kind);

// The pause after a variant's procedure: the visual-style switch waits on its own; the others give the
// system time to take the new metrics in before the notice appears.
DWORD PauseAfterProcedureMs(SizeVariant variant);

// The timer that ends the program once "Settings have changed." has been on screen for its time.
constexpr UINT_PTR kNoticeTimer = 100;
constexpr UINT kNoticeTimeMs = 2000;

// The program's exit code when a size command could not change everything (0 otherwise).
constexpr int kExitNotAllChanged = 1;

// Room for the message that tells what did not change.
constexpr size_t kNotChangedMessageSize = 2048;

// The message for a size command that could not change everything, in the user's language: what changed
// and what did not, among the aspects `variant` changes, then what to do. `text` receives it, cut to
// `capacity` bytes with its NUL.
void ComposeNotChangedMessage(SizeVariant variant, const SizeOutcome& outcome, char* text, size_t capacity);

// What the flow asks of the main dialog.
class SizeCommandWindow {
public:
    virtual ~SizeCommandWindow() = default;
    // Runs the confirmation modally with `message`; IDOK, IDCANCEL or -1 when it could not be shown.
    virtual INT_PTR Confirm(const char* message) = 0;
    virtual void Hide() = 0;
    // Shows "Settings have changed.".
    virtual void ShowChangedNotice() = 0;
    // Arms the timer that takes the notice away and ends the program.
    virtual void StartNoticeTimer() = 0;
    // Ends the main dialog with IDCANCEL: the program ends with nothing changed by it.
    virtual void EndMainWindow() = 0;
    // Runs the About box modally.
    virtual void ShowAbout() = 0;
    // Takes the notice away, stops its timer and posts the quit message that ends the program.
    virtual void EndAfterNotice() = 0;
    // Tells the user, in a box they close with OK, that not everything changed.
    virtual void TellNotChanged(const char* message) = 0;
    // Posts the quit message with kExitNotAllChanged.
    virtual void EndNotChanged() = 0;
    // Posts a marker behind the requests that were posted while a size was applied, so that they are
    // recognised and dropped (PostedRequestsTaken() when it arrives); false when it could not be posted.
    virtual bool MarkPostedRequests() = 0;
};

// The size commands of one main window, and its other requests while a size command runs.
//
// The commands that other windows send still arrive while a confirmation is up and after the main window
// has gone: one that comes while another command runs, or after a size was applied, is ignored, so that
// no second confirmation opens over the first and no size is applied twice.
//
// While a size is being applied, from the confirmation's OK until the notice's timer is armed, the thread
// answers the messages that other programs and the system send it (their broadcasts wait on it), but
// takes none that would cut the procedure short or stall it: Close and the About box are ignored, a
// timer that arrives is ignored (the notice's own is armed only at the end), and the end of the session
// is refused, so that a logoff waits until the sizes, the user's colours and the notice are in place.
// Requests posted meanwhile wait in the queue until the command ends: they are dropped too, up to the
// marker posted behind them. Before and after, each request does what it always does.
//
// What the user is told is what the procedure reports: "Settings have changed." only when everything
// changed; otherwise a box that says what did not and what to do, after which the program ends with
// kExitNotAllChanged. While that box is up, Close, About and timers are ignored.
class SizeCommands {
public:
    explicit SizeCommands(SizeCommandWindow& window) : window_(window) {}
    SizeCommands(const SizeCommands&) = delete;
    SizeCommands& operator=(const SizeCommands&) = delete;

    // One size command. Nothing changes unless the confirmation returns IDOK: a confirmation that could
    // not be shown is no consent to change the whole desktop. True when this command applied its size (the
    // program is then on its way to its end).
    bool Run(SizeLevel level);

    // True from the confirmation's OK until the notice's timer is armed.
    bool Applying() const { return applying_; }

    // Close: Cancel, Escape, the close box, WM_CLOSE.
    void Close();
    void About();
    // A timer message; true when it was taken here and must not reach the default processing. The
    // notice's timer ends the program.
    bool Timer(UINT_PTR timerId);
    // The answer to WM_QUERYENDSESSION: FALSE while a size is being applied, TRUE otherwise.
    BOOL MayEndSession() const;
    // The marker of MarkPostedRequests arrived: every request posted during the command has been dropped.
    void PostedRequestsTaken() { draining_ = false; }

    // Whether Close, About and timers are ignored now: while a size is applied, until the requests posted
    // meanwhile are dropped, and while the box says what did not change.
    bool IgnoringRequests() const { return applying_ || draining_ || telling_; }

private:
    SizeCommandWindow& window_;
    bool running_ = false;
    bool applying_ = false;
    bool applied_ = false;
    bool draining_ = false;
    bool telling_ = false;
};
