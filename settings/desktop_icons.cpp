#include "settings/desktop_icons.h"

#include "settings/desktop_icon_view.h"
#include "settings/metric_lines.h"
#include "settings/pause.h"
#include "settings/registry.h"
#include "settings/reload.h"
#include "settings/string_rows.h"
#include "settings/text_trim.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

const char kWindowMetricsKey[] = "Control Panel\\Desktop\\WindowMetrics";

// Flush the notification without waiting for the shell, no item data: the number the shell of Windows
// 2000 and XP gives SHCNF_FLUSHNOWAIT (newer headers carry another).
constexpr UINT kFlushWithoutWaiting = 0x2000;

// Time for the shell to take the new icon metrics before its icon view is re-spaced, and between the two
// arrangements.
constexpr DWORD kShellPauseMs = 500;

// The spacing the icon view gets in one direction, from the row's spacing, the work area's extent in
// that direction and the icon's growth over the base size.
//
// Snapping to a grid, the view gets the widest spacing that fits as many whole columns (rows) into the
// work area as the row's spacing does. That needs at least one column (row) of the row's spacing: a
// spacing of 0 or less, one wider than the work area, or a work area the query did not fill falls back to
// the spacing grown with the icon, so that nothing is ever divided by zero.
//
// Computed in 64 bits: the rows are converted without any range test, and only the low 16 bits of the
// result reach the view.
long long ViewSpacing(bool snapToGrid, long long extent, long long spacing, long long baseSize, long long newSize) {
    if (snapToGrid && spacing > 0 && extent >= spacing) return extent / (extent / spacing);
    return spacing - baseSize + newSize;
}

}  // namespace

bool ApplyDesktopIconMetrics(UINT valueNameRow, UINT sizeRow, UINT baseSizeRow, UINT horizontalSpacingRow,
                             UINT verticalSpacingRow, UINT titleFontRow) {
    RowText valueName, size, baseSize, horizontal, vertical, titleFont;
    if (!LoadRow(valueNameRow, &valueName) || !LoadRow(sizeRow, &size) || !LoadRow(baseSizeRow, &baseSize) ||
        !LoadRow(horizontalSpacingRow, &horizontal) || !LoadRow(verticalSpacingRow, &vertical) ||
        !LoadRow(titleFontRow, &titleFont))
        return false;

    // The spacing rows are converted as they are, so they must begin with their first digit; the font row
    // is trimmed by its parser.
    const char* valueNameText = Trim(valueName.text);
    const char* sizeText = Trim(size.text);
    const int newSize = StrToIntA(sizeText);
    const int base = StrToIntA(Trim(baseSize.text));
    const int horizontalSpacing = StrToIntA(horizontal.text);
    const int verticalSpacing = StrToIntA(vertical.text);

    bool changed = WriteRegString(HKEY_CURRENT_USER, kWindowMetricsKey, valueNameText, sizeText) != 0;
    changed &= ReloadSucceeded(SystemParametersInfoA(SPI_SETICONS, 0, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    SHChangeNotify(SHCNE_ASSOCCHANGED, kFlushWithoutWaiting, nullptr, nullptr);

    ICONMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETICONMETRICS, sizeof metrics, &metrics, 0)) return false;
    metrics.cbSize = sizeof metrics;
    metrics.iHorzSpacing = horizontalSpacing;
    metrics.iVertSpacing = verticalSpacing;
    if (!ParseLogFontLine(&metrics.lfFont, titleFont.text)) return false;
    changed &=
        SystemParametersInfoA(SPI_SETICONMETRICS, sizeof metrics, &metrics, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != 0;

    PauseAnsweringSentMessages(kShellPauseMs);
    HWND iconView = FindDesktopIconView(ShellViewTitle::Any);
    if (!iconView) return changed;

    DWORD_PTR extendedStyle = 0;
    changed &= SendToIconView(iconView, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, &extendedStyle);
    const bool snapToGrid = (extendedStyle & LVS_EX_SNAPTOGRID) != 0;
    RECT workArea = {0, 0, 0, 0};
    // Without the work area there is no grid to fit, and the view would get a spacing it should not.
    if (snapToGrid) changed &= SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0) != 0;
    const long long viewHorizontal = ViewSpacing(snapToGrid, static_cast<long long>(workArea.right) - workArea.left,
                                                 horizontalSpacing, base, newSize);
    const long long viewVertical =
        ViewSpacing(snapToGrid, static_cast<long long>(workArea.bottom) - workArea.top, verticalSpacing, base, newSize);
    const DWORD packed =
        (static_cast<DWORD>(viewVertical & 0xFFFF) << 16) | static_cast<DWORD>(viewHorizontal & 0xFFFF);

    changed &= SendToIconView(iconView, LVM_SETICONSPACING, 0, static_cast<LPARAM>(packed));
    changed &= SendToIconView(iconView, LVM_ARRANGE, LVA_ALIGNLEFT, 0);
    PauseAnsweringSentMessages(kShellPauseMs);
    changed &= SendToIconView(iconView, LVM_ARRANGE, LVA_SNAPTOGRID, 0);
    return changed;
}
