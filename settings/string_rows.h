// Row loading: every size-dependent value is a row of the program's string table, loaded by number at the
// moment it is needed, in the language the system's resource lookup picks. Nothing is cached.
#pragma once

#include <windows.h>

// Room for any row the table should hold and more: a row cut at this size is still longer than the
// 255 characters that every reader of a row accepts, so a cut row is refused downstream, never used.
constexpr int kRowTextSize = 512;

struct RowText {
    char text[kRowTextSize];
};

// Loads `row` into `out`. False, with `out` empty, when the row is absent or its text is empty.
bool LoadRow(UINT row, RowText* out);
