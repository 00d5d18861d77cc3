// The fixed pauses of a size command, on the thread that owns the program's windows.
#pragma once

#include <windows.h>

// Waits `milliseconds` and answers, meanwhile, every message that other threads send to this thread's
// windows. Other programs' broadcasts (a colour change, a setting change, a visual-style switch) wait until
// each top-level window's thread has answered them: a pause that answered nothing would hold up the
// visual-style tool's colour changes until after the colours are watched. No posted message and no input
// is taken, so nothing the user does acts while the settings change. The pause keeps its length whatever
// arrives; where the wait itself fails, the rest of it is slept.
void PauseAnsweringSentMessages(DWORD milliseconds);
