// What a test needs to know about the platform it runs on: the simulated one (host build) or a real one
// (windows build under Wine). The same test sources use it on both.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace test_platform {

// A key under HKEY_CURRENT_USER that belongs to the tests alone.
constexpr const char* kScratchKey = "Software\\Optivue Tests";

// This program's folder, with its closing backslash: on a real system where its file lies, on the
// simulated one "C:\\Optivue Tests\\".
std::string ProgramFolder();

// Removes the scratch key and everything below it. On the simulated platform the whole machine starts
// afresh (empty registry, English string table, empty journal).
void ResetScratch();

// Makes `lang` ("en" or "de") the string table's language. On a real system the language is the
// process's (chosen by the test runner, which names it in OPTIVUE_TEST_LANG); false when that is another.
bool UseLanguage(const std::string& lang);

// Raw registry access for setting up and checking stored values, bypassing the code under test: key paths
// below HKEY_CURRENT_USER, or below `root` where a function takes one.
void PutValue(const std::string& keyPath, const char* name, DWORD type, const std::vector<BYTE>& data);
void PutString(const std::string& keyPath, const char* name, const std::string& text);  // with its NUL
std::vector<BYTE> TextWithNul(const std::string& text);  // a text as a string value stores it
struct StoredValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
StoredValue GetValue(const std::string& keyPath, const char* name, HKEY root = HKEY_CURRENT_USER);
// A text value as the ANSI calls read it (the system converts what it keeps in UTF-16), up to its first NUL;
// "<type N>" for a value of another type than REG_SZ and REG_EXPAND_SZ, nothing for a missing one.
std::optional<std::string> StoredText(const std::string& keyPath, const char* name);
// The names of a key's values, in the order the registry lists them; none when the key is missing.
std::vector<std::string> ValueNames(const std::string& keyPath);
bool KeyExists(const std::string& keyPath, HKEY root = HKEY_CURRENT_USER);
void DeleteValue(const std::string& keyPath, const char* name);
void DeleteKeyTree(const std::string& keyPath);  // the key and everything below it, if it is there

// Makes HKEY_CURRENT_USER\Control Panel\Colors hold the display's colours as Windows keeps them: a real
// system has them there; the simulated one's fresh machine gets them.
void EnsureStoredColors();

// A font record as the string table's font rows describe one: height, weight and character set of
// "Tahoma", every other member 0.
LOGFONTA TahomaFont(LONG height, LONG weight, BYTE charSet);

// ---- The user's settings that the writers change outside the scratch key ----
// Keeps the given keys under HKEY_CURRENT_USER (each with everything below it, or its absence), the
// system's non-client and icon metrics and its live colours, and puts them all back when it goes. On the simulated
// platform there is nothing to keep: every test starts from a fresh machine.
class SavedUserSettings {
public:
    explicit SavedUserSettings(std::vector<std::string> keyPaths);
    ~SavedUserSettings();
    SavedUserSettings(const SavedUserSettings&) = delete;
    SavedUserSettings& operator=(const SavedUserSettings&) = delete;

private:
    struct SavedKey {
        std::string path;  // below HKEY_CURRENT_USER
        std::vector<std::string> valueNames;
        std::vector<StoredValue> values;
    };
    std::vector<std::string> keyPaths_;
    std::vector<SavedKey> saved_;  // every key there was below the kept paths, each after its parent
    std::vector<BYTE> nonClientMetrics_;
    std::vector<BYTE> iconMetrics_;
    std::vector<COLORREF> liveColors_;  // of every index, COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30)
};

// ---- The desktop ----
// Makes the work area `width` x `height` pixels at the screen's origin. On a real system the work area is
// the system's: false when it is another.
bool UseWorkArea(LONG width, LONG height);

// The desktop's icon view ("SysListView32" in the empty-titled "SHELLDLL_DefView" in the top-level
// "Progman" titled "Program Manager"), in the icon view type, with `extendedStyle` as its extended style
// and its icon spacing set to 64 x 64 so that a test sees what changes it. On the simulated platform the
// machine's desktop windows; on a real one the windows of the desktop fixture program (another process),
// started at the first call and closed when the test program ends. Null when there is none.
HWND DesktopIconView(DWORD extendedStyle);

// Whether the icon view's items lie on a grid of `cx` x `cy` pixels, one next to the other, as an
// arrangement with that spacing leaves them. On the simulated platform, whose view keeps no item
// positions, whether it carried out the arrangements left-aligned and then on the grid with that spacing.
// `why` tells what was seen.
bool IconsArrangedOnGrid(HWND iconView, int cx, int cy, std::string* why);

// The non-client and icon metrics as another process gets them from SPI_GETNONCLIENTMETRICS and
// SPI_GETICONMETRICS: on a real system the desktop fixture program started for it (a process started
// afresh: Wine keeps the parameters a process has read); on the simulated one the same machine.
bool MetricsSeenByAnotherProcess(NONCLIENTMETRICSA* nonClient, ICONMETRICSA* icon);
// The live colour of every index, COLOR_SCROLLBAR (0) to COLOR_MENUBAR (30), as a process started now gets
// them (this one keeps its own copy); empty when they could not be asked for.
std::vector<COLORREF> ColorsSeenByAnotherProcess();

// The least caption or menu height that the system lets go with `font`: Wine raises a caption, small
// caption and menu height it reports to the font's text height and 2 (the menu's also by its external
// leading, `withLeading`). 0 where the system keeps the height it was given, as the simulated one does.
int HeightFittingFont(const LOGFONTA& font, bool withLeading);

}  // namespace test_platform
