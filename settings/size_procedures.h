// The nine size procedures: one size level on one system variant, applied as one fixed sequence of the
// settings writers. Every step runs whatever the steps before it achieved, except that a scheme step runs
// only when the window-metrics step right before it returned true.
//
// XpStyled (Windows XP with a visual style active): browser text size, pointer scheme, desktop icons, then
// the visual-style switch, whose result is handed back. Window metrics and fonts are left to the style.
// XpClassic and Win2000: browser text size, pointer scheme, window metrics (+ scheme), desktop icons, and
// window metrics (+ scheme) once more with the same rows.
#pragma once

#include <windows.h>

enum class SizeLevel { Normal, Large, ExtraLarge };

// The system variant a size procedure is written for.
enum class SizeVariant { XpStyled, XpClassic, Win2000 };

// The window-metrics step's rows: the metric line and its five font lines.
struct WindowMetricRows {
    UINT metrics;
    UINT captionFont;
    UINT smallCaptionFont;
    UINT menuFont;
    UINT statusFont;
    UINT messageFont;
};

// The desktop-icons step's rows.
struct DesktopIconRows {
    UINT valueName;
    UINT size;
    UINT baseSize;
    UINT horizontalSpacing;
    UINT verticalSpacing;
    UINT titleFont;
};

// The string-table rows and the text size that one procedure hands to the writers.
struct SizeProcedureRows {
    int textSize;
    void (*applyPointerScheme)();
    WindowMetricRows windowMetrics;  // all 0 on XpStyled
    bool (*selectScheme)(UINT row);  // null on XpStyled
    UINT schemeRow;
    DesktopIconRows desktopIcons;
    int styleRow;                    // the visual-style size argument; 0 unless XpStyled
};

// One cell of the table: the procedure's name, its rows, and the sequence its variant runs them in (the
// visual-style switch's result, or 0).
struct SizeProcedure {
    const char* name;
    SizeProcedureRows rows;
    int (*run)(const SizeProcedureRows& rows);

    int Apply() const { return run(rows); }
};

// The table, by level and variant.
const SizeProcedure& SizeProcedureFor(SizeLevel level, SizeVariant variant);

// Each cell under its own name.
int ApplyNormalXpStyled();
void ApplyNormalXpClassic();
void ApplyNormalWin2000();
int ApplyLargeXpStyled();
void ApplyLargeXpClassic();
void ApplyLargeWin2000();
int ApplyExtraLargeXpStyled();
void ApplyExtraLargeXpClassic();
void ApplyExtraLargeWin2000();
