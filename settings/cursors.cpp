#include "settings/cursors.h"

#include "res/resource_ids.h"
#include "settings/registry.h"
#include "settings/reload.h"
#include "settings/string_rows.h"

#include <windows.h>

#include <iterator>

namespace {

const char kCursorsKey[] = "Control Panel\\Cursors";
constexpr DWORD kSchemeSourceSystem = 2;

// The pointer values in the order they are written, with the file of each larger scheme.
struct PointerFiles {
    const char* valueName;
    const char* large;
    const char* extraLarge;
};

const PointerFiles kPointers[] = {
    {"Arrow", "%SYSTEMROOT%\\cursors\\arrow_m.cur", "%SYSTEMROOT%\\cursors\\arrow_l.cur"},
    {"Help", "%SYSTEMROOT%\\cursors\\help_m.cur", "%SYSTEMROOT%\\cursors\\help_l.cur"},
    {"AppStarting", "%SYSTEMROOT%\\cursors\\wait_m.cur", "%SYSTEMROOT%\\cursors\\wait_l.cur"},
    {"Wait", "%SYSTEMROOT%\\cursors\\busy_m.cur", "%SYSTEMROOT%\\cursors\\busy_l.cur"},
    {"Crosshair", "%SYSTEMROOT%\\cursors\\cross_m.cur", "%SYSTEMROOT%\\cursors\\cross_l.cur"},
    {"Ibeam", "%SYSTEMROOT%\\cursors\\beam_m.cur", "%SYSTEMROOT%\\cursors\\beam_l.cur"},
    {"NWPen", "%SYSTEMROOT%\\cursors\\pen_m.cur", "%SYSTEMROOT%\\cursors\\pen_l.cur"},
    {"No", "%SYSTEMROOT%\\cursors\\no_m.cur", "%SYSTEMROOT%\\cursors\\no_l.cur"},
    {"SizeNS", "%SYSTEMROOT%\\cursors\\size4_m.cur", "%SYSTEMROOT%\\cursors\\size4_l.cur"},
    {"SizeWE", "%SYSTEMROOT%\\cursors\\size3_m.cur", "%SYSTEMROOT%\\cursors\\size3_l.cur"},
    {"SizeNWSE", "%SYSTEMROOT%\\cursors\\size2_m.cur", "%SYSTEMROOT%\\cursors\\size2_l.cur"},
    {"SizeNESW", "%SYSTEMROOT%\\cursors\\size1_m.cur", "%SYSTEMROOT%\\cursors\\size1_l.cur"},
    {"SizeAll", "%SYSTEMROOT%\\cursors\\move_m.cur", "%SYSTEMROOT%\\cursors\\move_l.cur"},
    {"UpArrow", "%SYSTEMROOT%\\cursors\\up_m.cur", "%SYSTEMROOT%\\cursors\\up_l.cur"},
};
static_assert(std::size(kPointers) == 14, "a scheme sets all 14 pointers");

// Writes one scheme: `files` picks the column of the pointer table, null for the built-in pointers.
bool ApplyCursorScheme(UINT nameRow, const char* PointerFiles::*files) {
    RowText name;
    // A missing row leaves the name empty; the scheme is written all the same.
    bool inPlace = LoadRow(nameRow, &name);
    inPlace &= WriteRegString(HKEY_CURRENT_USER, kCursorsKey, "", name.text) != 0;
    for (const PointerFiles& pointer : kPointers)
        inPlace &=
            WriteRegExpandString(HKEY_CURRENT_USER, kCursorsKey, pointer.valueName, files ? pointer.*files : "") != 0;
    inPlace &= WriteRegDword(HKEY_CURRENT_USER, kCursorsKey, "Scheme Source", kSchemeSourceSystem) != 0;
    inPlace &= ReloadSucceeded(SystemParametersInfoA(SPI_SETCURSORS, 0, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    return inPlace;
}

}  // namespace

bool ApplyDefaultCursors() { return ApplyCursorScheme(IDS_POINTER_SCHEME_NORMAL, nullptr); }

bool ApplyLargeCursors() { return ApplyCursorScheme(IDS_POINTER_SCHEME_LARGE, &PointerFiles::large); }

bool ApplyExtraLargeCursors() { return ApplyCursorScheme(IDS_POINTER_SCHEME_EXTRA_LARGE, &PointerFiles::extraLarge); }
