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
};

// One size command. Nothing changes unless the confirmation returns IDOK: a confirmation that could not
// be shown is no consent to change the whole desktop. True when the size was applied (the program is then
// on its way to its end).
bool RunSizeCommand(SizeLevel level, SizeCommandWindow& window);

// The size commands of one main window. The commands that other windows send still arrive while a
// confirmation is up and after the main window has gone: one that comes while another command runs, or
// after a size was applied, is ignored, so that no second confirmation opens over the first and no size is
// applied twice.
class SizeCommands {
public:
    explicit SizeCommands(SizeCommandWindow& window) : window_(window) {}
    SizeCommands(const SizeCommands&) = delete;
    SizeCommands& operator=(const SizeCommands&) = delete;

    // True when this command applied its size.
    bool Run(SizeLevel level);

private:
    SizeCommandWindow& window_;
    bool running_ = false;
    bool applied_ = false;
};
