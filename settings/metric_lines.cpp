#include "settings/metric_lines.h"

#include "settings/text_trim.h"

#include <shlwapi.h>

#include <cstring>

static_assert(sizeof(NONCLIENTMETRICSA) == 340, "the program hands the system the 340-byte record");

namespace {

constexpr size_t kLineBufferSize = 256;
constexpr int kNonClientFields = 10;
constexpr int kLogFontFields = 5;

// Splits `text` (copied into `work`) on commas into at most `capacity` fields. Returns the field count,
// or -1 when the text is too long or has more fields than there are places.
int SplitFields(const char* text, char (&work)[kLineBufferSize], char** fields, int capacity) {
    const size_t length = std::strlen(text);
    if (length >= kLineBufferSize) return -1;
    std::memcpy(work, text, length + 1);
    int count = 0;
    char* p = work;
    while (true) {
        while (*p == ',') ++p;
        if (!*p) break;
        if (count == capacity) return -1;
        fields[count++] = p;
        while (*p && *p != ',') ++p;
        if (*p) *p++ = '\0';
    }
    return count;
}

}  // namespace

bool ParseNonClientLine(NONCLIENTMETRICSA* record, const char* text) {
    char work[kLineBufferSize];
    char* fields[kNonClientFields];
    if (SplitFields(text, work, fields, kNonClientFields) != kNonClientFields) return false;
    for (char*& field : fields) field = Trim(field);
    if (std::strcmp(fields[9], "NONCLIENTEND") != 0) return false;

    record->cbSize = sizeof(NONCLIENTMETRICSA);
    record->iBorderWidth = StrToIntA(fields[0]);
    record->iScrollWidth = StrToIntA(fields[1]);
    record->iScrollHeight = StrToIntA(fields[2]);
    record->iCaptionWidth = StrToIntA(fields[3]);
    record->iCaptionHeight = StrToIntA(fields[4]);
    record->iSmCaptionWidth = StrToIntA(fields[5]);
    record->iSmCaptionHeight = StrToIntA(fields[6]);
    record->iMenuWidth = StrToIntA(fields[7]);
    record->iMenuHeight = StrToIntA(fields[8]);
    return true;
}

bool ParseLogFontLine(LOGFONTA* record, const char* text) {
    char work[kLineBufferSize];
    char* fields[kLogFontFields];
    if (SplitFields(text, work, fields, kLogFontFields) != kLogFontFields) return false;
    // The numbers are trimmed on the left only; the face name and the marker on both sides, so a name
    // keeps its inner blanks.
    for (int i = 0; i < 3; ++i) fields[i] = TrimLeft(fields[i]);
    const char* faceName = Trim(fields[3]);
    if (std::strcmp(Trim(fields[4]), "LOGFONTEND") != 0) return false;
    const size_t faceLength = std::strlen(faceName);
    if (faceLength >= sizeof record->lfFaceName) return false;

    record->lfHeight = StrToIntA(fields[0]);
    record->lfWidth = 0;
    record->lfEscapement = 0;
    record->lfOrientation = 0;
    record->lfWeight = StrToIntA(fields[1]);
    record->lfItalic = 0;
    record->lfUnderline = 0;
    record->lfStrikeOut = 0;
    record->lfCharSet = static_cast<BYTE>(StrToIntA(fields[2]) & 0xFF);
    record->lfOutPrecision = 0;
    record->lfClipPrecision = 0;
    record->lfQuality = 0;
    record->lfPitchAndFamily = 0;
    std::memset(record->lfFaceName, 0, sizeof record->lfFaceName);
    std::memcpy(record->lfFaceName, faceName, faceLength + 1);
    return true;
}
