// The size variant of the active visual style, switched by the external tool chgtheme while the user's
// system colours are kept: the live colours are put back whenever the tool changes them during a watch of
// about six seconds, and the stored colours under "Control Panel\Colors" are written back afterwards.
#pragma once

#include <windows.h>

#include "res/product.h"

// The tool, started only from the fixed installation folder by its full path, so that no other program
// of that name found along a search path can run in its place.
constexpr char kStyleToolPath[] = OPTIVUE_INSTALLATION_FOLDER "\\chgtheme.exe";

// What became of the style's size.
enum StyleSwitchResult : int {
    kStyleNotAsked = 0,     // the row is none of the three or does not load: nothing was done
    kStyleSwitched = 1,     // the tool switched the size, or recorded it for the next logon
    kStyleToolMissing = 2,  // the tool is not installed, or could not be started
    kStyleNotSwitched = 3,  // the tool refused, failed, or had not ended within kStyleToolBoundMs
};

// How long after its start the tool may take to end; one whose message box is still up then is left to
// the user, and the size counts as not changed.
constexpr DWORD kStyleToolBoundMs = 120000;

// `row` names the size variant: 412 "NormalSize", 413 "LargeFonts" or 414 "ExtraLargeFonts"; the row's
// text is the tool's one argument. Returns kStyleNotAsked and does nothing else when the row is none of
// these or does not load.
//
// Otherwise, in this order: saves the live colours that have a brush and the stored colour values that
// fit the fixed storage (names under 60 characters, data of at most 30 bytes, at most 50 values: a value
// that does not fit is neither saved nor written back); starts the tool when it is there, keeping its
// process handle (nothing is started when it is not); waits 1000 ms; then 50 times waits 100 ms and, when
// any saved live colour differs, sets all saved live colours again; writes every saved stored value back
// with its own type and size; repaints every window; then, when the tool was started, waits for its end
// (answering sent messages, at most until kStyleToolBoundMs after its start) and closes its handle. The
// result is the tool's: its exit code says whether the size changed. No failure on the way stops the
// sequence.
int SwitchVisualStyleSize(int row);
