// The text size of the web browser and of the mail reader's default identity ("IEFontSize").
#pragma once

// Stores the text-size number (2, 3 or 4; its low 8 bits) as the 4-byte REG_BINARY "IEFontSize" for the
// browser, then for the mail reader under the identity named by "Identities" "Default User ID", replacing
// a value of another type or length and creating missing keys. The mail write is attempted whatever the
// browser write gave, but only when an identity was read: without one there is no identity to write to.
//
// True when the text size is in place for both: false when a write failed or the identity could not be
// read (the registry refused it). A user without a mail identity has no mail text size to change, which is
// no failure.
bool SetBrowserFontSize(int textSize);
