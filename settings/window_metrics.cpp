#include "settings/window_metrics.h"

#include "res/resource_ids.h"
#include "settings/metric_lines.h"
#include "settings/registry.h"
#include "settings/string_rows.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const char kAppearanceKey[] = "Control Panel\\Appearance";
const char kNewSchemesKey[] = "Control Panel\\Appearance\\New Schemes";
const char kStandardSchemeKey[] = "Control Panel\\Appearance\\New Schemes\\21";
const char kStandardScheme[] = "21";

// The size choice of the standard XP scheme "21" by scheme-name row. Large is "2" and ExtraLarge "1".
const struct {
    UINT schemeRow;
    const char* selectedSize;
} kXpSchemeSizes[] = {
    {IDS_XP_SCHEME_NORMAL, "0"},
    {IDS_XP_SCHEME_LARGE, "2"},
    {IDS_XP_SCHEME_EXTRA_LARGE, "1"},
};

// The names of the three standard Windows 2000 schemes, which are also the names it may record.
const UINT kWin2000SchemeRows[] = {IDS_W2K_SCHEME_NORMAL, IDS_W2K_SCHEME_LARGE, IDS_W2K_SCHEME_EXTRA_LARGE};

bool IsWin2000SchemeRow(UINT row) {
    return std::find(std::begin(kWin2000SchemeRows), std::end(kWin2000SchemeRows), row) != std::end(kWin2000SchemeRows);
}

// Whether `current` names one of the standard Windows 2000 schemes. All three rows are loaded before the
// comparison. Byte by byte and case-sensitive: a name that differs only in case is another scheme. A row
// that does not load names no scheme.
bool IsWin2000Scheme(const char* current) {
    RowText standard[std::size(kWin2000SchemeRows)];
    bool loaded[std::size(kWin2000SchemeRows)];
    for (size_t i = 0; i < std::size(kWin2000SchemeRows); ++i) loaded[i] = LoadRow(kWin2000SchemeRows[i], &standard[i]);
    for (size_t i = 0; i < std::size(kWin2000SchemeRows); ++i)
        if (loaded[i] && std::strcmp(current, standard[i].text) == 0) return true;
    return false;
}

}  // namespace

bool ApplyNonClientMetrics(UINT metricsRow, UINT captionFontRow, UINT smallCaptionFontRow, UINT menuFontRow,
                           UINT statusFontRow, UINT messageFontRow) {
    RowText metrics, caption, smallCaption, menu, status, message;
    if (!LoadRow(metricsRow, &metrics) || !LoadRow(captionFontRow, &caption) ||
        !LoadRow(smallCaptionFontRow, &smallCaption) || !LoadRow(menuFontRow, &menu) ||
        !LoadRow(statusFontRow, &status) || !LoadRow(messageFontRow, &message))
        return false;

    NONCLIENTMETRICSA record = {};
    record.cbSize = sizeof record;
    // The parsers set every member, so nothing read here reaches the system; the read only has to succeed.
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof record, &record, 0)) return false;
    if (!ParseNonClientLine(&record, metrics.text) || !ParseLogFontLine(&record.lfCaptionFont, caption.text) ||
        !ParseLogFontLine(&record.lfSmCaptionFont, smallCaption.text) ||
        !ParseLogFontLine(&record.lfMenuFont, menu.text) || !ParseLogFontLine(&record.lfStatusFont, status.text) ||
        !ParseLogFontLine(&record.lfMessageFont, message.text))
        return false;

    // Set again, though the line's parser sets it too: what goes to the system must carry its own size
    // whatever the parser writes.
    record.cbSize = sizeof record;
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof record, &record, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    return true;
}

bool SelectXpSchemeSize(UINT schemeRow) {
    char selectedStyle[kRegTextSize] = {};
    // A missing value leaves the text empty, which is not the standard scheme.
    ReadRegString(HKEY_CURRENT_USER, kNewSchemesKey, "SelectedStyle", selectedStyle);
    if (lstrcmpA(selectedStyle, kStandardScheme) != 0) return false;

    const char* selectedSize = nullptr;
    for (const auto& size : kXpSchemeSizes)
        if (size.schemeRow == schemeRow) selectedSize = size.selectedSize;
    if (!selectedSize) return false;

    RowText name;
    if (!LoadRow(schemeRow, &name)) return false;
    WriteRegString(HKEY_CURRENT_USER, kAppearanceKey, "Current", name.text);
    WriteRegString(HKEY_CURRENT_USER, kAppearanceKey, "NewCurrent", name.text);
    WriteRegString(HKEY_CURRENT_USER, kStandardSchemeKey, "SelectedSize", selectedSize);
    return true;
}

bool SelectWin2000Scheme(UINT schemeRow) {
    if (IsWin2000SchemeRow(schemeRow)) {
        RowText name;
        LoadRow(schemeRow, &name);  // a missing row records an empty name
        char current[kRegTextSize] = {};
        if (ReadRegString(HKEY_CURRENT_USER, kAppearanceKey, "Current", current) == 1 && IsWin2000Scheme(current)) {
            WriteRegString(HKEY_CURRENT_USER, kAppearanceKey, "Current", name.text);
            return true;
        }
    }
    DeleteRegValue(HKEY_CURRENT_USER, kAppearanceKey, "Current");
    return false;
}
