// Resource and control identifiers shared by the resource scripts and the program.
#pragma once

// Dialog templates
#define IDD_SIZE_DIALOG 102
#define IDD_ABOUT_DIALOG 100
#define IDD_CONFIRM_DIALOG 132
#define IDD_CHANGED_NOTICE 202

// The program icon
#define IDI_PROGRAM 199

// Sample pictures: XP look and 2000 look, Normal, Large, Extra Large; English and German sets
#define IDB_XP_NORMAL_EN 142
#define IDB_XP_LARGE_EN 141
#define IDB_XP_XLARGE_EN 140
#define IDB_W2K_NORMAL_EN 146
#define IDB_W2K_LARGE_EN 145
#define IDB_W2K_XLARGE_EN 147
#define IDB_XP_NORMAL_DE 158
#define IDB_XP_LARGE_DE 168
#define IDB_XP_XLARGE_DE 154
#define IDB_W2K_NORMAL_DE 196
#define IDB_W2K_LARGE_DE 197
#define IDB_W2K_XLARGE_DE 198

// String-table rows of the main dialog
#define IDS_ABOUT_ENTRY 101
#define IDS_UNSUPPORTED_SYSTEM 111
#define IDS_SCREEN_TOO_SMALL 112

// String-table rows of the size procedures. Levels: NORMAL, LARGE, EXTRA_LARGE; system variants: XP_STYLED
// (Windows XP with a visual style), XP_CLASSIC (Windows XP in classic style) and W2K (Windows 2000).

// The pointer scheme's name, by level
#define IDS_POINTER_SCHEME_LARGE 202
#define IDS_POINTER_SCHEME_EXTRA_LARGE 203
#define IDS_POINTER_SCHEME_NORMAL 204

// The standard appearance scheme's name: XP's scheme "21" by size, and Windows 2000's three schemes
#define IDS_XP_SCHEME_NORMAL 216
#define IDS_XP_SCHEME_LARGE 217
#define IDS_XP_SCHEME_EXTRA_LARGE 218
#define IDS_W2K_SCHEME_NORMAL 221
#define IDS_W2K_SCHEME_LARGE 222
#define IDS_W2K_SCHEME_EXTRA_LARGE 223

// The message of the confirmation dialog's text control, and its three texts
#define IDC_CONFIRM_MESSAGE 1008
#define IDS_CONFIRM_NORMAL_SIZE 301
#define IDS_CONFIRM_LARGE_SIZE 302
#define IDS_CONFIRM_EXTRA_LARGE_SIZE 303

// The box after a size command that could not change everything: its opening line, the two headings,
// the name of each aspect of the settings, and what to do
#define IDS_NOT_ALL_CHANGED 310
#define IDS_CHANGED_HEADING 311
#define IDS_NOT_CHANGED_HEADING 312
#define IDS_ASPECT_WINDOW_SIZES 313
#define IDS_ASPECT_DESKTOP_ICONS 314
#define IDS_ASPECT_MOUSE_POINTERS 315
#define IDS_ASPECT_TEXT_SIZE 316
#define IDS_ASPECT_STYLE_SIZE 317
#define IDS_TRY_AGAIN 318
#define IDS_INSTALL_AGAIN 319

// The desktop icons: the value name of the icon size, the icon size by level, the base size, and the
// horizontal and vertical spacing by level
#define IDS_ICON_SIZE_VALUE_NAME 401
#define IDS_ICON_SIZE_NORMAL 402
#define IDS_ICON_SIZE_LARGE 403
#define IDS_ICON_SIZE_EXTRA_LARGE 404
#define IDS_ICON_BASE_SIZE 405
#define IDS_ICON_SPACING_NORMAL 421
#define IDS_ICON_SPACING_LARGE 422
#define IDS_ICON_SPACING_EXTRA_LARGE 423
#define IDS_ICON_VERTICAL_SPACING_NORMAL 431
#define IDS_ICON_VERTICAL_SPACING_LARGE 432
#define IDS_ICON_VERTICAL_SPACING_EXTRA_LARGE 433

// The visual style's size names, by level, below the column's heading
#define IDS_STYLE_SIZE_HEADING 411
#define IDS_STYLE_SIZE_NORMAL 412
#define IDS_STYLE_SIZE_LARGE 413
#define IDS_STYLE_SIZE_EXTRA_LARGE 414

// Font lines, by variant and level: the icon title font, and on XP_CLASSIC and W2K the five window fonts
// (caption, small caption, menu, status, message). 500 is the heading of the columns; no code loads it.
#define IDS_XP_STYLED_NORMAL_ICON_FONT 501
#define IDS_XP_STYLED_LARGE_ICON_FONT 511
#define IDS_XP_STYLED_EXTRA_LARGE_ICON_FONT 521

#define IDS_XP_CLASSIC_NORMAL_ICON_FONT 531
#define IDS_XP_CLASSIC_NORMAL_CAPTION_FONT 532
#define IDS_XP_CLASSIC_NORMAL_SMALL_CAPTION_FONT 533
#define IDS_XP_CLASSIC_NORMAL_MENU_FONT 534
#define IDS_XP_CLASSIC_NORMAL_STATUS_FONT 535
#define IDS_XP_CLASSIC_NORMAL_MESSAGE_FONT 536
#define IDS_XP_CLASSIC_LARGE_ICON_FONT 541
#define IDS_XP_CLASSIC_LARGE_CAPTION_FONT 542
#define IDS_XP_CLASSIC_LARGE_SMALL_CAPTION_FONT 543
#define IDS_XP_CLASSIC_LARGE_MENU_FONT 544
#define IDS_XP_CLASSIC_LARGE_STATUS_FONT 545
#define IDS_XP_CLASSIC_LARGE_MESSAGE_FONT 546
#define IDS_XP_CLASSIC_EXTRA_LARGE_ICON_FONT 551
#define IDS_XP_CLASSIC_EXTRA_LARGE_CAPTION_FONT 552
#define IDS_XP_CLASSIC_EXTRA_LARGE_SMALL_CAPTION_FONT 553
#define IDS_XP_CLASSIC_EXTRA_LARGE_MENU_FONT 554
#define IDS_XP_CLASSIC_EXTRA_LARGE_STATUS_FONT 555
#define IDS_XP_CLASSIC_EXTRA_LARGE_MESSAGE_FONT 556

#define IDS_W2K_NORMAL_ICON_FONT 561
#define IDS_W2K_NORMAL_CAPTION_FONT 562
#define IDS_W2K_NORMAL_SMALL_CAPTION_FONT 563
#define IDS_W2K_NORMAL_MENU_FONT 564
#define IDS_W2K_NORMAL_STATUS_FONT 565
#define IDS_W2K_NORMAL_MESSAGE_FONT 566
#define IDS_W2K_LARGE_ICON_FONT 571
#define IDS_W2K_LARGE_CAPTION_FONT 572
#define IDS_W2K_LARGE_SMALL_CAPTION_FONT 573
#define IDS_W2K_LARGE_MENU_FONT 574
#define IDS_W2K_LARGE_STATUS_FONT 575
#define IDS_W2K_LARGE_MESSAGE_FONT 576
#define IDS_W2K_EXTRA_LARGE_ICON_FONT 581
#define IDS_W2K_EXTRA_LARGE_CAPTION_FONT 582
#define IDS_W2K_EXTRA_LARGE_SMALL_CAPTION_FONT 583
#define IDS_W2K_EXTRA_LARGE_MENU_FONT 584
#define IDS_W2K_EXTRA_LARGE_STATUS_FONT 585
#define IDS_W2K_EXTRA_LARGE_MESSAGE_FONT 586

// Window-metric lines (NONCLIENTMETRICS numbers), by variant and level; 600 is the heading of the columns
#define IDS_XP_CLASSIC_NORMAL_METRICS 604
#define IDS_XP_CLASSIC_LARGE_METRICS 605
#define IDS_XP_CLASSIC_EXTRA_LARGE_METRICS 606
#define IDS_W2K_NORMAL_METRICS 607
#define IDS_W2K_LARGE_METRICS 608
#define IDS_W2K_EXTRA_LARGE_METRICS 609

// Controls of the main dialog
#define IDC_SAMPLE_CAPTION_1 1007
#define IDC_SAMPLE_CAPTION_2 1008
#define IDC_SAMPLE_CAPTION_3 1009
#define IDC_NORMAL_SIZE 1010
#define IDC_LARGE_SIZE 1012
#define IDC_EXTRA_LARGE_SIZE 1013
#define IDC_XP_PICTURE_1 1014
#define IDC_XP_PICTURE_2 1015
#define IDC_XP_PICTURE_3 1016
#define IDC_W2K_PICTURE_1 1020
#define IDC_W2K_PICTURE_2 1021
#define IDC_W2K_PICTURE_3 1022

// Commands that other windows may send to the main dialog; no control carries them
#define IDM_NORMAL_SIZE 1001
#define IDM_LARGE_SIZE 1003
#define IDM_EXTRA_LARGE_SIZE 1000

// The About entry of the main dialog's system menu
#define IDM_ABOUT 0x0010
