// The mouse-pointer schemes of the three size levels, written into the current user's pointer settings
// under "Control Panel\Cursors", after which the system reloads its pointers.
//
// Each writes, in this order: the key's default value (REG_SZ) = the scheme's name from the string table
// (empty when the row does not load); the 14 pointer values (REG_EXPAND_SZ), with "%SYSTEMROOT%" stored
// unexpanded; "Scheme Source" (REG_DWORD) = 2; then SPI_SETCURSORS, stored and announced. Every step runs
// whatever the one before it gave. Other values of the key keep their data, and no pointer file is looked
// at.
//
// Each returns true when the scheme is in place: its name row loaded, every value written and the pointers
// reloaded. A system that has no pointer reload (ERROR_INVALID_SPI_VALUE) takes the written scheme at the
// next logon, which is no failure.
#pragma once

// Normal: the system's built-in pointers (every pointer value empty), named by row 204.
bool ApplyDefaultCursors();

// Large: the "_m.cur" files of the Windows cursors folder, named by row 202.
bool ApplyLargeCursors();

// ExtraLarge: the "_l.cur" files of the Windows cursors folder, named by row 203.
bool ApplyExtraLargeCursors();
