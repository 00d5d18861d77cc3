// chgtheme.exe under Wine, started as a separate process as the program starts it. Wine's own style
// offers "NormalSize" only; the test style sizes.msstyles, built beside this program, offers all three
// sizes. Checked: the refusals with their exit codes and messages, on the standard error output and, where
// there is none, in a message box in the run's language, which change nothing; the refusal on systems other
// than NT 5.1 and 5.2; the live switch to each size, seen by a process started afterwards; the theme
// library taken from the system folder only; and, under stand-ins for the theme library that cannot switch
// live, the size recorded for the next logon with the follow-up run asked for, or, where its shortcut or its
// flag cannot be written, neither of them left behind. Everything the tool changes is put back afterwards.
//
//   chgtheme_tests.exe [GoogleTest options]
//   chgtheme_tests.exe --report-theme     (the process the tests start to see the theme afresh)
#include "res/product.h"
#include "tests/fixtures/theme_library_stand_in.h"
#include "tests/support/registry_keys.h"
#include "tests/support/system_theme_library.h"
#include "tests/support/test_platform.h"
#include "tests/wine/style_tool_messages.h"
#include "tests/wine/style_tool_start.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using test_platform::GetValue;
using test_platform::StoredText;
using test_platform::StoredValue;

const char* const kThemeManagerKey = test_keys::kThemeManager;
const char* const kToolSettingsKey = test_keys::kChgthemeSettings;
const char* const kOverridesKey = test_keys::kChgthemeDllOverrides;
const char kReportKey[] = "Software\\Optivue Tests\\Theme Report";
const char kReportArgument[] = "--report-theme";
const wchar_t kInstalledProgram[] = L"C:\\Program Files\\Korvani\\Brontype\\optivue.exe";
constexpr DWORD kRunTimeoutMs = 180000;
// The theme library the tool gets: Wine's own, in the system folder.
const char kSystemLibrary[] = "(the system's)";

// ---- Files beside this program ----
using test_platform::ProgramFolder;

std::string ToolPath() { return ProgramFolder() + "..\\chgtheme.exe"; }
std::string TestStylePath() { return ProgramFolder() + "sizes.msstyles"; }

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow(text.size() * 2 + 1, '\0');
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(length > 0 ? length - 1 : 0);
    return narrow;
}

// ---- Running a program ----
struct ProgramRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string message;  // what it wrote to its standard error output
};

// Starts `commandLine` and waits for it to end; its standard error output is collected through a pipe.
ProgramRun RunProgram(std::string commandLine) {
    ProgramRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process;
    const bool started =
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) != 0;
    CloseHandle(writeEnd);
    if (started) {
        // The pipe ends when the program does; its few lines never fill the pipe.
        char buffer[512];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) run.message.append(buffer, got);
        if (WaitForSingleObject(process.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 124);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return run;
}

ProgramRun RunTool(const std::string& tool, const std::string& arguments) {
    return RunProgram("\"" + tool + "\"" + (arguments.empty() ? "" : " " + arguments));
}

// ---- The tool without a standard error output, as the program starts it ----
struct BoxedRun {
    DWORD exitCode = 0xFFFFFFFF;
    bool boxShown = false;
    std::wstring caption, text;  // of the message box
};

struct ProcessWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchDialogOfProcess(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessWindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner != search->processId || !IsWindowVisible(window) || std::strcmp(className, "#32770") != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible dialog window (a message box) of the process, or null.
HWND DialogOf(DWORD processId) {
    ProcessWindowSearch search = {processId, nullptr};
    EnumWindows(MatchDialogOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    WCHAR text[4096] = L"";
    GetWindowTextW(window, text, sizeof text / sizeof *text);
    return text;
}

// Starts the tool with no standard handles at all and waits for its end; a message box it shows on the way
// is read and answered with OK.
BoxedRun RunToolWithoutErrorOutput(const std::string& arguments) {
    BoxedRun run;
    PROCESS_INFORMATION process;
    if (!style_tool_start::StartWithoutErrorOutput(ToolPath(), arguments, &process)) return run;
    const DWORD started = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT && GetTickCount() - started < kRunTimeoutMs) {
        const HWND box = DialogOf(process.dwProcessId);
        if (!box) continue;
        run.boxShown = true;
        run.caption = WindowText(box);
        run.text = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        break;
    }
    if (WaitForSingleObject(process.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 124);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hProcess);
    return run;
}

// ---- The theme, as a process started afresh sees it ----
struct ThemeSeen {
    bool active = false;
    std::string file, color, size;
    int captionHeight = 0;
};

int ReportTheme() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kReportKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 1;
    WCHAR names[3][MAX_PATH];
    if (SUCCEEDED(GetCurrentThemeName(names[0], MAX_PATH, names[1], MAX_PATH, names[2], MAX_PATH))) {
        const wchar_t* const valueNames[3] = {L"File", L"Color", L"Size"};
        for (int i = 0; i < 3; ++i)
            RegSetValueExW(key, valueNames[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(names[i]),
                           static_cast<DWORD>((lstrlenW(names[i]) + 1) * sizeof(WCHAR)));
    }
    NONCLIENTMETRICSA metrics;
    metrics.cbSize = sizeof metrics;
    const DWORD height =
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) ? metrics.iCaptionHeight : 0;
    RegSetValueExA(key, "CaptionHeight", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&height), sizeof height);
    RegCloseKey(key);
    return 0;
}

ThemeSeen ThemeSeenAfresh() {
    ThemeSeen seen;
    test_platform::DeleteKeyTree(kReportKey);
    if (RunProgram("\"" + ProgramFolder() + "chgtheme_tests.exe\" " + kReportArgument).exitCode != 0) return seen;
    seen.active = GetValue(kReportKey, "File").exists;
    seen.file = StoredText(kReportKey, "File").value_or("(missing)");
    seen.color = StoredText(kReportKey, "Color").value_or("(missing)");
    seen.size = StoredText(kReportKey, "Size").value_or("(missing)");
    const StoredValue height = GetValue(kReportKey, "CaptionHeight");
    if (height.data.size() == 4) std::memcpy(&seen.captionHeight, height.data.data(), 4);
    test_platform::DeleteKeyTree(kReportKey);
    return seen;
}

// ---- The follow-up request ----
std::string StartupShortcut() {
    char folder[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return "";
    return std::string(folder) + "\\" + OPTIVUE_STARTUP_SHORTCUT;
}

// The program the shortcut starts, or "" when there is no shortcut.
std::string ShortcutTarget(const std::string& shortcut) {
    if (GetFileAttributesA(shortcut.c_str()) == INVALID_FILE_ATTRIBUTES) return "";
    std::string target = "(unreadable)";
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR path[MAX_PATH];
            if (SUCCEEDED(file->Load(Wide(shortcut).c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
                target = Narrow(path);
            file->Release();
        }
        link->Release();
    }
    return target;
}

struct FollowUpRequest {
    StoredValue changed;
    std::string shortcutTarget;
};

FollowUpRequest FollowUpRequested() {
    return {GetValue(OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE), ShortcutTarget(StartupShortcut())};
}

// ---- The user's colours ----
// Colours no style brings, set as the user's own, live and stored.
void UseUserColors() {
    const struct {
        int index;
        COLORREF color;
    } kLive[] = {
        {COLOR_3DFACE, RGB(250, 240, 230)}, {COLOR_WINDOW, RGB(240, 250, 200)}, {COLOR_BTNTEXT, RGB(1, 80, 160)}};
    for (const auto& live : kLive) SetSysColors(1, &live.index, &live.color);
    test_platform::PutString("Control Panel\\Colors", "ButtonFace", "250 240 230");
    test_platform::PutString("Control Panel\\Colors", "Window", "240 250 200");
    test_platform::PutString("Control Panel\\Colors", "ButtonText", "1 80 160");
}

// The stored colours, to compare before and after.
std::string StoredColors() {
    std::string all;
    for (const char* name : {"ButtonFace", "Window", "ButtonText", "Hilight", "Menu"})
        all += std::string(name) + "=" + StoredText("Control Panel\\Colors", name).value_or("(missing)") + " ";
    return all;
}

// ---- The tests ----
class ChgthemeTest : public testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        shortcut_ = StartupShortcut();
        ASSERT_FALSE(shortcut_.empty());
        if (GetFileAttributesA(shortcut_.c_str()) != INVALID_FILE_ATTRIBUTES) {
            ASSERT_TRUE(MoveFileA(shortcut_.c_str(), (shortcut_ + ".kept-by-tests").c_str()));
            shortcutKept_ = true;
        }
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ToolPath().c_str())) << ToolPath();
        wineStyle_ = StoredText(kThemeManagerKey, "DllName").value_or("(missing)");
        wineColor_ = StoredText(kThemeManagerKey, "ColorName").value_or("(missing)");
        // No follow-up request to begin with: every start of the program leaves the flag behind as 0.
        test_platform::DeleteKeyTree("Software\\Korvani");
    }

    void TearDown() override {
        DeleteFileA(shortcut_.c_str());
        RemoveDirectoryA(shortcut_.c_str());
        if (shortcutKept_) MoveFileA((shortcut_ + ".kept-by-tests").c_str(), shortcut_.c_str());
        systemLibrary_.reset();
        for (const std::string& file : scratchFiles_) DeleteFileA(file.c_str());
        if (!scratchFolder_.empty()) RemoveDirectoryA(scratchFolder_.c_str());
        test_platform::DeleteKeyTree(theme_library_stand_in::kLoadedKey);
        CoUninitialize();
    }

    void UseStyle(const std::string& file, const std::string& color, const std::string& size,
                  const char* active = "1") {
        test_platform::PutString(kThemeManagerKey, "ThemeActive", active);
        test_platform::PutString(kThemeManagerKey, "DllName", file);
        test_platform::PutString(kThemeManagerKey, "ColorName", color);
        test_platform::PutString(kThemeManagerKey, "SizeName", size);
    }

    std::vector<StoredValue> ThemeManagerValues() const {
        std::vector<StoredValue> values;
        for (const char* name : {"ThemeActive", "DllName", "ColorName", "SizeName"})
            values.push_back(GetValue(kThemeManagerKey, name));
        return values;
    }

    // The theme library the tool gets: a stand-in beside this program in the system folder's place;
    // kSystemLibrary: Wine's own; null: none at all.
    bool UseThemeLibrary(const char* library) {
        systemLibrary_.reset();
        if (library == kSystemLibrary) return true;
        const std::string standIn = library ? ProgramFolder() + library : "";
        systemLibrary_.emplace(library ? standIn.c_str() : nullptr);
        return systemLibrary_->InPlace();
    }

    // What a refusal leaves as it was: the style's values and the user's colours, live and stored.
    struct Untouched {
        std::vector<StoredValue> themeManager;
        std::vector<COLORREF> liveColors;
        std::string storedColors;
    };

    // The system of one run of a refusal table.
    struct RunSystem {
        bool testStyle;  // else Wine's own, which offers NormalSize only
        const char* active;
        const char* library;  // null: none at all
        const char* version;  // the Windows version the tool is told; null: the run's own (XP)
    };

    // The style of `system`, active as it says, the user's own colours, the theme library and the version;
    // `before` receives what the run must leave as it was.
    void ArrangeRun(const RunSystem& system, Untouched* before) {
        if (system.testStyle)
            UseStyle(TestStylePath(), "Plain", "NormalSize", system.active);
        else
            UseStyle(wineStyle_, wineColor_, "NormalSize", system.active);
        before->themeManager = ThemeManagerValues();
        UseUserColors();
        before->liveColors = test_platform::ColorsSeenByAnotherProcess();
        before->storedColors = StoredColors();
        ASSERT_TRUE(UseThemeLibrary(system.library));
        UseVersion(system.version);
    }

    void ExpectStyleUntouched(const Untouched& before) const {
        const std::vector<StoredValue> after = ThemeManagerValues();
        for (size_t i = 0; i < before.themeManager.size(); ++i)
            EXPECT_EQ(before.themeManager[i].data, after[i].data) << i;
    }

    void ExpectColorsUntouched(const Untouched& before) const {
        EXPECT_EQ(before.liveColors, test_platform::ColorsSeenByAnotherProcess());
        EXPECT_EQ(before.storedColors, StoredColors());
    }

    // The Windows version Wine reports to the tool (null: the run's own).
    static void UseVersion(const char* version) {
        if (version)
            test_platform::PutString(kToolSettingsKey, "Version", version);
        else
            test_platform::DeleteValue(kToolSettingsKey, "Version");
    }

    // Everything the tool and the style change: the theme manager's values, the system's colours and
    // metrics (Wine stores them when it applies a style), the flag and the library override.
    test_platform::SavedUserSettings saved_{{kThemeManagerKey, "Control Panel\\Colors",
                                             "Control Panel\\Desktop\\WindowMetrics", "Software\\Korvani",
                                             "Software\\Wine\\AppDefaults\\chgtheme.exe"}};
    std::string shortcut_;
    bool shortcutKept_ = false;
    std::string wineStyle_, wineColor_;
    std::string scratchFolder_;
    std::vector<std::string> scratchFiles_;
    std::optional<test_platform::SystemThemeLibrary> systemLibrary_;
};

TEST_F(ChgthemeTest, BadInputIsRefusedWithItsOwnExitCodeAndMessageAndChangesNothing) {
    const char* const kUsage = "chgtheme: give one size variant: NormalSize, LargeFonts or ExtraLargeFonts.\r\n";
    const char* const kCannotList =
        "chgtheme: this system's theme library cannot list a visual style's sizes; nothing was changed.\r\n";
    const char* const kUnknownSystem =
        "chgtheme: this system is not Windows NT 5.1 or 5.2, whose theme library the tool knows; nothing was "
        "changed.\r\n";
    // clang-format off
    const struct {
        const char* label;
        const char* arguments;
        RunSystem system;
        DWORD exitCode;
        const char* message;
    } cases[] = {
        {"no argument", "", {true, "1", kSystemLibrary, nullptr}, 2, kUsage},
        {"an unknown size", "Huge", {true, "1", kSystemLibrary, nullptr}, 2, kUsage},
        {"two sizes", "LargeFonts NormalSize", {true, "1", kSystemLibrary, nullptr}, 2, kUsage},
        {"no active style", "LargeFonts", {true, "0", kSystemLibrary, nullptr}, 3,
         "chgtheme: no visual style is active, so there is no size to switch.\r\n"},
        {"a style without that size", "LargeFonts", {false, "1", kSystemLibrary, nullptr}, 4,
         "chgtheme: the active visual style does not offer the size LargeFonts; nothing was changed.\r\n"},
        {"a theme library that cannot list sizes", "LargeFonts", {true, "1", "uxtheme_without_size_list.dll", nullptr},
         5, kCannotList},
        {"no theme library", "LargeFonts", {true, "1", nullptr, nullptr}, 5, kCannotList},
        // The theme-file functions are known on NT 5.1 and 5.2 only: elsewhere the tool does not look for them.
        {"Windows 7", "LargeFonts", {true, "1", kSystemLibrary, "win7"}, 7, kUnknownSystem},
        {"Windows Vista", "ExtraLargeFonts", {true, "1", kSystemLibrary, "vista"}, 7, kUnknownSystem},
        {"Windows 2000", "NormalSize", {true, "1", kSystemLibrary, "win2k"}, 7, kUnknownSystem},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Untouched before;
        ArrangeRun(c.system, &before);
        if (HasFatalFailure()) return;

        const ProgramRun run = RunTool(ToolPath(), c.arguments);

        UseVersion(nullptr);
        EXPECT_EQ(c.exitCode, run.exitCode);
        EXPECT_EQ(c.message, run.message);
        ExpectStyleUntouched(before);
        ExpectColorsUntouched(before);
        const FollowUpRequest request = FollowUpRequested();
        EXPECT_FALSE(request.changed.exists);
        EXPECT_EQ("", request.shortcutTarget);
    }
}

TEST_F(ChgthemeTest, ThemeLibraryIsLoadedFromTheSystemFolderOnlyNotFromBesideTheTool) {
    // A library of the theme library's name beside the tool, which Wine is told to prefer to its own as
    // Windows would (it otherwise loads its builtin one whatever lies there). The same file in the system
    // folder's place shows that the stand-in, once loaded, says so.
    using theme_library_stand_in::kLoadedFromValue;
    using theme_library_stand_in::kLoadedKey;
    const std::string planted = "uxtheme_without_size_list.dll";
    scratchFolder_ = ProgramFolder() + "chgtheme-planted";
    CreateDirectoryA(scratchFolder_.c_str(), nullptr);
    const std::string tool = scratchFolder_ + "\\chgtheme.exe";
    const std::string plantedFile = scratchFolder_ + "\\uxtheme.dll";
    scratchFiles_ = {tool, plantedFile};
    ASSERT_TRUE(CopyFileA(ToolPath().c_str(), tool.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((ProgramFolder() + planted).c_str(), plantedFile.c_str(), FALSE));
    test_platform::PutString(kOverridesKey, "uxtheme", "native,builtin");
    UseStyle(TestStylePath(), "Plain", "NormalSize");

    {
        SCOPED_TRACE("planted beside the tool");
        test_platform::DeleteKeyTree(kLoadedKey);
        const ProgramRun run = RunTool(tool, "LargeFonts");
        EXPECT_EQ(0u, run.exitCode) << run.message;
        EXPECT_EQ("LargeFonts", StoredText(kThemeManagerKey, "SizeName").value_or("(missing)"));
        EXPECT_FALSE(GetValue(kLoadedKey, kLoadedFromValue).exists)
            << StoredText(kLoadedKey, kLoadedFromValue).value_or("(missing)");
    }
    {
        SCOPED_TRACE("in the system folder");
        test_platform::DeleteKeyTree(kLoadedKey);
        ASSERT_TRUE(UseThemeLibrary(planted.c_str()));
        const ProgramRun run = RunTool(tool, "ExtraLargeFonts");
        EXPECT_EQ(5u, run.exitCode) << run.message;
        EXPECT_EQ(0, lstrcmpiA((test_platform::SystemFolder() + "\\uxtheme.dll").c_str(),
                               StoredText(kLoadedKey, kLoadedFromValue).value_or("(missing)").c_str()))
            << StoredText(kLoadedKey, kLoadedFromValue).value_or("(missing)");
    }
}

// What the user reads when the tool cannot do its part, in the run's language; the sizes as the main
// dialog's buttons name them.
TEST_F(ChgthemeTest, WithoutAConsoleEachRefusalAndFailureTellsTheUserInTheirLanguageWhatHappenedAndWhatToDo) {
    const bool german = test_platform::UseLanguage("de");
    const wchar_t* const kUnknownSystemEn =
        L"Optivue could not set the visual style to \"Large\u00a0Size\": Optivue changes the size of a visual style "
        L"only "
        L"on Windows XP and Windows Server 2003. Windows, menus and their text keep their size.\n\nThe Windows "
        L"Classic style gets every size on this version of Windows. Choose it, then click \"Large\u00a0Size\" in "
        L"Optivue "
        L"again.";
    const wchar_t* const kUnknownSystemDe =
        L"Optivue konnte den visuellen Stil nicht auf „Large\u00a0Size“ stellen: Optivue ändert die Größe eines "
        L"visuellen "
        L"Stils nur unter Windows XP und Windows Server 2003. Fenster, Menüs und ihre Schrift behalten ihre "
        L"Größe.\n\nMit dem klassischen Windows-Stil erhalten Sie auf dieser Windows-Version jede Größe. Wählen Sie "
        L"ihn und klicken Sie dann in Optivue erneut auf „Large\u00a0Size“.";
    const wchar_t* const kSizesUnknownEn =
        L"Optivue could not set the visual style to \"Large\u00a0Size\": this system cannot tell which sizes the "
        L"active "
        L"visual style offers. Windows, menus and their text keep their size.\n\nThe Windows Classic style gets "
        L"every size. Choose it (Display Properties, Appearance tab), then click \"Large\u00a0Size\" in Optivue again.";
    const wchar_t* const kSizesUnknownDe =
        L"Optivue konnte den visuellen Stil nicht auf „Large\u00a0Size“ stellen: Dieses System kann nicht angeben, "
        L"welche "
        L"Größen der aktive visuelle Stil bietet. Fenster, Menüs und ihre Schrift behalten ihre Größe.\n\nMit dem "
        L"klassischen Windows-Stil erhalten Sie jede Größe. Wählen Sie ihn (Eigenschaften von Anzeige, "
        L"Registerkarte „Darstellung“) und klicken Sie dann in Optivue erneut auf „Large\u00a0Size“.";
    // clang-format off
    const struct {
        const char* label;
        const char* arguments;
        RunSystem system;
        bool shortcutBlocked;  // by a folder of its name in the Startup folder
        DWORD exitCode;
        const wchar_t* english;  // null: no message box
        const wchar_t* german;
    } cases[] = {
        {"an unknown size", "Huge", {true, "1", kSystemLibrary, nullptr}, false, 2,
         L"This part of Optivue is started by Optivue itself and changes nothing on its own.\n\nTo change the screen "
         L"size, start Optivue and click \"Normal\u00a0Size\", \"Large\u00a0Size\" or \"Extra\u00a0Large\u00a0Size\".",
         L"Dieser Teil von Optivue wird von Optivue selbst gestartet und ändert allein nichts.\n\nUm die "
         L"Bildschirmgröße zu ändern, starten Sie Optivue und klicken Sie auf „Normal\u00a0Size“, „Large\u00a0Size“ "
         L"oder „Extra\u00a0Large\u00a0Size“."},
        {"Windows 7", "LargeFonts", {true, "1", kSystemLibrary, "win7"}, false, 7,
         kUnknownSystemEn, kUnknownSystemDe},
        {"Windows Vista", "LargeFonts", {true, "1", kSystemLibrary, "vista"}, false, 7,
         kUnknownSystemEn, kUnknownSystemDe},
        {"no active style", "ExtraLargeFonts", {true, "0", kSystemLibrary, nullptr}, false, 3,
         L"Optivue could not set the visual style to \"Extra\u00a0Large\u00a0Size\": no visual style is active now. "
         L"This step changed nothing.\n\nClick \"Extra\u00a0Large\u00a0Size\" in Optivue again: without a visual "
         L"style, Optivue sets every size itself.",
         L"Optivue konnte den visuellen Stil nicht auf „Extra\u00a0Large\u00a0Size“ stellen: Zurzeit ist kein "
         L"visueller Stil aktiv. Dieser Schritt hat nichts geändert.\n\nKlicken Sie in Optivue erneut auf "
         L"„Extra\u00a0Large\u00a0Size“: Ohne visuellen Stil stellt Optivue jede Größe selbst ein."},
        {"a style without that size", "LargeFonts", {false, "1", kSystemLibrary, nullptr}, false, 4,
         style_tool_messages::kLargeNotOfferedEnglish, style_tool_messages::kLargeNotOfferedGerman},
        {"a theme library that cannot list sizes", "LargeFonts", {true, "1", "uxtheme_without_size_list.dll", nullptr},
         false, 5, kSizesUnknownEn, kSizesUnknownDe},
        {"no theme library", "LargeFonts", {true, "1", nullptr, nullptr}, false, 5,
         kSizesUnknownEn, kSizesUnknownDe},
        {"no room for the follow-up run's shortcut", "NormalSize", {true, "1", "uxtheme_failing_apply.dll", nullptr},
         true, 6,
         L"The visual style gets the size \"Normal\u00a0Size\" at your next logon, but Optivue could not arrange to "
         L"finish the change then.\n\nAfter your next logon, start Optivue and click \"Normal\u00a0Size\" again.",
         L"Der visuelle Stil erhält die Größe „Normal\u00a0Size“ bei Ihrer nächsten Anmeldung, aber Optivue konnte "
         L"nicht veranlassen, die Änderung dann abzuschließen.\n\nStarten Sie nach Ihrer nächsten Anmeldung Optivue "
         L"und klicken Sie erneut auf „Normal\u00a0Size“."},
        // And where the tool does its part, nobody is told anything.
        {"a style with that size", "LargeFonts", {true, "1", kSystemLibrary, nullptr}, false, 0, nullptr, nullptr},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Untouched before;
        ArrangeRun(c.system, &before);
        if (HasFatalFailure()) return;
        if (c.shortcutBlocked) {
            ASSERT_TRUE(CreateDirectoryA(shortcut_.c_str(), nullptr));
        }

        const BoxedRun run = RunToolWithoutErrorOutput(c.arguments);

        UseVersion(nullptr);
        EXPECT_EQ(c.exitCode, run.exitCode);
        const wchar_t* const expected = german ? c.german : c.english;
        EXPECT_EQ(expected != nullptr, run.boxShown);
        if (expected) {
            EXPECT_EQ(L"Optivue", run.caption);
            EXPECT_EQ(expected, run.text);
        }
        ExpectColorsUntouched(before);
        if (c.exitCode == 0) {
            EXPECT_EQ(c.arguments, StoredText(kThemeManagerKey, "SizeName").value_or("(missing)"));
        } else if (c.exitCode != 6) {
            ExpectStyleUntouched(before);
            EXPECT_FALSE(FollowUpRequested().changed.exists);
        }
        if (c.shortcutBlocked) RemoveDirectoryA(shortcut_.c_str());
        test_platform::DeleteValue(OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE);
    }
}

TEST_F(ChgthemeTest, AStyleThatOffersTheSizeIsSwitchedLiveAndNoFollowUpRunIsAskedFor) {
    UseStyle(TestStylePath(), "Plain", "NormalSize");
    const struct {
        const char* size;
        int captionHeight;    // what the test style gives each size
        const char* version;  // null: the run's own, Windows XP (NT 5.1)
    } cases[] = {{"LargeFonts", 22, nullptr},
                 {"ExtraLargeFonts", 26, nullptr},
                 {"NormalSize", 18, nullptr},
                 {"LargeFonts", 22, "win2003"}};  // NT 5.2
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " on " << (c.version ? c.version : "XP"));
        UseVersion(c.version);

        const ProgramRun run = RunTool(ToolPath(), c.size);
        UseVersion(nullptr);

        EXPECT_EQ(0u, run.exitCode) << run.message;
        EXPECT_EQ("", run.message);
        EXPECT_EQ(c.size, StoredText(kThemeManagerKey, "SizeName").value_or("(missing)"));
        EXPECT_EQ("Plain", StoredText(kThemeManagerKey, "ColorName").value_or("(missing)"));
        EXPECT_EQ(0, lstrcmpiA(TestStylePath().c_str(),
                               StoredText(kThemeManagerKey, "DllName").value_or("(missing)").c_str()));
        const ThemeSeen seen = ThemeSeenAfresh();
        EXPECT_TRUE(seen.active);
        EXPECT_EQ(0, lstrcmpiA(TestStylePath().c_str(), seen.file.c_str())) << seen.file;
        EXPECT_EQ("Plain", seen.color);
        EXPECT_EQ(c.size, seen.size);
        EXPECT_EQ(c.captionHeight, seen.captionHeight);
        const FollowUpRequest request = FollowUpRequested();
        EXPECT_FALSE(request.changed.exists);
        EXPECT_EQ("", request.shortcutTarget);
    }
}

// A drive letter that names no drive, as a share that cannot be reached would: "X:", or "" when every letter
// is taken.
std::string MissingDrive() {
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'D'; --letter)
        if (!(drives & (1u << (letter - 'A')))) return std::string(1, letter) + ":";
    return "";
}

// The follow-up run is asked for whole (the shortcut and the flag) or not at all: a flag without its
// shortcut would turn the program's next start into a silent follow-up run, a shortcut without its flag
// would open the main window at every logon.
TEST_F(ChgthemeTest, WhereTheStyleCannotBeSwitchedLiveTheFollowUpRunIsAskedForWholeOrNotAtAll) {
    const char* const kAsked =
        "chgtheme: the size ExtraLargeFonts takes effect at the next logon; Optivue finishes the change then.\r\n";
    const char* const kNotAsked =
        "chgtheme: the size ExtraLargeFonts takes effect at the next logon, but Optivue's follow-up run could not be "
        "asked for.\r\n";
    enum Obstacle {
        kNoObstacle,
        kShortcutNameTaken,        // by a folder of its name in the Startup folder
        kStartupFolderBelowAFile,  // the user's Startup folder named below a file: it can be neither found nor made
        kStartupFolderOnNoDrive,   // on a drive that is not there, as a share that cannot be reached
        kFlagUnwritable,           // the program's key cannot be made: below a volatile key only volatile ones can
    };
    const struct {
        const char* label;
        const char* library;
        Obstacle obstacle;
        DWORD exitCode;
        const char* message;
    } cases[] = {
        {"a theme library without the theme-file functions", "uxtheme_without_theme_files.dll", kNoObstacle, 1, kAsked},
        {"a theme library whose apply fails", "uxtheme_failing_apply.dll", kNoObstacle, 1, kAsked},
        {"no room for the shortcut", "uxtheme_failing_apply.dll", kShortcutNameTaken, 6, kNotAsked},
        {"a Startup folder below a file", "uxtheme_failing_apply.dll", kStartupFolderBelowAFile, 6, kNotAsked},
        {"a Startup folder on a drive that is not there", "uxtheme_failing_apply.dll", kStartupFolderOnNoDrive, 6,
         kNotAsked},
        {"a flag that cannot be written", "uxtheme_failing_apply.dll", kFlagUnwritable, 6, kNotAsked},
    };
    const std::string kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const std::string kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::string notAFolder = ProgramFolder() + "chgtheme-not-a-folder";
    scratchFiles_.push_back(notAFolder);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        UseStyle(TestStylePath(), "Plain", "NormalSize");
        ASSERT_TRUE(UseThemeLibrary(c.library));
        // The user's folders as they were, for the cases that move the Startup folder.
        std::optional<test_platform::SavedUserSettings> folders;
        switch (c.obstacle) {
            case kNoObstacle:
                break;
            case kShortcutNameTaken:
                ASSERT_TRUE(CreateDirectoryA(shortcut_.c_str(), nullptr));
                break;
            case kStartupFolderBelowAFile: {
                const HANDLE file = CreateFileA(notAFolder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr);
                ASSERT_NE(INVALID_HANDLE_VALUE, file);
                CloseHandle(file);
                folders.emplace(std::vector<std::string>{kShellFolders, kUserShellFolders});
                test_platform::PutString(kUserShellFolders, "Startup", notAFolder + "\\Startup");
                break;
            }
            case kStartupFolderOnNoDrive: {
                const std::string drive = MissingDrive();
                ASSERT_NE("", drive);
                folders.emplace(std::vector<std::string>{kShellFolders, kUserShellFolders});
                test_platform::PutString(kUserShellFolders, "Startup", drive + "\\Startup");
                break;
            }
            case kFlagUnwritable: {
                HKEY parent = nullptr;
                ASSERT_EQ(ERROR_SUCCESS,
                          RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Korvani", 0, nullptr, REG_OPTION_VOLATILE,
                                          KEY_ALL_ACCESS, nullptr, &parent, nullptr));
                RegCloseKey(parent);
                break;
            }
        }

        const ProgramRun run = RunTool(ToolPath(), "ExtraLargeFonts");

        EXPECT_EQ(c.exitCode, run.exitCode) << run.message;
        EXPECT_EQ(c.message, run.message);
        EXPECT_EQ("ExtraLargeFonts", StoredText(kThemeManagerKey, "SizeName").value_or("(missing)"));
        EXPECT_EQ("Plain", StoredText(kThemeManagerKey, "ColorName").value_or("(missing)"));
        EXPECT_EQ(TestStylePath(), StoredText(kThemeManagerKey, "DllName").value_or("(missing)"));
        const StoredValue changed = GetValue(OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE);
        if (c.exitCode == 1) {
            EXPECT_EQ(DWORD(REG_DWORD), changed.type);
            EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), changed.data);
            EXPECT_EQ(Narrow(kInstalledProgram), ShortcutTarget(shortcut_));
        } else {
            EXPECT_FALSE(changed.exists) << "Changed left behind";
        }
        if (c.obstacle == kShortcutNameTaken) {
            const DWORD attributes = GetFileAttributesA(shortcut_.c_str());
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
            RemoveDirectoryA(shortcut_.c_str());
        } else if (c.exitCode != 1) {
            EXPECT_EQ("", ShortcutTarget(shortcut_)) << "a shortcut left behind without its flag";
        }
        folders.reset();
        DeleteFileA(shortcut_.c_str());
        DeleteFileA(notAFolder.c_str());
        test_platform::DeleteKeyTree("Software\\Korvani");
    }
}

TEST_F(ChgthemeTest, TheUsersOwnColoursLiveAndStoredAreKeptWhateverColoursTheSwitchBrings) {
    using namespace theme_library_stand_in;
    // Colours no style brings.
    const struct {
        int index;
        COLORREF color;
    } kLive[] = {
        {COLOR_WINDOW, RGB(250, 240, 230)}, {COLOR_BTNTEXT, RGB(1, 80, 160)}, {COLOR_HIGHLIGHT, RGB(120, 0, 60)}};
    const struct {
        const char* name;
        const char* text;
    } kStored[] = {{kDisturbedValueName, "250 240 230"}, {kRemovedValueName, "1 80 160"}};
    const struct {
        const char* label;
        const char* library;  // null: the system's
        const char* size;
    } cases[] = {
        {"the system's theme library", nullptr, "LargeFonts"},
        {"a theme library whose apply brings colours", "uxtheme_disturbing_apply.dll", "ExtraLargeFonts"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        UseStyle(TestStylePath(), "Plain", "NormalSize");
        for (const auto& live : kLive) SetSysColors(1, &live.index, &live.color);
        for (const auto& stored : kStored) test_platform::PutString("Control Panel\\Colors", stored.name, stored.text);
        ASSERT_TRUE(UseThemeLibrary(c.library ? c.library : kSystemLibrary));
        const std::string tool = ToolPath();

        const ProgramRun run = RunTool(tool, c.size);

        EXPECT_EQ(0u, run.exitCode) << run.message;
        // The stand-in's apply leaves the size to the system's library.
        if (!c.library) {
            EXPECT_EQ(c.size, StoredText(kThemeManagerKey, "SizeName").value_or("(missing)"));
        }
        const std::vector<COLORREF> colors = test_platform::ColorsSeenByAnotherProcess();
        ASSERT_EQ(size_t(COLOR_MENUBAR + 1), colors.size());
        for (const auto& live : kLive) EXPECT_EQ(live.color, colors[live.index]) << "colour " << live.index;
        for (const auto& stored : kStored)
            EXPECT_EQ(stored.text, StoredText("Control Panel\\Colors", stored.name).value_or("(missing)"))
                << stored.name;
        // The style's own menu colour is the style's to set.
        if (c.library) {
            EXPECT_EQ(kDisturbedColors[2].color, colors[kDisturbedColors[2].index]);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], kReportArgument) == 0) return ReportTheme();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
