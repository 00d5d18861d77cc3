#include "settings/browser_text_size.h"

#include "settings/registry.h"
#include "settings/text_trim.h"

#include <windows.h>

#include <cstring>
#include <initializer_list>

namespace {

const char kFontSizeValue[] = "IEFontSize";
const char kBrowserKey[] = "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
const char kIdentitiesKey[] = "Identities";
const char kMailKeyBelowIdentity[] = "\\Software\\Microsoft\\Outlook Express\\5.0\\Trident\\International\\1252";

constexpr size_t kIdentitySize = 512;

}  // namespace

bool SetBrowserFontSize(int textSize) {
    const BYTE stored[4] = {static_cast<BYTE>(textSize & 0xFF), 0, 0, 0};
    const bool browserSet = WriteRegBinary(HKEY_CURRENT_USER, kBrowserKey, kFontSizeValue, stored, sizeof stored);

    char identity[kIdentitySize] = {};
    bool identityRefused = false;
    ReadRegString(HKEY_CURRENT_USER, kIdentitiesKey, "Default User ID", identity, &identityRefused);
    // An empty identity would make the key path "Identities\\Software...", which the registry takes as
    // "Identities\Software...": a key among the identities that is none, and no identity's setting.
    if (!identity[0]) return browserSet && !identityRefused;

    // Room for the longest identity the registry layer reads, so nothing is cut off.
    char mailKey[sizeof kIdentitiesKey + kRegTextSize + sizeof kMailKeyBelowIdentity] = {};
    for (const char* part : {kIdentitiesKey, "\\", static_cast<const char*>(identity), kMailKeyBelowIdentity})
        AppendText(mailKey, sizeof mailKey, part);
    const bool mailSet = WriteRegBinary(HKEY_CURRENT_USER, mailKey, kFontSizeValue, stored, sizeof stored);
    return browserSet && mailSet;
}
