// Any text handed to ParseNonClientLine: no read or write outside the record and the text, a refused line
// leaves the record as it was, an accepted one changes only the size and the nine metrics.
#include "settings/metric_lines.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);  // the parser sees up to the first NUL
    NONCLIENTMETRICSA record, before;
    std::memset(&record, 0x5A, sizeof record);
    before = record;
    if (!ParseNonClientLine(&record, text.c_str())) {
        if (std::memcmp(&before, &record, sizeof record) != 0) std::abort();
        return 0;
    }
    if (record.cbSize != sizeof(NONCLIENTMETRICSA)) std::abort();
    for (const LOGFONTA* font : {&record.lfCaptionFont, &record.lfSmCaptionFont, &record.lfMenuFont,
                                 &record.lfStatusFont, &record.lfMessageFont}) {
        const size_t offset = reinterpret_cast<const char*>(font) - reinterpret_cast<const char*>(&record);
        if (std::memcmp(reinterpret_cast<const char*>(&before) + offset, font, sizeof *font) != 0) std::abort();
    }
    return 0;
}
