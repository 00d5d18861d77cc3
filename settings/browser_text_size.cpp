#include "settings/browser_text_size.h"

#include "settings/registry.h"

#include <windows.h>

#include <cstdio>

namespace {

const char kFontSizeValue[] = "IEFontSize";
const char kBrowserKey[] = "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
const char kIdentitiesKey[] = "Identities";
const char kMailKeyBelowIdentity[] = "\\Software\\Microsoft\\Outlook Express\\5.0\\Trident\\International\\1252";

constexpr size_t kIdentitySize = 512;

}  // namespace

void SetBrowserFontSize(int textSize) {
    const BYTE stored[4] = {static_cast<BYTE>(textSize & 0xFF), 0, 0, 0};
    WriteRegBinary(HKEY_CURRENT_USER, kBrowserKey, kFontSizeValue, stored, sizeof stored);

    char identity[kIdentitySize] = {};
    ReadRegString(HKEY_CURRENT_USER, kIdentitiesKey, "Default User ID", identity);
    // An empty identity would make the key path "Identities\\Software...", which the registry takes as
    // "Identities\Software...": a key among the identities that is none, and no identity's setting.
    if (!identity[0]) return;

    char mailKey[sizeof kIdentitiesKey + kRegTextSize + sizeof kMailKeyBelowIdentity];
    std::snprintf(mailKey, sizeof mailKey, "%s\\%s%s", kIdentitiesKey, identity, kMailKeyBelowIdentity);
    WriteRegBinary(HKEY_CURRENT_USER, mailKey, kFontSizeValue, stored, sizeof stored);
}
