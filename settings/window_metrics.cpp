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

enum class SchemeKind { kStandard, kOther, kUnknown };

// Whether `current` names one of the standard Windows 2000 schemes. All three rows are loaded before the
// comparison. Byte by byte and case-sensitive: a name that differs only in case is another scheme. A row
// that does not load names no scheme; when the name matches none of the rows that did load, it may still
// be the missing one's, and the kind is unknown.
SchemeKind Win2000SchemeKind(const char* current) {
    RowText standard[std::size(kWin2000SchemeRows)];
    bool loaded[std::size(kWin2000SchemeRows)];
    for (size_t i = 0; i < std::size(kWin2000SchemeRows); ++i) loaded[i] = LoadRow(kWin2000SchemeRows[i], &standard[i]);
    bool allLoaded = true;
    for (size_t i = 0; i < std::size(kWin2000SchemeRows); ++i) {
        if (loaded[i] && std::strcmp(current, standard[i].text) == 0) return SchemeKind::kStandard;
        allLoaded &= loaded[i];
    }
    return allLoaded ? SchemeKind::kOther : SchemeKind::kUnknown;
}

}  // namespace

bool ApplyNonClientMetrics(UINT metricsRow, UINT captionFontRow, UINT smallCaptionFontRow, UINT menuFontRow,
                           UINT statusFontRow, UINT messageFontRow, bool* set) {
    if (set) *set = false;
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
    const BOOL taken =
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof record, &record, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    if (set) *set = taken != FALSE;
    return true;
}

bool SelectXpSchemeSize(UINT schemeRow, bool* failed) {
    bool unused;
    bool& notRecorded = failed ? *failed : unused;
    notRecorded = false;
    char selectedStyle[kRegTextSize] = {};
    // A missing value leaves the text empty, which is not the standard scheme.
    ReadRegString(HKEY_CURRENT_USER, kNewSchemesKey, "SelectedStyle", selectedStyle, &notRecorded);
    if (lstrcmpA(selectedStyle, kStandardScheme) != 0) return false;

    const char* selectedSize = nullptr;
    for (const auto& size : kXpSchemeSizes)
        if (size.schemeRow == schemeRow) selectedSize = size.selectedSize;
    if (!selectedSize) return false;

    RowText name;
    if (!LoadRow(schemeRow, &name)) {
        notRecorded = true;
        return false;
    }
    notRecorded |= !WriteRegString(HKEY_CURRENT_USER, kAppearanceKey, "Current", name.text);
    notRecorded |= !WriteRegString(HKEY_CURRENT_USER, kAppearanceKey, "NewCurrent", name.text);
    notRecorded |= !WriteRegString(HKEY_CURRENT_USER, kStandardSchemeKey, "SelectedSize", selectedSize);
    return true;
}

bool SelectWin2000Scheme(UINT schemeRow, bool* failed) {
    bool unused;
    bool& notRecorded = failed ? *failed : unused;
    notRecorded = false;
    if (IsWin2000SchemeRow(schemeRow)) {
        RowText name;
        // Without its name there is nothing to record: an empty name would read as another scheme later.
        if (!LoadRow(schemeRow, &name)) {
            notRecorded = true;
            return false;
        }
        char current[kRegTextSize] = {};
        bool refused = false;
        const bool read = ReadRegString(HKEY_CURRENT_USER, kAppearanceKey, "Current", current, &refused) == 1;
        const SchemeKind kind = read ? Win2000SchemeKind(current) : SchemeKind::kOther;
        if (kind == SchemeKind::kStandard) {
            notRecorded |= !WriteRegString(HKEY_CURRENT_USER, kAppearanceKey, "Current", name.text);
            return true;
        }
        // The name the user has may well be a standard one: without reading it, or without the standard
        // names to compare it with, nothing is decided and it stays.
        if (refused || kind == SchemeKind::kUnknown) {
            notRecorded = true;
            return false;
        }
    }
    bool deleteRefused = false;
    DeleteRegValue(HKEY_CURRENT_USER, kAppearanceKey, "Current", &deleteRefused);
    notRecorded |= deleteRefused;
    return false;
}
