// chgtheme: switches the active visual style to the size variant named by its one argument
// ("NormalSize", "LargeFonts" or "ExtraLargeFonts"), keeping the style file and its colour variant, and
// the user's colours: those the switch changes are put back.
//
// The style is switched live with the theme-file functions of the system's theme library. Where that is
// not possible (the library lacks them, or the apply fails), the size is recorded as the style's size for
// the next logon, and the program is asked for a follow-up run then: its shortcut "Optivue.lnk" in the
// user's Startup folder and, once that is in place, the flag "Changed" = 1 under its key. After a live
// switch nothing is asked for.
//
// Each outcome has its exit code (ExitCode below, listed in README.md too). Refusals change nothing.
// Messages go to the standard error output when there is one, short and in English, for administrators at
// a console; otherwise a refusal or a failure goes into a message box titled "Optivue", written for the
// user in the user's language from the tool's own string table (messages.h), which names the sizes as the
// main dialog's size buttons do.
//
// The theme-file functions are private exports of Windows XP's theme library, known on NT 5.1 and 5.2
// only: on any other system the tool refuses.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include "app/library_search.h"
#include "app/main_dialog_layout.h"
#include "res/product.h"
#include "settings/preserved_colors.h"
#include "settings/registry.h"
#include "settings/registry_key.h"
#include "tools/chgtheme/messages.h"

namespace {

// The program reads the first two as the size changed (res/product.h), every other as not.
enum ExitCode : int {
    kSwitchedLive = OPTIVUE_STYLE_TOOL_SWITCHED,
    kRecordedForNextLogon = OPTIVUE_STYLE_TOOL_RECORDED,  // the follow-up run is asked for
    // Refusals:
    kBadArgument = 2,  // none, more than one, or not one of the three size variants
    kNoActiveStyle = 3,
    kSizeNotOffered = 4,  // by the active style
    kSizesUnknown = 5,    // the theme library cannot list the style's sizes
    // Neither switched live nor recorded for the next logon, or recorded without the follow-up run.
    kNotRecorded = 6,
    kUnsupportedSystem = 7,  // a refusal: not NT 5.1 or 5.2
};

// The size variants, in the order of the main dialog's size buttons (kSizeButtons).
const wchar_t* const kSizeNames[] = {L"NormalSize", L"LargeFonts", L"ExtraLargeFonts"};
constexpr int kSizeCount = 3;

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
        // By its full path in the system folder: a bare name would be searched for in the tool's own folder
        // first, and a file of that name there (or in the current directory) would run in the user's name.
        // The library's own imports are searched for from the system folder too.
        WCHAR path[MAX_PATH];
        const UINT folderLength = GetSystemDirectoryW(path, MAX_PATH);
        const wchar_t kFileName[] = L"\\uxtheme.dll";
        if (folderLength == 0 || folderLength + sizeof kFileName / sizeof *kFileName > MAX_PATH) return;
        lstrcpyW(path + folderLength, kFileName);
        module = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
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
// The longest message, its texts filled in, in characters with the NUL.
constexpr int kMessageCapacity = 1024;
// A style's sizes named in a message; the rest are left out.
constexpr int kMostNamedSizes = 8;
// A size's name in quotation marks.
constexpr int kQuotedNameCapacity = MAX_PATH + 8;

// `pattern` with %1 to %9 replaced by `texts` (a missing one by nothing), cut to what fits `message`.
void Fill(const wchar_t* pattern, const wchar_t* const* texts, int textCount, wchar_t* message, int capacity) {
    int used = 0;
    for (; *pattern && used + 1 < capacity; ++pattern) {
        if (pattern[0] == L'%' && pattern[1] >= L'1' && pattern[1] <= L'9') {
            const int index = pattern[1] - L'1';
            if (index < textCount && texts[index])
                for (const wchar_t* text = texts[index]; *text && used + 1 < capacity; ++text) message[used++] = *text;
            ++pattern;
            continue;
        }
        message[used++] = *pattern;
    }
    message[used] = L'\0';
}

// A row of the tool's string table in the user's language, or `fallback` where it is missing.
void LoadRow(UINT row, wchar_t* text, int capacity, const wchar_t* fallback) {
    if (LoadStringW(GetModuleHandleW(nullptr), row, text, capacity) > 0) return;
    lstrcpynW(text, fallback, capacity);
}

// The size variant `size` as the user knows it: the text of the main dialog's button for it.
void ButtonText(int size, wchar_t* text, int capacity) {
    text[0] = L'\0';
    for (const DialogText& control : kDialogTexts)
        if (control.control == kSizeButtons[size] && !MultiByteToWideChar(CP_ACP, 0, control.text, -1, text, capacity))
            text[0] = L'\0';
}

// `name` in the language's quotation marks, its spaces no-break spaces: the message box wraps its text at
// spaces, and a size's name ("Large Size") reads as one word only on one line.
void Quoted(const wchar_t* name, wchar_t* text, int capacity) {
    wchar_t pattern[16];
    LoadRow(IDS_TOOL_QUOTED_SIZE, pattern, 16, L"\"%1\"");
    wchar_t unbroken[kQuotedNameCapacity];
    int length = 0;
    for (; name[length] && length + 1 < kQuotedNameCapacity; ++length)
        unbroken[length] = name[length] == L' ' ? L'\u00a0' : name[length];
    unbroken[length] = L'\0';
    const wchar_t* texts[] = {unbroken};
    Fill(pattern, texts, 1, text, capacity);
}

void QuotedSizeName(int size, wchar_t* text, int capacity) {
    wchar_t name[64];
    ButtonText(size, name, 64);
    Quoted(name, text, capacity);
}

// The sizes a style offers as the user knows them: a size of the main dialog by its button's text, any
// other by the style's display name for it or, without one, its name. At most kMostNamedSizes are kept.
struct OfferedSizes {
    WCHAR names[kMostNamedSizes][MAX_PATH + 1];
    int count;
};

// "a", "b" and "c", as the language lists, each in quotation marks.
void OfferedSizeList(const OfferedSizes& offered, wchar_t* list, int capacity) {
    wchar_t separator[16], lastSeparator[16];
    LoadRow(IDS_TOOL_LIST_SEPARATOR, separator, 16, L", ");
    LoadRow(IDS_TOOL_LIST_LAST_SEPARATOR, lastSeparator, 16, L" and ");
    int used = 0;
    list[0] = L'\0';
    for (int i = 0; i < offered.count; ++i) {
        wchar_t name[kQuotedNameCapacity];
        Quoted(offered.names[i], name, kQuotedNameCapacity);
        const wchar_t* const texts[] = {i == 0 ? L"" : i + 1 == offered.count ? lastSeparator : separator, name};
        Fill(L"%1%2", texts, 2, list + used, capacity - used);
        used += lstrlenW(list + used);
    }
}

// What a refusal or a failure says: `technical`, the line for the standard error output with %1 for the
// size variant's own name; `row`, the user's message in the string table; the size asked for (-1: none);
// the sizes the style offers, where the message names them.
struct Message {
    const wchar_t* technical;
    UINT row;
    int size;
    const OfferedSizes* offered;
};

bool HasErrorOutput() {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    return error && error != INVALID_HANDLE_VALUE && GetFileType(error) != FILE_TYPE_UNKNOWN;
}

void WriteErrorLine(const wchar_t* technical, int size) {
    wchar_t text[kMessageCapacity];
    const wchar_t* const name = size >= 0 ? kSizeNames[size] : L"";
    Fill(technical, &name, 1, text, kMessageCapacity);
    char bytes[1024];
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes - 2, nullptr, nullptr);
    if (length <= 0) return;
    bytes[length - 1] = '\r';
    bytes[length] = '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes, static_cast<DWORD>(length + 1), &written, nullptr);
}

// The message for the user: the row with the size asked for as %1 and the sizes the style offers as %2,
// or, where no size was asked for, the three sizes as %1 to %3.
void UserMessage(const Message& message, wchar_t* text, int capacity) {
    wchar_t pattern[kMessageCapacity];
    LoadRow(message.row, pattern, kMessageCapacity, message.technical);
    wchar_t sizes[kSizeCount][kQuotedNameCapacity];
    wchar_t list[kMessageCapacity] = L"";
    const wchar_t* texts[kSizeCount] = {};
    for (int size = 0; size < kSizeCount; ++size) {
        if (message.size >= 0 && size != message.size) continue;
        const int slot = message.size >= 0 ? 0 : size;
        QuotedSizeName(size, sizes[slot], kQuotedNameCapacity);
        texts[slot] = sizes[slot];
    }
    if (message.offered) {
        OfferedSizeList(*message.offered, list, kMessageCapacity);
        texts[1] = list;
    }
    Fill(pattern, texts, kSizeCount, text, capacity);
}

void Tell(const Message& message) {
    if (HasErrorOutput()) return WriteErrorLine(message.technical, message.size);
    wchar_t text[kMessageCapacity];
    UserMessage(message, text, kMessageCapacity);
    MessageBoxW(nullptr, text, L"" OPTIVUE_PRODUCT_NAME, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

// A note for the console alone: nobody else needs to read it.
void Note(const wchar_t* technical, int size) {
    if (HasErrorOutput()) WriteErrorLine(technical, size);
}

// ---- The system ----
// Windows XP (NT 5.1) and its server and 64-bit editions (NT 5.2): the systems whose theme library has the
// theme-file functions at the ordinals above.
bool ThemeLibraryIsKnown() {
    OSVERSIONINFOW version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExW(&version)) return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5 &&
           (version.dwMinorVersion == 1 || version.dwMinorVersion == 2);
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

// Whether the style offers `size`; when it does not, `offered` names the sizes it does offer. A style that
// lists no size at all is one whose sizes are unknown.
Offer StyleOffersSize(const ThemeLibrary& library, ActiveStyle* style, int size, OfferedSizes* offered) {
    if (!library.enumThemeSizes) return Offer::kUnknown;
    offered->count = 0;
    DWORD index = 0;
    for (; index < kMostSizes; ++index) {
        // Whole names records: some versions of the library fill only the name at the record's start.
        ThemeNames names = {};
        if (FAILED(library.enumThemeSizes(style->file, style->color[0] ? style->color : nullptr, index, &names))) break;
        names.name[MAX_PATH] = L'\0';
        names.displayName[MAX_PATH] = L'\0';
        if (lstrcmpiW(names.name, kSizeNames[size]) == 0) return Offer::kOffered;
        if (offered->count == kMostNamedSizes) continue;
        WCHAR* const name = offered->names[offered->count++];
        lstrcpyW(name, names.displayName[0] ? names.displayName : names.name);
        for (int known = 0; known < kSizeCount; ++known)
            if (lstrcmpiW(names.name, kSizeNames[known]) == 0) ButtonText(known, name, MAX_PATH + 1);
    }
    return index == 0 ? Offer::kUnknown : Offer::kNotOffered;
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
constexpr DWORD kMostStoredColors = 64;        // Windows keeps 31
constexpr DWORD kStoredNameCapacity = 64;      // characters, the NUL included
constexpr DWORD kStoredDataCapacity = 64;      // bytes
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

// The path of the shortcut "Optivue.lnk" directly in the user's Startup folder. False when the folder is
// not there: a folder that does not exist may come back as S_FALSE with an empty path, and a path made of
// the bare name would name a file in the current drive's root.
bool StartupShortcutPath(WCHAR (&path)[MAX_PATH]) {
    if (SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK || path[0] == L'\0')
        return false;
    WCHAR shortcutName[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, OPTIVUE_STARTUP_SHORTCUT, -1, shortcutName, MAX_PATH)) return false;
    const int folderLength = lstrlenW(path);
    if (folderLength + 1 + lstrlenW(shortcutName) >= MAX_PATH) return false;
    path[folderLength] = L'\\';
    lstrcpyW(path + folderLength + 1, shortcutName);
    return true;
}

// The shortcut to the installed program at `path`, replacing one that is there.
bool PlaceStartupShortcut(const WCHAR* path) {
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

// Asks for the follow-up run: the shortcut first, then the flag. Either alone is worse than neither: the
// flag alone turns the program's next start, whenever the user makes it, into a silent follow-up run in
// place of its window; the shortcut alone opens the main window at every logon, as only a follow-up run
// removes it. So the flag is set only once the shortcut is in place, and a shortcut whose flag cannot be
// set is removed again. A failed request leaves the flag as it was.
bool AskForFollowUpRun() {
    WCHAR shortcut[MAX_PATH];
    if (!StartupShortcutPath(shortcut) || !PlaceStartupShortcut(shortcut)) return false;
    if (WriteRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 1)) return true;
    DeleteFileW(shortcut);
    return false;
}

// The one argument, when it is one of the three size variants: its index in kSizeNames; -1 otherwise.
int SizeArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return -1;
    int size = -1;
    if (count == 2)
        for (int i = 0; i < kSizeCount; ++i)
            if (lstrcmpW(arguments[1], kSizeNames[i]) == 0) size = i;
    LocalFree(arguments);
    return size;
}

int Run() {
    const int sizeIndex = SizeArgument();
    if (sizeIndex < 0) {
        Tell({L"chgtheme: give one size variant: NormalSize, LargeFonts or ExtraLargeFonts.", IDS_TOOL_USAGE, -1,
              nullptr});
        return kBadArgument;
    }
    const wchar_t* const size = kSizeNames[sizeIndex];
    if (!ThemeLibraryIsKnown()) {
        Tell(
            {L"chgtheme: this system is not Windows NT 5.1 or 5.2, whose theme library the tool knows; nothing was "
             L"changed.",
             IDS_TOOL_UNSUPPORTED_SYSTEM, sizeIndex, nullptr});
        return kUnsupportedSystem;
    }
    ActiveStyle style;
    if (!ReadActiveStyle(&style)) {
        Tell({L"chgtheme: no visual style is active, so there is no size to switch.", IDS_TOOL_NO_ACTIVE_STYLE,
              sizeIndex, nullptr});
        return kNoActiveStyle;
    }

    const ThemeLibrary library;
    OfferedSizes offered;
    switch (StyleOffersSize(library, &style, sizeIndex, &offered)) {
        case Offer::kOffered:
            break;
        case Offer::kNotOffered:
            Tell({L"chgtheme: the active visual style does not offer the size %1; nothing was changed.",
                  IDS_TOOL_SIZE_NOT_OFFERED, sizeIndex, &offered});
            return kSizeNotOffered;
        case Offer::kUnknown:
            Tell({L"chgtheme: this system's theme library cannot list a visual style's sizes; nothing was changed.",
                  IDS_TOOL_SIZES_UNKNOWN, sizeIndex, nullptr});
            return kSizesUnknown;
    }

    // Large (the live colours and 64 stored values): kept off the stack.
    static UserColors userColors;
    SaveUserColors(&userColors);
    const bool switched = SwitchLive(library, style, size);
    KeepUserColors(userColors);
    if (switched) return kSwitchedLive;

    if (!RecordSizeForNextLogon(size)) {
        Tell({L"chgtheme: the size %1 could neither be switched now nor recorded for the next logon.",
              IDS_TOOL_NOT_RECORDED, sizeIndex, nullptr});
        return kNotRecorded;
    }
    if (!AskForFollowUpRun()) {
        Tell(
            {L"chgtheme: the size %1 takes effect at the next logon, but Optivue's follow-up run could not be asked "
             L"for.",
             IDS_TOOL_FOLLOW_UP_NOT_ASKED, sizeIndex, nullptr});
        return kNotRecorded;
    }
    Note(L"chgtheme: the size %1 takes effect at the next logon; Optivue finishes the change then.", sizeIndex);
    return kRecordedForNextLogon;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LeaveCurrentFolderOutOfLibrarySearch();
    return Run();
}
