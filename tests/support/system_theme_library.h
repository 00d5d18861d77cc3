// The system's theme library as chgtheme.exe loads it, under Wine: a stand-in in its place for
// chgtheme.exe alone. chgtheme loads the library from the system folder by its full path, so a stand-in
// goes where Wine's own lies, in the test prefix's system folder (C:\windows\system32\uxtheme.dll), with the
// DLL override "native" for chgtheme.exe (HKCU\Software\Wine\AppDefaults\chgtheme.exe\DllOverrides): every
// other program keeps Wine's builtin library. Windows build only.
#pragma once

#include <string>

namespace test_platform {

// The system folder, without a closing backslash.
std::string SystemFolder();

class SystemThemeLibrary {
public:
    // `standIn`: the stand-in library's file, which takes the place of Wine's own file; null: chgtheme.exe
    // gets no theme library at all (the override "" disables it). Wine's own file is kept beside it (left by
    // an earlier run that was killed, it is taken as Wine's own) and put back, and the override removed,
    // when this goes.
    explicit SystemThemeLibrary(const char* standIn);
    ~SystemThemeLibrary();
    SystemThemeLibrary(const SystemThemeLibrary&) = delete;
    SystemThemeLibrary& operator=(const SystemThemeLibrary&) = delete;

    // False when the stand-in could not be put in place.
    bool InPlace() const { return inPlace_; }

private:
    bool inPlace_ = false;
    bool replaced_ = false;
};

}  // namespace test_platform
