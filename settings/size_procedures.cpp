#include "settings/size_procedures.h"

#include "settings/browser_text_size.h"
#include "settings/cursors.h"
#include "settings/desktop_icons.h"
#include "settings/visual_style.h"
#include "settings/window_metrics.h"

namespace {

// The string-table rows and the text size that one procedure hands to the writers.
struct SizeProcedureRows {
    int textSize;
    void (*applyPointerScheme)();
    UINT metricsRow;                  // with the five font rows below; 0 on XpStyled
    UINT fontRows[5];                 // caption, small caption, menu, status, message
    bool (*selectScheme)(UINT row);   // null on XpStyled
    UINT schemeRow;
    UINT iconRows[6];                 // value name, size, base size, horizontal, vertical, title font
    int styleRow;                     // the visual-style size argument; 0 unless XpStyled
};

// One row per procedure: text size, pointer scheme, metrics row and its five font rows, scheme step and row,
// the six icon rows, the visual-style size row.
const SizeProcedureRows kNormalXpStyled = {
    2, ApplyDefaultCursors, 0, {0, 0, 0, 0, 0}, nullptr, 0, {401, 402, 405, 421, 431, 501}, 412};
const SizeProcedureRows kNormalXpClassic = {
    2, ApplyDefaultCursors, 604, {532, 533, 534, 535, 536}, SelectXpSchemeSize, 216, {401, 402, 405, 421, 431, 531}, 0};
const SizeProcedureRows kNormalWin2000 = {
    2, ApplyDefaultCursors, 607, {562, 563, 564, 565, 566}, SelectWin2000Scheme, 221, {401, 402, 405, 421, 431, 561}, 0};
const SizeProcedureRows kLargeXpStyled = {
    3, ApplyLargeCursors, 0, {0, 0, 0, 0, 0}, nullptr, 0, {401, 403, 405, 422, 432, 511}, 413};
const SizeProcedureRows kLargeXpClassic = {
    3, ApplyLargeCursors, 605, {542, 543, 544, 545, 546}, SelectXpSchemeSize, 217, {401, 403, 405, 422, 432, 541}, 0};
const SizeProcedureRows kLargeWin2000 = {
    3, ApplyLargeCursors, 608, {572, 573, 574, 575, 576}, SelectWin2000Scheme, 222, {401, 403, 405, 422, 432, 571}, 0};
const SizeProcedureRows kExtraLargeXpStyled = {
    4, ApplyExtraLargeCursors, 0, {0, 0, 0, 0, 0}, nullptr, 0, {401, 404, 405, 423, 433, 521}, 414};
const SizeProcedureRows kExtraLargeXpClassic = {
    4, ApplyExtraLargeCursors, 606, {552, 553, 554, 555, 556}, SelectXpSchemeSize, 218, {401, 404, 405, 423, 433, 551}, 0};
const SizeProcedureRows kExtraLargeWin2000 = {
    4, ApplyExtraLargeCursors, 609, {582, 583, 584, 585, 586}, SelectWin2000Scheme, 223, {401, 404, 405, 423, 433, 581}, 0};

void ApplyIcons(const SizeProcedureRows& p) {
    ApplyDesktopIconMetrics(p.iconRows[0], p.iconRows[1], p.iconRows[2], p.iconRows[3], p.iconRows[4], p.iconRows[5]);
}

// The window-metrics step and, only when it succeeded, its scheme step.
void ApplyMetricsAndScheme(const SizeProcedureRows& p) {
    if (ApplyNonClientMetrics(p.metricsRow, p.fontRows[0], p.fontRows[1], p.fontRows[2], p.fontRows[3], p.fontRows[4]))
        p.selectScheme(p.schemeRow);
}

int RunXpStyled(const SizeProcedureRows& p) {
    SetBrowserFontSize(p.textSize);
    p.applyPointerScheme();
    ApplyIcons(p);
    return SwitchVisualStyleSize(p.styleRow);
}

// The metrics run twice, around the icons: each scheme step depends only on the metrics step before it.
void RunClassic(const SizeProcedureRows& p) {
    SetBrowserFontSize(p.textSize);
    p.applyPointerScheme();
    ApplyMetricsAndScheme(p);
    ApplyIcons(p);
    ApplyMetricsAndScheme(p);
}

}  // namespace

int ApplyNormalXpStyled() { return RunXpStyled(kNormalXpStyled); }
void ApplyNormalXpClassic() { RunClassic(kNormalXpClassic); }
void ApplyNormalWin2000() { RunClassic(kNormalWin2000); }
int ApplyLargeXpStyled() { return RunXpStyled(kLargeXpStyled); }
void ApplyLargeXpClassic() { RunClassic(kLargeXpClassic); }
void ApplyLargeWin2000() { RunClassic(kLargeWin2000); }
int ApplyExtraLargeXpStyled() { return RunXpStyled(kExtraLargeXpStyled); }
void ApplyExtraLargeXpClassic() { RunClassic(kExtraLargeXpClassic); }
void ApplyExtraLargeWin2000() { RunClassic(kExtraLargeWin2000); }
