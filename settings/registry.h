// The registry layer: seven functions, each of which opens one key, does one thing to one value, closes the
// key on every path and returns 1 on success or 0 on failure; no error code goes further and nothing is
// kept between calls. Every setting the writers read or change one value at a time passes through them.
// The visual-style switch saves and writes back the whole "Control Panel\Colors" key, which takes an
// enumeration: it opens that key itself, with the same guard (settings/registry_key.h).
#pragma once

#include <windows.h>

// String values are at most 255 characters and their NUL, both when read and when written.
constexpr DWORD kRegTextSize = 256;

// Reads any value's bytes as text into `text` (at least kRegTextSize bytes). A key that cannot be opened
// leaves `text` as it was; once the key is open, `text` is emptied first, and a missing, empty or over-long
// (more than 256 bytes) value returns 0 with `text` empty. A value stored without its NUL is cut at the
// bytes the registry returned (at most 255) and terminated.
//
// `refused`, when given, tells a read that the registry refused or failed (access denied, say) from one that
// found nothing to read: it is set when the key or the value could not be read for any other reason than
// that it is not there, and cleared otherwise.
int ReadRegString(HKEY root, const char* keyPath, const char* valueName, char* text, bool* refused = nullptr);

// Reads a value of exactly 4 bytes, of any type. `value` is written only on success.
int ReadRegDword(HKEY root, const char* keyPath, const char* valueName, DWORD* value);

// The writers create every missing key on the path. A string is stored with its NUL (length + 1 bytes);
// a text longer than 255 characters is refused with 0 before anything is opened or written.
int WriteRegString(HKEY root, const char* keyPath, const char* valueName, const char* text);
int WriteRegExpandString(HKEY root, const char* keyPath, const char* valueName, const char* text);
int WriteRegDword(HKEY root, const char* keyPath, const char* valueName, DWORD value);
int WriteRegBinary(HKEY root, const char* keyPath, const char* valueName, const BYTE* data, DWORD size);

// Deletes one value. The key is opened with create semantics, so a missing key exists afterwards (empty)
// even though the result is then 0. `refused`, when given, is set when the value may still be there: the
// key could not be opened or the delete failed for another reason than that there was no such value.
int DeleteRegValue(HKEY root, const char* keyPath, const char* valueName, bool* refused = nullptr);
