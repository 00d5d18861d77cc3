// chgtheme: switches the active visual style to the size variant named by its one argument
// ("NormalSize", "LargeFonts" or "ExtraLargeFonts"), keeping the style file and its colour variant, and
// the user's colours: those the switch changes are put back.
//
// The style is switched live with the theme-file functions of the system's theme library. Where that is
// not possible (the library lacks them, or the apply fails), the size is recorded as the style's size for
// the next logon, and the program is asked for a follow-up run then: the flag "Changed" = 1 under its key
// and its shortcut "Optivue.lnk" in the user's Startup folder. After a live switch nothing is asked for.
//
// Each outcome has its exit code (ExitCode below, listed in README.md too). Refusals change nothing.
// Messages go to the standard error output when there is one; a refusal or a failure goes into a message
// box otherwise.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include "res/product.h"
#include "settings/preserved_colors.h"
#include "settings/registry.h"
#include "settings/registry_key.h"

namespace {

enum ExitCode : int {
    kSwitchedLive = 0,
    kRecordedForNextLogon = 1,  // the follow-up run is asked for
    // Refusals:
    kBadArgument = 2,     // none, more than one, or not one of the three size variants
    kNoActiveStyle = 3,
    kSizeNotOffered = 4,  // by the active style
    kSizesUnknown = 5,    // the theme library cannot list the style's sizes
    // Neither switched live nor recorded for the next logon, or recorded without the follow-up run.
    kNotRecorded = 6,
};

const wchar_t* const kSizeNames[] = {L"NormalSize", L"LargeFonts", L"ExtraLargeFonts"};

const wchar_t kThemeManagerKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
const wchar_t kInstalledProgram[] = L"" OPTIVUE_INSTALLATION_FOLDER "\\optivue.exe";
const wchar_t kInstallationFolder[] = L"" OPTIVUE_INSTALLATION_FOLDER;

// The theme-file functions, which the theme library exports by ordinal only, as on Windows XP. The library
// is loaded at run time: Windows 2000 has none, and a static import would keep the tool from starting.
typedef HANDLE ThemeFile;
struct ThemeNames {
    WCHAR name[MAX_PATH + 1];
    WCHAR displayName[MAX_PATH + 1];
    WCHAR tooltip[MAX_PATH + 1];
};
typedef HRESULT(WINAPI* OpenThemeFileFn)(LPCWSTR file, LPCWSTR color, LPCWSTR size, ThemeFile* theme, DWORD unused);
typedef HRESULT(WINAPI* CloseThemeFileFn)(ThemeFile theme);
typedef HRESULT(WINAPI* ApplyThemeFn)(ThemeFile theme, char* options, HWND window);
typedef HRESULT(WINAPI* EnumThemeSizesFn)(LPWSTR file, LPWSTR color, DWORD index, ThemeNames* names);

constexpr WORD kOpenThemeFileOrdinal = 2;
constexpr WORD kCloseThemeFileOrdinal = 3;
constexpr WORD kApplyThemeOrdinal = 4;
constexpr WORD kEnumThemeSizesOrdinal = 10;
// Ordinal 65 is never looked up: Windows XP's uxtheme has another function there than Wine's.

// No style offers more sizes than this; the enumeration stops there whatever the library says.
constexpr DWORD kMostSizes = 64;

struct ThemeLibrary {
    HMODULE module = nullptr;
    OpenThemeFileFn openThemeFile = nullptr;
    CloseThemeFileFn closeThemeFile = nullptr;
    ApplyThemeFn applyTheme = nullptr;
    EnumThemeSizesFn enumThemeSizes = nullptr;

    ThemeLibrary() {
        // Not from the current directory: where the system has no theme library, a file of that name
        // there would run in the user's name. SetDllDirectoryW arrived with Windows XP SP1.
        typedef BOOL(WINAPI * SetDllDirectoryFn)(LPCWSTR);
        const FARPROC setDllDirectory = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDllDirectoryW");
        if (setDllDirectory) reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void (*)()>(setDllDirectory))(L"");
        module = LoadLibraryW(L"uxtheme.dll");
        if (!module) return;
        openThemeFile = Ordinal<OpenThemeFileFn>(kOpenThemeFileOrdinal);
        closeThemeFile = Ordinal<CloseThemeFileFn>(kCloseThemeFileOrdinal);
        applyTheme = Ordinal<ApplyThemeFn>(kApplyThemeOrdinal);
        enumThemeSizes = Ordinal<EnumThemeSizesFn>(kEnumThemeSizesOrdinal);
    }
    ~ThemeLibrary() {
        if (module) FreeLibrary(module);
    }
    ThemeLibrary(const ThemeLibrary&) = delete;
    ThemeLibrary& operator=(const ThemeLibrary&) = delete;

    bool CanSwitchLive() const { return openThemeFile && closeThemeFile && applyTheme; }

private:
    // The export's address as the function type it has; null when the library does not export it.
    template <typename Function>
    Function Ordinal(WORD ordinal) const {
        const FARPROC address = GetProcAddress(module, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal)));
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
    }
};

// ---- Messages ----
// A refusal is shown in a message box when there is no standard error output; a note is not.
enum class Shown { kAlways, kOnlyOnTheErrorOutput };

void Say(const wchar_t* text, Shown shown = Shown::kAlways) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error && error != INVALID_HANDLE_VALUE && GetFileType(error) != FILE_TYPE_UNKNOWN) {
        char bytes[1024];
        const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes - 2, nullptr, nullptr);
        if (length > 0) {
            bytes[length - 1] = '\r';
            bytes[length] = '\n';
            DWORD written = 0;
            WriteFile(error, bytes, static_cast<DWORD>(length + 1), &written, nullptr);
        }
        return;
    }
    if (shown == Shown::kAlways) MessageBoxW(nullptr, text, L"chgtheme", MB_OK | MB_ICONINFORMATION);
}

// Says a text about the size variant `size`: `before`, the size's name and `after`, cut to what fits.
void SayAboutSize(const wchar_t* before, const wchar_t* size, const wchar_t* after, Shown shown = Shown::kAlways) {
    wchar_t message[2 * MAX_PATH + 160];
    const wchar_t* const parts[] = {before, size, after};
    size_t used = 0;
    for (const wchar_t* part : parts)
        for (; *part && used + 1 < sizeof message / sizeof *message; ++part) message[used++] = *part;
    message[used] = L'\0';
    Say(message, shown);
}

// ---- The active style ----
struct ActiveStyle {
    WCHAR file[MAX_PATH];
    WCHAR color[MAX_PATH];
};

// A string value of the theme manager's key, at most `capacity` characters with its NUL; a REG_EXPAND_SZ
// value comes back expanded.
bool ReadThemeManagerText(HKEY key, const wchar_t* name, WCHAR* text, DWORD capacity) {
    WCHAR raw[MAX_PATH];
    DWORD type = REG_NONE;
    DWORD size = sizeof raw - sizeof(WCHAR);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(raw), &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    raw[size / sizeof(WCHAR)] = L'\0';
    if (type == REG_EXPAND_SZ) {
        const DWORD needed = ExpandEnvironmentStringsW(raw, text, capacity);
        return needed > 0 && needed <= capacity && text[0] != L'\0';
    }
    if (lstrlenW(raw) >= static_cast<int>(capacity)) return false;
    lstrcpyW(text, raw);
    return text[0] != L'\0';
}

// The style the theme manager has active: "ThemeActive" is "1" and "DllName" names its file. A missing
// colour name stands for the style's default colour.
bool ReadActiveStyle(ActiveStyle* style) {
    OpenKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kThemeManagerKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS)
        return false;
    WCHAR active[8];
    const bool found = ReadThemeManagerText(key.Get(), L"ThemeActive", active, 8) && lstrcmpW(active, L"1") == 0 &&
                       ReadThemeManagerText(key.Get(), L"DllName", style->file, MAX_PATH);
    if (found && !ReadThemeManagerText(key.Get(), L"ColorName", style->color, MAX_PATH)) style->color[0] = L'\0';
    return found;
}

enum class Offer { kOffered, kNotOffered, kUnknown };

Offer StyleOffersSize(const ThemeLibrary& library, ActiveStyle* style, const wchar_t* size) {
    if (!library.enumThemeSizes) return Offer::kUnknown;
    for (DWORD index = 0; index < kMostSizes; ++index) {
        // Whole names records: some versions of the library fill only the name at the record's start.
        ThemeNames names = {};
        if (FAILED(library.enumThemeSizes(style->file, style->color[0] ? style->color : nullptr, index, &names))) break;
        names.name[MAX_PATH] = L'\0';
        if (lstrcmpiW(names.name, size) == 0) return Offer::kOffered;
    }
    return Offer::kNotOffered;
}

bool SwitchLive(const ThemeLibrary& library, const ActiveStyle& style, const wchar_t* size) {
    if (!library.CanSwitchLive()) return false;
    ThemeFile theme = nullptr;
    if (FAILED(library.openThemeFile(style.file, style.color[0] ? style.color : nullptr, size, &theme, 0)) || !theme)
        return false;
    // The library takes a writable, non-empty options buffer; with it the screen changes without flicker.
    char options[2] = {'\0', '\0'};
    const HRESULT applied = library.applyTheme(theme, options, nullptr);
    library.closeThemeFile(theme);
    return SUCCEEDED(applied);
}

// ---- The user's colours ----
// The tool changes the style's size and nothing else: whatever colours the switch brings, the live colours
// the program keeps and the values under "Control Panel\Colors" end as the user had them. The program
// watches the colours too, but it may have stopped watching, or have been ended, before a slow switch
// lands.
constexpr DWORD kMostStoredColors = 64;       // Windows keeps 31
constexpr DWORD kStoredNameCapacity = 64;     // characters, the NUL included
constexpr DWORD kStoredDataCapacity = 64;     // bytes
constexpr DWORD kLastStoredColorIndex = 1000;  // the enumeration's bound, whatever the key holds

struct StoredColor {
    char name[kStoredNameCapacity];
    DWORD type;
    BYTE data[kStoredDataCapacity];
    DWORD size;
};

// The live colours as the program keeps them; the stored values each up to its own bounds, which differ from
// the program's: the tool writes back only what changed, and looks again while the switch settles.
struct UserColors {
    LiveColorSnapshot live;
    StoredColor stored[kMostStoredColors];  // a value that does not fit an entry is left alone
    DWORD storedCount;
};

void SaveUserColors(UserColors* saved) {
    SaveLiveColors(&saved->live);
    saved->storedCount = 0;
    OpenKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoredColorsKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) return;
    for (DWORD index = 0; saved->storedCount < kMostStoredColors && index <= kLastStoredColorIndex; ++index) {
        StoredColor& value = saved->stored[saved->storedCount];
        DWORD nameSize = kStoredNameCapacity;
        value.size = kStoredDataCapacity;
        const LONG found =
            RegEnumValueA(key.Get(), index, value.name, &nameSize, nullptr, &value.type, value.data, &value.size);
        if (found == ERROR_NO_MORE_ITEMS) break;
        if (found == ERROR_SUCCESS) ++saved->storedCount;
    }
}

bool StoredColorIsUnchanged(HKEY key, const StoredColor& saved) {
    BYTE data[kStoredDataCapacity];
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    return RegQueryValueExA(key, saved.name, nullptr, &type, data, &size) == ERROR_SUCCESS && type == saved.type &&
           size == saved.size && std::memcmp(data, saved.data, size) == 0;
}

// Sets the live colours again when any of them changed, and writes back each stored value that changed or
// went.
void RestoreUserColors(const UserColors& saved) {
    RestoreChangedLiveColors(saved.live);
    OpenKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoredColorsKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < saved.storedCount; ++i) {
        const StoredColor& value = saved.stored[i];
        if (!StoredColorIsUnchanged(key.Get(), value))
            RegSetValueExA(key.Get(), value.name, 0, value.type, value.data, value.size);
    }
}

// A switch may still be settling when the apply returns: the system hands the style's change to every
// program, and a colour may follow. The colours are looked at again for a while; the tool has no window,
// so its waits hold up nobody's broadcast.
constexpr int kSettleChecks = 10;
constexpr DWORD kSettleCheckMs = 100;

void KeepUserColors(const UserColors& saved) {
    RestoreUserColors(saved);
    for (int check = 0; check < kSettleChecks; ++check) {
        Sleep(kSettleCheckMs);
        RestoreUserColors(saved);
    }
}

// ---- The follow-up run at the next logon ----
bool RecordSizeForNextLogon(const wchar_t* size) {
    OpenKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kThemeManagerKey, 0, KEY_SET_VALUE, key.Receive()) != ERROR_SUCCESS)
        return false;
    const DWORD bytes = static_cast<DWORD>((lstrlenW(size) + 1) * sizeof(WCHAR));
    return RegSetValueExW(key.Get(), L"SizeName", 0, REG_SZ, reinterpret_cast<const BYTE*>(size), bytes) ==
           ERROR_SUCCESS;
}

// The shortcut "Optivue.lnk" to the installed program, directly in the user's Startup folder.
bool PlaceStartupShortcut() {
    WCHAR path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path))) return false;
    WCHAR shortcutName[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, OPTIVUE_STARTUP_SHORTCUT, -1, shortcutName, MAX_PATH);
    const int folderLength = lstrlenW(path);
    if (folderLength + 1 + lstrlenW(shortcutName) >= MAX_PATH) return false;
    path[folderLength] = L'\\';
    lstrcpyW(path + folderLength + 1, shortcutName);

    const bool comStarted = SUCCEEDED(CoInitialize(nullptr));
    bool saved = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->SetPath(kInstalledProgram)) && SUCCEEDED(link->SetWorkingDirectory(kInstallationFolder)) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            saved = SUCCEEDED(file->Save(path, TRUE));
            file->Release();
        }
        link->Release();
    }
    if (comStarted) CoUninitialize();
    return saved;
}

// The one argument, when it is one of the three size variants.
const wchar_t* SizeArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return nullptr;
    const wchar_t* size = nullptr;
    if (count == 2)
        for (const wchar_t* name : kSizeNames)
            if (lstrcmpW(arguments[1], name) == 0) size = name;
    LocalFree(arguments);
    return size;
}

int Run() {
    const wchar_t* size = SizeArgument();
    if (!size) {
        Say(L"chgtheme: give one size variant: NormalSize, LargeFonts or ExtraLargeFonts.");
        return kBadArgument;
    }
    ActiveStyle style;
    if (!ReadActiveStyle(&style)) {
        Say(L"chgtheme: no visual style is active, so there is no size to switch.");
        return kNoActiveStyle;
    }

    const ThemeLibrary library;
    switch (StyleOffersSize(library, &style, size)) {
        case Offer::kOffered: break;
        case Offer::kNotOffered:
            SayAboutSize(L"chgtheme: the active visual style does not offer the size ", size, L"; nothing was changed.");
            return kSizeNotOffered;
        case Offer::kUnknown:
            Say(L"chgtheme: this system's theme library cannot list a visual style's sizes; nothing was changed.");
            return kSizesUnknown;
    }

    // Large (the live colours and 64 stored values): kept off the stack.
    static UserColors userColors;
    SaveUserColors(&userColors);
    const bool switched = SwitchLive(library, style, size);
    KeepUserColors(userColors);
    if (switched) return kSwitchedLive;

    if (!RecordSizeForNextLogon(size)) {
        SayAboutSize(L"chgtheme: the size ", size, L" could neither be switched now nor recorded for the next logon.");
        return kNotRecorded;
    }
    if (!WriteRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 1) || !PlaceStartupShortcut()) {
        SayAboutSize(L"chgtheme: the size ", size,
                     L" takes effect at the next logon, but Optivue's follow-up run could not be asked for.");
        return kNotRecorded;
    }
    SayAboutSize(L"chgtheme: the size ", size, L" takes effect at the next logon; Optivue finishes the change then.",
                 Shown::kOnlyOnTheErrorOutput);
    return kRecordedForNextLogon;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Run(); }
