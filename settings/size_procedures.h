// The nine size procedures: one size level on one system variant, applied as one fixed sequence of the
// settings writers. Every step runs whatever the steps before it achieved, except that a scheme step runs
// only when the window-metrics step right before it returned true.
//
// XpStyled (Windows XP with a visual style active): browser text size, pointer scheme, desktop icons, then
// the visual-style switch. Window metrics and fonts are left to the style. XpClassic and Win2000: browser
// text size, pointer scheme, window metrics (+ scheme), desktop icons, and window metrics (+ scheme) once
// more with the same rows.
//
// Each procedure hands back what it could not change, by the aspects the user knows (SizeOutcome). The
// window sizes count as changed when one of the two metrics passes set the record and recorded the
// scheme's name as it should.
#pragma once

#include <windows.h>

#include "settings/size_aspects.h"

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
    bool (*applyPointerScheme)();
    WindowMetricRows windowMetrics;                // all 0 on XpStyled
    bool (*selectScheme)(UINT row, bool* failed);  // null on XpStyled
    UINT schemeRow;
    DesktopIconRows desktopIcons;
    int styleRow;  // the visual-style size argument; 0 unless XpStyled
};

// One cell of the table: the procedure's name, its rows, and the sequence its variant runs them in.
struct SizeProcedure {
    const char* name;
    SizeProcedureRows rows;
    SizeOutcome (*run)(const SizeProcedureRows& rows);

    SizeOutcome Apply() const { return run(rows); }
};

// The aspects a variant's procedures change: the visual style's size in place of the window sizes on
// XpStyled.
SizeAspects AspectsOf(SizeVariant variant);

// The table, by level and variant.
const SizeProcedure& SizeProcedureFor(SizeLevel level, SizeVariant variant);

// Each cell under its own name.
SizeOutcome ApplyNormalXpStyled();
SizeOutcome ApplyNormalXpClassic();
SizeOutcome ApplyNormalWin2000();
SizeOutcome ApplyLargeXpStyled();
SizeOutcome ApplyLargeXpClassic();
SizeOutcome ApplyLargeWin2000();
SizeOutcome ApplyExtraLargeXpStyled();
SizeOutcome ApplyExtraLargeXpClassic();
SizeOutcome ApplyExtraLargeWin2000();
