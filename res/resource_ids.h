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

// The message of the confirmation dialog's text control, and its three texts
#define IDC_CONFIRM_MESSAGE 1008
#define IDS_CONFIRM_NORMAL_SIZE 301
#define IDS_CONFIRM_LARGE_SIZE 302
#define IDS_CONFIRM_EXTRA_LARGE_SIZE 303

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
