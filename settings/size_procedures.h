// The nine size procedures: one size level on one system variant, applied as one fixed sequence of the
// settings writers. They take no arguments and report nothing back; every step runs whatever the steps
// before it achieved, except that a scheme step runs only when the window-metrics step right before it
// returned true.
//
// XpStyled (Windows XP with a visual style active): browser text size, pointer scheme, desktop icons, then
// the visual-style switch, whose result is handed back. Window metrics and fonts are left to the style.
// XpClassic and Win2000: browser text size, pointer scheme, window metrics (+ scheme), desktop icons, and
// window metrics (+ scheme) once more with the same rows.
#pragma once

int ApplyNormalXpStyled();
void ApplyNormalXpClassic();
void ApplyNormalWin2000();
int ApplyLargeXpStyled();
void ApplyLargeXpClassic();
void ApplyLargeWin2000();
int ApplyExtraLargeXpStyled();
void ApplyExtraLargeXpClassic();
void ApplyExtraLargeWin2000();
