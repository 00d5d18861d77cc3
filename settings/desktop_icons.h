// The shell's icon size, the desktop icon spacing and the icon title font, and the running desktop's icon
// view re-spaced and arranged to match. All rows are string-table row numbers.
#pragma once

#include <windows.h>

// In this order: stores the trimmed icon size under "Control Panel\Desktop\WindowMetrics" in the value
// the value-name row names, makes the system reload its icons and tells the shell; sets the system icon
// metrics to the two spacing rows and the title font row (title wrapping as it was); pauses 500 ms, then
// hands the desktop's icon view the spacing it should use and has it arrange its icons left-aligned and,
// 500 ms later, on the grid. The view's spacing is the rows' spacing grown by the icon's growth over the
// base size, or, when the view snaps to a grid, the widest spacing that fits as many whole columns (rows)
// into the work area as the row's spacing does.
//
// The operation stops early, keeping what it did, when the icon metrics cannot be read, the title font row
// is refused (the icon metrics are then left alone) or the desktop's icon view is not there. The messages
// to the icon view go to the shell's process, each bounded in time (SendToIconView).
//
// True when everything was changed: false, with nothing changed, when one of the six rows does not load,
// and false when the registry write, the icon reload, a read or a set of the icon metrics, the title font
// row, the work area the grid needs, or a message to the icon view failed. A desktop without the icon view
// (a shell other than Explorer) has no layout to change, which is no failure.
bool ApplyDesktopIconMetrics(UINT valueNameRow, UINT sizeRow, UINT baseSizeRow, UINT horizontalSpacingRow,
                             UINT verticalSpacingRow, UINT titleFontRow);
