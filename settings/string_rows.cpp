#include "settings/string_rows.h"

bool LoadRow(UINT row, RowText* out) {
    out->text[0] = '\0';
    return LoadStringA(GetModuleHandleA(nullptr), row, out->text, kRowTextSize) > 0;
}
