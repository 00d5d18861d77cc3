// The system's reloads of icons and pointers from what the registry holds (SPI_SETICONS, SPI_SETCURSORS).
#pragma once

#include <windows.h>

// Whether a reload did what was asked. A system without the reload (ERROR_INVALID_SPI_VALUE) reads the
// written values at the next logon, as it does every setting it does not reload at once: no failure.
inline bool ReloadSucceeded(BOOL result) { return result || GetLastError() == ERROR_INVALID_SPI_VALUE; }
