#include "settings/registry.h"

#include "settings/registry_key.h"

#include <cstring>

namespace {

// The answers that mean "not there" rather than "not allowed" or "not working".
bool IsAbsence(LONG error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

void Tell(bool* refused, bool value) {
    if (refused) *refused = value;
}

LONG OpenForQuery(HKEY root, const char* keyPath, OpenKey* key) {
    return RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, key->Receive());
}

bool OpenForChange(HKEY root, const char* keyPath, OpenKey* key) {
    return RegCreateKeyExA(root, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key->Receive(),
                           nullptr) == ERROR_SUCCESS;
}

// Queries a value's bytes into the layer's 256-byte buffer; returns the byte count, or -1 on failure. A
// value too long for the buffer is content, not a refusal.
long QueryIntoBuffer(HKEY key, const char* valueName, BYTE (&buffer)[kRegTextSize], bool* refused) {
    DWORD size = sizeof buffer;
    const LONG error = RegQueryValueExA(key, valueName, nullptr, nullptr, buffer, &size);
    Tell(refused, error != ERROR_SUCCESS && error != ERROR_MORE_DATA && !IsAbsence(error));
    if (error != ERROR_SUCCESS) return -1;
    return size <= sizeof buffer ? static_cast<long>(size) : -1;
}

int WriteText(HKEY root, const char* keyPath, const char* valueName, const char* text, DWORD type) {
    const size_t length = std::strlen(text);
    if (length >= kRegTextSize) return 0;
    char staged[kRegTextSize];
    std::memcpy(staged, text, length + 1);
    OpenKey key;
    if (!OpenForChange(root, keyPath, &key)) return 0;
    return RegSetValueExA(key.Get(), valueName, 0, type, reinterpret_cast<const BYTE*>(staged),
                          static_cast<DWORD>(length + 1)) == ERROR_SUCCESS;
}

}  // namespace

int ReadRegString(HKEY root, const char* keyPath, const char* valueName, char* text, bool* refused) {
    BYTE buffer[kRegTextSize];
    long size;
    {
        OpenKey key;
        if (const LONG error = OpenForQuery(root, keyPath, &key)) {
            Tell(refused, !IsAbsence(error));
            return 0;
        }
        size = QueryIntoBuffer(key.Get(), valueName, buffer, refused);
    }
    text[0] = '\0';
    if (size <= 0) return 0;
    // Up to and including the first NUL; a value without one is cut so that the NUL still fits.
    const void* nul = std::memchr(buffer, 0, static_cast<size_t>(size));
    const size_t length = nul ? static_cast<const BYTE*>(nul) - buffer
                              : static_cast<size_t>(size < static_cast<long>(kRegTextSize) ? size : kRegTextSize - 1);
    std::memcpy(text, buffer, length);
    text[length] = '\0';
    return 1;
}

int ReadRegDword(HKEY root, const char* keyPath, const char* valueName, DWORD* value) {
    BYTE buffer[kRegTextSize];
    long size;
    {
        OpenKey key;
        if (OpenForQuery(root, keyPath, &key) != ERROR_SUCCESS) return 0;
        size = QueryIntoBuffer(key.Get(), valueName, buffer, nullptr);
    }
    if (size != 4) return 0;
    std::memcpy(value, buffer, 4);
    return 1;
}

int WriteRegString(HKEY root, const char* keyPath, const char* valueName, const char* text) {
    return WriteText(root, keyPath, valueName, text, REG_SZ);
}

int WriteRegExpandString(HKEY root, const char* keyPath, const char* valueName, const char* text) {
    return WriteText(root, keyPath, valueName, text, REG_EXPAND_SZ);
}

int WriteRegDword(HKEY root, const char* keyPath, const char* valueName, DWORD value) {
    OpenKey key;
    if (!OpenForChange(root, keyPath, &key)) return 0;
    return RegSetValueExA(key.Get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

int WriteRegBinary(HKEY root, const char* keyPath, const char* valueName, const BYTE* data, DWORD size) {
    OpenKey key;
    if (!OpenForChange(root, keyPath, &key)) return 0;
    return RegSetValueExA(key.Get(), valueName, 0, REG_BINARY, data, size) == ERROR_SUCCESS;
}

int DeleteRegValue(HKEY root, const char* keyPath, const char* valueName, bool* refused) {
    OpenKey key;
    if (!OpenForChange(root, keyPath, &key)) {
        Tell(refused, true);
        return 0;
    }
    const LONG error = RegDeleteValueA(key.Get(), valueName);
    Tell(refused, error != ERROR_SUCCESS && !IsAbsence(error));
    return error == ERROR_SUCCESS;
}
