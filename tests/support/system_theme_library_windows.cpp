#include "tests/support/system_theme_library.h"

#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"

#include <windows.h>

namespace test_platform {

namespace {

const char* const kOverridesKey = test_keys::kChgthemeDllOverrides;

std::string LibraryFile() { return SystemFolder() + "\\uxtheme.dll"; }
std::string KeptFile() { return SystemFolder() + "\\uxtheme.dll.kept-by-optivue-tests"; }

bool Exists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

std::string SystemFolder() {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : "";
}

SystemThemeLibrary::SystemThemeLibrary(const char* standIn) {
    if (SystemFolder().empty()) return;
    if (!standIn) {
        PutString(kOverridesKey, "uxtheme", "");
        inPlace_ = true;
        return;
    }
    if (!Exists(KeptFile()) && !CopyFileA(LibraryFile().c_str(), KeptFile().c_str(), TRUE)) return;
    replaced_ = true;
    if (!CopyFileA(standIn, LibraryFile().c_str(), FALSE)) return;
    PutString(kOverridesKey, "uxtheme", "native");
    inPlace_ = true;
}

SystemThemeLibrary::~SystemThemeLibrary() {
    DeleteValue(kOverridesKey, "uxtheme");
    if (!replaced_) return;
    // A program that has just ended may still hold the file for a moment.
    bool restored = false;
    for (int attempt = 0; attempt < 100 && !(restored = CopyFileA(KeptFile().c_str(), LibraryFile().c_str(), FALSE));
         ++attempt)
        Sleep(100);
    if (restored) DeleteFileA(KeptFile().c_str());
}

}  // namespace test_platform
