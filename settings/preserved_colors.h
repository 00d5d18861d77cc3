// The system colours a size change keeps, shared by the visual-style switch and the style tool chgtheme:
// whatever the style's size variant brings, these stay as the user had them.
#pragma once

#include <windows.h>

#include <iterator>

// In the order of their Win32 names. The style's own menu colours (COLOR_MENUHILIGHT, COLOR_MENUBAR) and
// index 25 are left to the style.
// clang-format off
constexpr int PreservedColorIndices[] = {
    COLOR_3DDKSHADOW,      COLOR_3DFACE,       COLOR_3DHIGHLIGHT,
    COLOR_3DLIGHT,         COLOR_3DSHADOW,     COLOR_ACTIVEBORDER,
    COLOR_ACTIVECAPTION,   COLOR_APPWORKSPACE, COLOR_BACKGROUND,
    COLOR_BTNTEXT,         COLOR_CAPTIONTEXT,  COLOR_GRADIENTACTIVECAPTION,
    COLOR_GRADIENTINACTIVECAPTION, COLOR_GRAYTEXT, COLOR_HIGHLIGHT,
    COLOR_HIGHLIGHTTEXT,   COLOR_HOTLIGHT,     COLOR_INACTIVEBORDER,
    COLOR_INACTIVECAPTION, COLOR_INACTIVECAPTIONTEXT, COLOR_INFOBK,
    COLOR_INFOTEXT,        COLOR_MENU,         COLOR_MENUTEXT,
    COLOR_SCROLLBAR,       COLOR_WINDOW,       COLOR_WINDOWFRAME,
    COLOR_WINDOWTEXT,
};
// clang-format on
constexpr int kPreservedColorCount = static_cast<int>(std::size(PreservedColorIndices));
static_assert(kPreservedColorCount == 28, "28 colours are kept");

// Where the system keeps the user's colours for the next logon.
constexpr char kStoredColorsKey[] = "Control Panel\\Colors";

// The kept colours as they are live, in the form SetSysColors takes: the indices and their colours as two
// parallel arrays. An index the system has no brush for is not kept.
struct LiveColorSnapshot {
    INT indices[kPreservedColorCount];
    COLORREF colors[kPreservedColorCount];
    int count;
};

void SaveLiveColors(LiveColorSnapshot* snapshot);

// Every saved colour is set again when any of them changed, all at once, so that they stay consistent with
// each other.
void RestoreChangedLiveColors(const LiveColorSnapshot& snapshot);
