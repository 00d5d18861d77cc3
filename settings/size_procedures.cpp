#include "settings/size_procedures.h"

#include "res/resource_ids.h"
#include "settings/browser_text_size.h"
#include "settings/cursors.h"
#include "settings/desktop_icons.h"
#include "settings/visual_style.h"
#include "settings/window_metrics.h"

namespace {

bool ApplyIcons(const SizeProcedureRows& p) {
    const DesktopIconRows& icons = p.desktopIcons;
    return ApplyDesktopIconMetrics(icons.valueName, icons.size, icons.baseSize, icons.horizontalSpacing,
                                   icons.verticalSpacing, icons.titleFont);
}

// The window-metrics step and, only when it handed its record over, its scheme step. True when the system
// took the record and the scheme's name is as it should be.
bool ApplyMetricsAndScheme(const SizeProcedureRows& p) {
    const WindowMetricRows& m = p.windowMetrics;
    bool set = false;
    if (!ApplyNonClientMetrics(m.metrics, m.captionFont, m.smallCaptionFont, m.menuFont, m.statusFont, m.messageFont,
                               &set))
        return false;
    bool schemeFailed = false;
    p.selectScheme(p.schemeRow, &schemeFailed);
    return set && !schemeFailed;
}

void Unless(bool changed, SizeAspect aspect, SizeOutcome* outcome) {
    if (!changed) outcome->unchanged |= aspect;
}

SizeOutcome RunXpStyled(const SizeProcedureRows& p) {
    SizeOutcome outcome;
    Unless(SetBrowserFontSize(p.textSize), kTextSizeAspect, &outcome);
    Unless(p.applyPointerScheme(), kMousePointersAspect, &outcome);
    Unless(ApplyIcons(p), kDesktopIconsAspect, &outcome);
    const int style = SwitchVisualStyleSize(p.styleRow);
    Unless(style == kStyleSwitched, kStyleSizeAspect, &outcome);
    outcome.styleToolMissing = style == kStyleToolMissing;
    return outcome;
}

// The metrics run twice, around the icons: each scheme step depends only on the metrics step before it.
// The second pass writes what the first wrote, so one whole pass leaves the window sizes as they should be.
SizeOutcome RunClassic(const SizeProcedureRows& p) {
    SizeOutcome outcome;
    Unless(SetBrowserFontSize(p.textSize), kTextSizeAspect, &outcome);
    Unless(p.applyPointerScheme(), kMousePointersAspect, &outcome);
    const bool firstPass = ApplyMetricsAndScheme(p);
    Unless(ApplyIcons(p), kDesktopIconsAspect, &outcome);
    const bool secondPass = ApplyMetricsAndScheme(p);
    Unless(firstPass || secondPass, kWindowSizesAspect, &outcome);
    return outcome;
}

constexpr WindowMetricRows kNoWindowMetrics = {0, 0, 0, 0, 0, 0};

// By level (Normal, Large, ExtraLarge), then by variant (XpStyled, XpClassic, Win2000).
const SizeProcedure kSizeProcedures[3][3] = {
    {
        {.name = "ApplyNormalXpStyled",
         .rows = {.textSize = 2,
                  .applyPointerScheme = ApplyDefaultCursors,
                  .windowMetrics = kNoWindowMetrics,
                  .selectScheme = nullptr,
                  .schemeRow = 0,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_NORMAL,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_NORMAL,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_NORMAL,
                                   .titleFont = IDS_XP_STYLED_NORMAL_ICON_FONT},
                  .styleRow = IDS_STYLE_SIZE_NORMAL},
         .run = RunXpStyled},
        {.name = "ApplyNormalXpClassic",
         .rows = {.textSize = 2,
                  .applyPointerScheme = ApplyDefaultCursors,
                  .windowMetrics = {.metrics = IDS_XP_CLASSIC_NORMAL_METRICS,
                                    .captionFont = IDS_XP_CLASSIC_NORMAL_CAPTION_FONT,
                                    .smallCaptionFont = IDS_XP_CLASSIC_NORMAL_SMALL_CAPTION_FONT,
                                    .menuFont = IDS_XP_CLASSIC_NORMAL_MENU_FONT,
                                    .statusFont = IDS_XP_CLASSIC_NORMAL_STATUS_FONT,
                                    .messageFont = IDS_XP_CLASSIC_NORMAL_MESSAGE_FONT},
                  .selectScheme = SelectXpSchemeSize,
                  .schemeRow = IDS_XP_SCHEME_NORMAL,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_NORMAL,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_NORMAL,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_NORMAL,
                                   .titleFont = IDS_XP_CLASSIC_NORMAL_ICON_FONT},
                  .styleRow = 0},
         .run = RunClassic},
        {.name = "ApplyNormalWin2000",
         .rows = {.textSize = 2,
                  .applyPointerScheme = ApplyDefaultCursors,
                  .windowMetrics = {.metrics = IDS_W2K_NORMAL_METRICS,
                                    .captionFont = IDS_W2K_NORMAL_CAPTION_FONT,
                                    .smallCaptionFont = IDS_W2K_NORMAL_SMALL_CAPTION_FONT,
                                    .menuFont = IDS_W2K_NORMAL_MENU_FONT,
                                    .statusFont = IDS_W2K_NORMAL_STATUS_FONT,
                                    .messageFont = IDS_W2K_NORMAL_MESSAGE_FONT},
                  .selectScheme = SelectWin2000Scheme,
                  .schemeRow = IDS_W2K_SCHEME_NORMAL,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_NORMAL,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_NORMAL,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_NORMAL,
                                   .titleFont = IDS_W2K_NORMAL_ICON_FONT},
                  .styleRow = 0},
         .run = RunClassic},
    },
    {
        {.name = "ApplyLargeXpStyled",
         .rows = {.textSize = 3,
                  .applyPointerScheme = ApplyLargeCursors,
                  .windowMetrics = kNoWindowMetrics,
                  .selectScheme = nullptr,
                  .schemeRow = 0,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_LARGE,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_LARGE,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_LARGE,
                                   .titleFont = IDS_XP_STYLED_LARGE_ICON_FONT},
                  .styleRow = IDS_STYLE_SIZE_LARGE},
         .run = RunXpStyled},
        {.name = "ApplyLargeXpClassic",
         .rows = {.textSize = 3,
                  .applyPointerScheme = ApplyLargeCursors,
                  .windowMetrics = {.metrics = IDS_XP_CLASSIC_LARGE_METRICS,
                                    .captionFont = IDS_XP_CLASSIC_LARGE_CAPTION_FONT,
                                    .smallCaptionFont = IDS_XP_CLASSIC_LARGE_SMALL_CAPTION_FONT,
                                    .menuFont = IDS_XP_CLASSIC_LARGE_MENU_FONT,
                                    .statusFont = IDS_XP_CLASSIC_LARGE_STATUS_FONT,
                                    .messageFont = IDS_XP_CLASSIC_LARGE_MESSAGE_FONT},
                  .selectScheme = SelectXpSchemeSize,
                  .schemeRow = IDS_XP_SCHEME_LARGE,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_LARGE,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_LARGE,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_LARGE,
                                   .titleFont = IDS_XP_CLASSIC_LARGE_ICON_FONT},
                  .styleRow = 0},
         .run = RunClassic},
        {.name = "ApplyLargeWin2000",
         .rows = {.textSize = 3,
                  .applyPointerScheme = ApplyLargeCursors,
                  .windowMetrics = {.metrics = IDS_W2K_LARGE_METRICS,
                                    .captionFont = IDS_W2K_LARGE_CAPTION_FONT,
                                    .smallCaptionFont = IDS_W2K_LARGE_SMALL_CAPTION_FONT,
                                    .menuFont = IDS_W2K_LARGE_MENU_FONT,
                                    .statusFont = IDS_W2K_LARGE_STATUS_FONT,
                                    .messageFont = IDS_W2K_LARGE_MESSAGE_FONT},
                  .selectScheme = SelectWin2000Scheme,
                  .schemeRow = IDS_W2K_SCHEME_LARGE,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_LARGE,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_LARGE,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_LARGE,
                                   .titleFont = IDS_W2K_LARGE_ICON_FONT},
                  .styleRow = 0},
         .run = RunClassic},
    },
    {
        {.name = "ApplyExtraLargeXpStyled",
         .rows = {.textSize = 4,
                  .applyPointerScheme = ApplyExtraLargeCursors,
                  .windowMetrics = kNoWindowMetrics,
                  .selectScheme = nullptr,
                  .schemeRow = 0,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_EXTRA_LARGE,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_EXTRA_LARGE,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_EXTRA_LARGE,
                                   .titleFont = IDS_XP_STYLED_EXTRA_LARGE_ICON_FONT},
                  .styleRow = IDS_STYLE_SIZE_EXTRA_LARGE},
         .run = RunXpStyled},
        {.name = "ApplyExtraLargeXpClassic",
         .rows = {.textSize = 4,
                  .applyPointerScheme = ApplyExtraLargeCursors,
                  .windowMetrics = {.metrics = IDS_XP_CLASSIC_EXTRA_LARGE_METRICS,
                                    .captionFont = IDS_XP_CLASSIC_EXTRA_LARGE_CAPTION_FONT,
                                    .smallCaptionFont = IDS_XP_CLASSIC_EXTRA_LARGE_SMALL_CAPTION_FONT,
                                    .menuFont = IDS_XP_CLASSIC_EXTRA_LARGE_MENU_FONT,
                                    .statusFont = IDS_XP_CLASSIC_EXTRA_LARGE_STATUS_FONT,
                                    .messageFont = IDS_XP_CLASSIC_EXTRA_LARGE_MESSAGE_FONT},
                  .selectScheme = SelectXpSchemeSize,
                  .schemeRow = IDS_XP_SCHEME_EXTRA_LARGE,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_EXTRA_LARGE,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_EXTRA_LARGE,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_EXTRA_LARGE,
                                   .titleFont = IDS_XP_CLASSIC_EXTRA_LARGE_ICON_FONT},
                  .styleRow = 0},
         .run = RunClassic},
        {.name = "ApplyExtraLargeWin2000",
         .rows = {.textSize = 4,
                  .applyPointerScheme = ApplyExtraLargeCursors,
                  .windowMetrics = {.metrics = IDS_W2K_EXTRA_LARGE_METRICS,
                                    .captionFont = IDS_W2K_EXTRA_LARGE_CAPTION_FONT,
                                    .smallCaptionFont = IDS_W2K_EXTRA_LARGE_SMALL_CAPTION_FONT,
                                    .menuFont = IDS_W2K_EXTRA_LARGE_MENU_FONT,
                                    .statusFont = IDS_W2K_EXTRA_LARGE_STATUS_FONT,
                                    .messageFont = IDS_W2K_EXTRA_LARGE_MESSAGE_FONT},
                  .selectScheme = SelectWin2000Scheme,
                  .schemeRow = IDS_W2K_SCHEME_EXTRA_LARGE,
                  .desktopIcons = {.valueName = IDS_ICON_SIZE_VALUE_NAME,
                                   .size = IDS_ICON_SIZE_EXTRA_LARGE,
                                   .baseSize = IDS_ICON_BASE_SIZE,
                                   .horizontalSpacing = IDS_ICON_SPACING_EXTRA_LARGE,
                                   .verticalSpacing = IDS_ICON_VERTICAL_SPACING_EXTRA_LARGE,
                                   .titleFont = IDS_W2K_EXTRA_LARGE_ICON_FONT},
                  .styleRow = 0},
         .run = RunClassic},
    },
};

}  // namespace

const SizeProcedure& SizeProcedureFor(SizeLevel level, SizeVariant variant) {
    return kSizeProcedures[static_cast<int>(level)][static_cast<int>(variant)];
}

SizeAspects AspectsOf(SizeVariant variant) {
    const SizeAspects shared = kTextSizeAspect | kMousePointersAspect | kDesktopIconsAspect;
    return shared | (variant == SizeVariant::XpStyled ? kStyleSizeAspect : kWindowSizesAspect);
}

SizeOutcome ApplyNormalXpStyled() { return SizeProcedureFor(SizeLevel::Normal, SizeVariant::XpStyled).Apply(); }
SizeOutcome ApplyNormalXpClassic() { return SizeProcedureFor(SizeLevel::Normal, SizeVariant::XpClassic).Apply(); }
SizeOutcome ApplyNormalWin2000() { return SizeProcedureFor(SizeLevel::Normal, SizeVariant::Win2000).Apply(); }
SizeOutcome ApplyLargeXpStyled() { return SizeProcedureFor(SizeLevel::Large, SizeVariant::XpStyled).Apply(); }
SizeOutcome ApplyLargeXpClassic() { return SizeProcedureFor(SizeLevel::Large, SizeVariant::XpClassic).Apply(); }
SizeOutcome ApplyLargeWin2000() { return SizeProcedureFor(SizeLevel::Large, SizeVariant::Win2000).Apply(); }
SizeOutcome ApplyExtraLargeXpStyled() { return SizeProcedureFor(SizeLevel::ExtraLarge, SizeVariant::XpStyled).Apply(); }
SizeOutcome ApplyExtraLargeXpClassic() {
    return SizeProcedureFor(SizeLevel::ExtraLarge, SizeVariant::XpClassic).Apply();
}
SizeOutcome ApplyExtraLargeWin2000() { return SizeProcedureFor(SizeLevel::ExtraLarge, SizeVariant::Win2000).Apply(); }
