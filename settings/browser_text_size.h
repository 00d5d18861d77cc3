// The text size of the web browser and of the mail reader's default identity ("IEFontSize").
#pragma once

// Stores the text-size number (2, 3 or 4; its low 8 bits) as the 4-byte REG_BINARY "IEFontSize" for the
// browser, then for the mail reader under the identity named by "Identities" "Default User ID", replacing
// a value of another type or length and creating missing keys. The mail write is attempted whatever the
// browser write gave, but only when an identity was read: without one there is no identity to write to.
// No result is examined; nothing is reported.
void SetBrowserFontSize(int textSize);
