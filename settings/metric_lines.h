// The two metric-line formats of the string table and their parsers.
//
// A NonClientLine holds the nine frame metrics of a NONCLIENTMETRICSA record and the end marker:
//   "1, 16, 16, 18, 18, 12, 12, 18, 18, NONCLIENTEND"
// A LogFontLine holds one LOGFONTA record's height, weight, character set and face name:
//   "  -11, 400,   1, Tahoma, LOGFONTEND"
//
// Fields are separated by commas the way strtok splits them: empty fields vanish, a field of blanks is a
// field. Numbers convert with StrToIntA. A text of 256 characters or more, a wrong field count or a wrong
// end marker is refused: the parser returns false and the caller's record is not touched.
#pragma once

#include <windows.h>

// On success sets cbSize (340) and the nine metric members; the five fonts stay as the caller had them.
bool ParseNonClientLine(NONCLIENTMETRICSA* record, const char* text);

// On success sets every member of the record. A face name longer than 31 characters is refused.
bool ParseLogFontLine(LOGFONTA* record, const char* text);
