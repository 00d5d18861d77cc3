#include "settings/pause.h"

void PauseAnsweringSentMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    // Bounded by the time: each round either ends the pause or answers what woke it, and the time elapsed
    // grows until it reaches the pause's length (the tick count's wrap is harmless in unsigned arithmetic).
    for (DWORD elapsed = 0; elapsed < milliseconds; elapsed = GetTickCount() - start) {
        const DWORD woke = MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_SENDMESSAGE);
        if (woke == WAIT_TIMEOUT) return;
        if (woke != WAIT_OBJECT_0) {
            Sleep(milliseconds - elapsed);
            return;
        }
        // Dispatches the sent messages only; a posted message or input stays queued for the message loop.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}
