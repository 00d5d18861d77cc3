// Window-frame metrics, the five system fonts and the name of the standard appearance scheme, for Windows
// XP in classic style and Windows 2000. All rows are string-table row numbers.
#pragma once

#include <windows.h>

// Loads the metrics row and the caption, small-caption, menu, status and message font rows, reads the
// system's current non-client metrics and hands the system the record built from the six rows, stored in
// the user profile and announced to all windows. True once the record was handed over (whatever the
// system answered); false, with nothing changed, when a row does not load or parse or the current metrics
// cannot be read: the system never receives a partly filled record. `set`, when given, tells whether the
// system took the record in.
bool ApplyNonClientMetrics(UINT metricsRow, UINT captionFontRow, UINT smallCaptionFontRow, UINT menuFontRow,
                           UINT statusFontRow, UINT messageFontRow, bool* set = nullptr);

// Windows XP: when the selected appearance scheme is the standard scheme "21", records schemeRow's name
// as "Current" and "NewCurrent" and its size choice as the scheme's "SelectedSize". schemeRow is 216
// (Normal), 217 (Large) or 218 (ExtraLarge). True when the three values were written (their own results
// are not examined); false, with nothing written, for another scheme, another row or a row that does not
// load. `failed`, when given, is set when the name should have been recorded and was not: the selected
// scheme could not be read (the registry refused it), or the row did not load, or a write failed.
bool SelectXpSchemeSize(UINT schemeRow, bool* failed = nullptr);

// Windows 2000: when the user's "Current" scheme is one of the three standard schemes (rows 221 to 223,
// compared byte by byte, case and all), rewrites "Current" as schemeRow's name and returns true. Otherwise
// (schemeRow not 221 to 223, no "Current", or another scheme) deletes "Current", creating the key
// "Control Panel\Appearance" if it was missing, and returns false. A "Current" that the registry refuses
// to read, or that matches none of the standard names when one of them does not load, is neither rewritten
// nor deleted, and neither is it when schemeRow itself does not load: what the user had stays. `failed`, when given, is
// set when the scheme's name is not as it should be: "Current" could not be read, the row did not load, or the write or
// the delete failed.
bool SelectWin2000Scheme(UINT schemeRow, bool* failed = nullptr);
