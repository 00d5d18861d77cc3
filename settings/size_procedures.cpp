#include "settings/size_procedures.h"

#include "settings/browser_text_size.h"
#include "settings/cursors.h"
#include "settings/desktop_icons.h"
#include "settings/visual_style.h"
#include "settings/window_metrics.h"

namespace {

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
int RunClassic(const SizeProcedureRows& p) {
    SetBrowserFontSize(p.textSize);
    p.applyPointerScheme();
    ApplyMetricsAndScheme(p);
    ApplyIcons(p);
    ApplyMetricsAndScheme(p);
    return 0;
}

// Rows: Normal, Large, ExtraLarge. Columns: XpStyled, XpClassic, Win2000. Each cell: name; text size,
// pointer scheme, metrics row and its five font rows, scheme step and row, the six icon rows, the
// visual-style size row; runner.
const SizeProcedure kSizeProcedures[3][3] = {
    {
        {"ApplyNormalXpStyled",
         {2, ApplyDefaultCursors, 0, {0, 0, 0, 0, 0}, nullptr, 0, {401, 402, 405, 421, 431, 501}, 412}, RunXpStyled},
        {"ApplyNormalXpClassic",
         {2, ApplyDefaultCursors, 604, {532, 533, 534, 535, 536}, SelectXpSchemeSize, 216,
          {401, 402, 405, 421, 431, 531}, 0},
         RunClassic},
        {"ApplyNormalWin2000",
         {2, ApplyDefaultCursors, 607, {562, 563, 564, 565, 566}, SelectWin2000Scheme, 221,
          {401, 402, 405, 421, 431, 561}, 0},
         RunClassic},
    },
    {
        {"ApplyLargeXpStyled",
         {3, ApplyLargeCursors, 0, {0, 0, 0, 0, 0}, nullptr, 0, {401, 403, 405, 422, 432, 511}, 413}, RunXpStyled},
        {"ApplyLargeXpClassic",
         {3, ApplyLargeCursors, 605, {542, 543, 544, 545, 546}, SelectXpSchemeSize, 217,
          {401, 403, 405, 422, 432, 541}, 0},
         RunClassic},
        {"ApplyLargeWin2000",
         {3, ApplyLargeCursors, 608, {572, 573, 574, 575, 576}, SelectWin2000Scheme, 222,
          {401, 403, 405, 422, 432, 571}, 0},
         RunClassic},
    },
    {
        {"ApplyExtraLargeXpStyled",
         {4, ApplyExtraLargeCursors, 0, {0, 0, 0, 0, 0}, nullptr, 0, {401, 404, 405, 423, 433, 521}, 414},
         RunXpStyled},
        {"ApplyExtraLargeXpClassic",
         {4, ApplyExtraLargeCursors, 606, {552, 553, 554, 555, 556}, SelectXpSchemeSize, 218,
          {401, 404, 405, 423, 433, 551}, 0},
         RunClassic},
        {"ApplyExtraLargeWin2000",
         {4, ApplyExtraLargeCursors, 609, {582, 583, 584, 585, 586}, SelectWin2000Scheme, 223,
          {401, 404, 405, 423, 433, 581}, 0},
         RunClassic},
    },
};

}  // namespace

const SizeProcedure& SizeProcedureFor(SizeLevel level, SizeVariant variant) {
    return kSizeProcedures[static_cast<int>(level)][static_cast<int>(variant)];
}

int ApplyNormalXpStyled() { return SizeProcedureFor(SizeLevel::Normal, SizeVariant::XpStyled).Apply(); }
void ApplyNormalXpClassic() { SizeProcedureFor(SizeLevel::Normal, SizeVariant::XpClassic).Apply(); }
void ApplyNormalWin2000() { SizeProcedureFor(SizeLevel::Normal, SizeVariant::Win2000).Apply(); }
int ApplyLargeXpStyled() { return SizeProcedureFor(SizeLevel::Large, SizeVariant::XpStyled).Apply(); }
void ApplyLargeXpClassic() { SizeProcedureFor(SizeLevel::Large, SizeVariant::XpClassic).Apply(); }
void ApplyLargeWin2000() { SizeProcedureFor(SizeLevel::Large, SizeVariant::Win2000).Apply(); }
int ApplyExtraLargeXpStyled() { return SizeProcedureFor(SizeLevel::ExtraLarge, SizeVariant::XpStyled).Apply(); }
void ApplyExtraLargeXpClassic() { SizeProcedureFor(SizeLevel::ExtraLarge, SizeVariant::XpClassic).Apply(); }
void ApplyExtraLargeWin2000() { SizeProcedureFor(SizeLevel::ExtraLarge, SizeVariant::Win2000).Apply(); }
