// Any text handed to ParseLogFontLine: a refused line leaves the record as it was; an accepted one sets a
// face name that ends inside lfFaceName and leaves every member outside the font alone.
#include "settings/metric_lines.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The font inside a larger record, as the icon metrics carry it, to catch a write past the member.
    ICONMETRICSA record, before;
    std::memset(&record, 0x5A, sizeof record);
    before = record;
    if (!ParseLogFontLine(&record.lfFont, text.c_str())) {
        if (std::memcmp(&before, &record, sizeof record) != 0) std::abort();
        return 0;
    }
    if (std::memchr(record.lfFont.lfFaceName, 0, sizeof record.lfFont.lfFaceName) == nullptr) std::abort();
    if (std::memcmp(&before, &record, offsetof(ICONMETRICSA, lfFont)) != 0) std::abort();
    if (record.lfFont.lfWidth || record.lfFont.lfItalic || record.lfFont.lfQuality) std::abort();
    return 0;
}
