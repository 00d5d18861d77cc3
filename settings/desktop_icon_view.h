// The desktop's icon view, owned by the shell's process: finding it, and having it lay its icons out afresh.
#pragma once

#include <windows.h>

// Which shell view the search accepts. The icon metrics writer takes the first "SHELLDLL_DefView" under
// the desktop whatever its title; the follow-up run takes only the empty-titled one, the desktop's own.
enum class ShellViewTitle { Any, Empty };

// "SysListView32" in "SHELLDLL_DefView" in the top-level "Progman" titled "Program Manager"; null when one
// of the three is not there. Each level must be found: a search with a null parent would look among all
// top-level windows and could hand back a list view of another program.
HWND FindDesktopIconView(ShellViewTitle shellViewTitle);

// How long the shell may take to answer one message before it counts as not answering.
constexpr UINT kIconViewAnswerMs = 3000;

// Sends one message to the icon view, which belongs to the shell's process: a shell that hangs, or does
// not answer within kIconViewAnswerMs, costs that time and no more. True when it answered; `answer`, when
// given, receives the answer (0 otherwise).
bool SendToIconView(HWND iconView, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer = nullptr);

// Switches the desktop's icon view (found with ShellViewTitle::Empty) to the small-icon view and back to
// the icon view with its drawing stopped, arranges it, and lets it draw again, so that it lays its icons out
// with the current spacing. Only the view-type bits of its style change; the others are written back as
// read. Does nothing when the view is not there.
void RefreshDesktopIconLayout();
