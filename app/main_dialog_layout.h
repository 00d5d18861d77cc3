// The main dialog's arithmetic: which pictures it shows, where every control goes, the fonts it creates,
// and where the window stands on the screen. Plain functions, so that they hold on every platform.
#pragma once

#include <windows.h>

#include "app/os_version.h"
#include "res/resource_ids.h"

// ---- Pictures ----
// The three picture controls of a supported system, in column order; null for any other kind.
const int* PictureControls(OsKind kind);

// ---- Layout, in the dialog's client coordinates (pixels) ----
struct PictureSize {
    LONG width;
    LONG height;
};

struct Placement {
    LONG left;
    LONG top;
    LONG width;   // unused (0) where the control keeps its size
    LONG height;  // unused (0) where the control keeps its size
};

struct Column {
    LONG left;
    Placement sizeButton;
    Placement caption;
    Placement picture;  // size unchanged
};

struct ControlLayout {
    Column columns[3];
    Placement close;  // size unchanged
    LONG windowWidth;
};

// The columns stand 8 pixels apart from x = 8; in each, the size button (top 16, 80 high), the caption
// (top 104, 16 high, indented 8 on both sides) and the picture (top 128). "Close" keeps its own width
// `closeWidth` and ends at the third picture's right edge, 8 pixels below that picture.
ControlLayout LayOutControls(const PictureSize pictures[3], LONG closeWidth);

// The size button and the caption of each column, in column order.
constexpr int kSizeButtons[3] = {IDC_NORMAL_SIZE, IDC_LARGE_SIZE, IDC_EXTRA_LARGE_SIZE};
constexpr int kSampleCaptions[3] = {IDC_SAMPLE_CAPTION_1, IDC_SAMPLE_CAPTION_2, IDC_SAMPLE_CAPTION_3};

// ---- Window placement ----
struct WindowPlacement {
    int x;
    int y;
    int width;
    int height;
};

// The window is `windowWidth` wide and ends 8 pixels below "Close", whose bottom edge lies `closeBottom`
// pixels below the window's top edge. It is centred across the work area's width and stands a quarter of
// the spare height down, but never above y = 1. Both offsets count from the screen's origin, not from the
// work area's corner, and both divisions truncate toward zero (a window wider than the work area gets a
// negative x).
WindowPlacement PlaceWindow(const RECT& workArea, LONG windowWidth, LONG closeBottom);

// Where an icon of `iconWidth` x `iconHeight` is drawn to stand centred in a client area of `width` x
// `height` (the minimised window's picture).
POINT CentredIconOrigin(LONG width, LONG height, LONG iconWidth, LONG iconHeight);

// ---- Fonts ----
// The fonts the main dialog creates, in creation order, each with the controls that receive it.
struct DialogFont {
    int tenthsOfPoint;
    int controls[3];
    int controlCount;
};
constexpr DialogFont kDialogFonts[5] = {
    {100, {IDC_NORMAL_SIZE}, 1},       // "Normal Size"
    {140, {IDC_LARGE_SIZE}, 1},        // "Large Size"
    {170, {IDC_EXTRA_LARGE_SIZE}, 1},  // "Extra Large Size"
    // The three "Sample" captions share one font.
    {120, {IDC_SAMPLE_CAPTION_1, IDC_SAMPLE_CAPTION_2, IDC_SAMPLE_CAPTION_3}, 3},
    {170, {IDCANCEL}, 1},  // "Close", a font of its own
};

// The character height (negative LOGFONT height) of a font of `tenthsOfPoint` on a screen of
// `pixelsPerInch`, truncated as the window framework converts point sizes.
LONG PointFontHeight(int tenthsOfPoint, int pixelsPerInch);

// ---- Texts ----
// The fixed English texts of the main dialog; control 0 is the dialog's own caption.
struct DialogText {
    int control;
    const char* text;
};
constexpr DialogText kDialogTexts[8] = {
    {0, "Optivue"},
    {IDC_NORMAL_SIZE, "Normal Size"},
    {IDC_LARGE_SIZE, "Large Size"},
    {IDC_EXTRA_LARGE_SIZE, "Extra Large Size"},
    {IDC_SAMPLE_CAPTION_1, "Sample"},
    {IDC_SAMPLE_CAPTION_2, "Sample"},
    {IDC_SAMPLE_CAPTION_3, "Sample"},
    {IDCANCEL, "Close"},
};
