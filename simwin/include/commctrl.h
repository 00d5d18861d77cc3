// The simulated Win32 platform: the part of <commctrl.h> that Optivue uses, the list-view control that
// shows the desktop's icons.
#pragma once

#include <windows.h>

#define WC_LISTVIEWA "SysListView32"

// List-view window styles: the view type is the low two bits.
#define LVS_ICON 0x0000
#define LVS_REPORT 0x0001
#define LVS_SMALLICON 0x0002
#define LVS_LIST 0x0003
#define LVS_TYPEMASK 0x0003
#define LVS_SHOWSELALWAYS 0x0008
#define LVS_SHAREIMAGELISTS 0x0040
#define LVS_AUTOARRANGE 0x0100

#define LVS_EX_SNAPTOGRID 0x00080000

#define LVM_FIRST 0x1000
#define LVM_ARRANGE (LVM_FIRST + 22)
#define LVM_GETITEMSPACING (LVM_FIRST + 51)
#define LVM_SETICONSPACING (LVM_FIRST + 53)
#define LVM_SETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 54)
#define LVM_GETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 55)

#define LVA_DEFAULT 0x0000
#define LVA_ALIGNLEFT 0x0001
#define LVA_ALIGNTOP 0x0002
#define LVA_SNAPTOGRID 0x0005
