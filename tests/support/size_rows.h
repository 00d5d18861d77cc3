// The rows one writer loads, in the order it loads them, by system variant (XP_STYLED, XP_CLASSIC, W2K) and
// level (NORMAL, LARGE, EXTRA_LARGE), for tests that list a procedure's rows: the window-metrics step's
// metric line and five fonts, and the desktop-icons step's six rows.
#pragma once

#include "res/resource_ids.h"

#define WINDOW_METRIC_ROWS(VARIANT, LEVEL)                                                 \
    IDS_##VARIANT##_##LEVEL##_METRICS, IDS_##VARIANT##_##LEVEL##_CAPTION_FONT,             \
        IDS_##VARIANT##_##LEVEL##_SMALL_CAPTION_FONT, IDS_##VARIANT##_##LEVEL##_MENU_FONT, \
        IDS_##VARIANT##_##LEVEL##_STATUS_FONT, IDS_##VARIANT##_##LEVEL##_MESSAGE_FONT

#define DESKTOP_ICON_ROWS(VARIANT, LEVEL)                                                          \
    IDS_ICON_SIZE_VALUE_NAME, IDS_ICON_SIZE_##LEVEL, IDS_ICON_BASE_SIZE, IDS_ICON_SPACING_##LEVEL, \
        IDS_ICON_VERTICAL_SPACING_##LEVEL, IDS_##VARIANT##_##LEVEL##_ICON_FONT
