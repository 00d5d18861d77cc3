// The user's colours around the visual-style switch: a stand-in tool that changes them several times
// while the program watches, the real tool whose theme library's apply brings colours while the program is
// ended during its watch, and the real tool with a style that lacks the size, in the run's language.
#include "res/resource_ids.h"
#include "settings/size_aspects.h"
#include "settings/visual_style.h"
#include "tests/fixtures/style_tool_double.h"
#include "tests/fixtures/theme_library_stand_in.h"
#include "tests/support/registry_keys.h"
#include "tests/support/style_tool.h"
#include "tests/support/system_theme_library.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/size_command_steps.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"
#include "tests/wine/style_tool_messages.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace size_command;
using test_platform::GetValue;
using test_platform::PutString;
using test_platform::StoredText;

// ---- The user's colours around the visual-style switch ----
// Colours no style brings, set as the user's own before a command.
const struct {
    int index;
    COLORREF color;
} kUserLiveColors[] = {{COLOR_3DFACE, RGB(250, 240, 230)},
                       {COLOR_HIGHLIGHT, RGB(120, 0, 60)},
                       {COLOR_WINDOW, RGB(240, 250, 200)},
                       {COLOR_BTNTEXT, RGB(1, 80, 160)}};
const struct {
    const char* name;
    const char* text;
} kUserStoredColors[] = {{"ButtonFace", "250 240 230"}, {"Window", "240 250 200"}, {"ButtonText", "1 80 160"}};

void UseUserColors() {
    for (const auto& live : kUserLiveColors) SetSysColors(1, &live.index, &live.color);
    for (const auto& stored : kUserStoredColors) PutString("Control Panel\\Colors", stored.name, stored.text);
}

void ExpectUserStoredColors() {
    for (const auto& stored : kUserStoredColors)
        EXPECT_EQ(stored.text, StoredText("Control Panel\\Colors", stored.name).value_or("(missing)")) << stored.name;
}

// The live colours as a process started now sees them: Wine keeps a copy of the colours in each process,
// loaded at its first read, which another process's SetSysColors does not reach.
void ExpectUserLiveColors() {
    const std::vector<COLORREF> colors = test_platform::ColorsSeenByAnotherProcess();
    ASSERT_EQ(size_t(COLOR_MENUBAR + 1), colors.size());
    for (const auto& live : kUserLiveColors) EXPECT_EQ(live.color, colors[live.index]) << "live colour " << live.index;
}

TEST_F(SizeCommand, AStyleSwitchThatChangesTheColoursSeveralTimesOverTwoSecondsLeavesTheUsersStoredColours) {
    // Each SetSysColors of the tool waits until every window's thread has answered its broadcast: the
    // program's thread answers during its waits, so each returns at once and every change lands while the
    // program still watches the colours. The stored colours are the user's afterwards. The live ones the
    // program cannot see change here: under Wine its copy of the colours stays as it first read them (the
    // simulated platform's tests show the watch putting them back).
    const System& system = kSystems[0];
    const HWND iconView = Arrange(system);
    ASSERT_NE(nullptr, iconView);
    UseUserColors();
    test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);
    ASSERT_TRUE(styleTool.Installed());
    test_platform::PutValue(style_tool_double::kReportKey, style_tool_double::kRounds, REG_DWORD, {3, 0, 0, 0});

    Program program(system.version);
    const HWND dialog = ClickSizeButton(program, kLevels[2]);
    ASSERT_NE(nullptr, dialog);
    ConfirmAndFollowToTheEnd(program, dialog, kLevels[2], system.variant, nullptr);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(e2e::WaitUntil([&styleTool] { return styleTool.Finished(); })) << "the tool did not finish";

    ExpectUserStoredColors();
    const test_platform::StoredValue longest =
        GetValue(style_tool_double::kReportKey, style_tool_double::kLongestSetSysColorsMs);
    ASSERT_EQ(4u, longest.data.size());
    DWORD longestMs = 0;
    std::memcpy(&longestMs, longest.data.data(), 4);
    EXPECT_LE(longestMs, 500u) << "a broadcast waited on the program";
}

// The real tool, installed where it belongs, with the system's theme library or a stand-in in its place.
class RealStyleTool {
public:
    // `standIn`: the file of a theme library stand-in beside this driver; null: Wine's own library.
    explicit RealStyleTool(const char* standIn = nullptr) {
        const std::string tool = kStyleToolPath;
        const std::string brontype = tool.substr(0, tool.find_last_of('\\'));
        const std::string korvani = brontype.substr(0, brontype.find_last_of('\\'));
        if (CreateDirectoryA(korvani.c_str(), nullptr)) createdFolders_.push_back(korvani);
        if (CreateDirectoryA(brontype.c_str(), nullptr)) createdFolders_.insert(createdFolders_.begin(), brontype);
        const std::string programFolder = e2e::ProgramPath().substr(0, e2e::ProgramPath().find_last_of('\\') + 1);
        files_ = {tool};
        installed_ = CopyFileA((programFolder + "chgtheme.exe").c_str(), tool.c_str(), TRUE);
        if (standIn) {
            const std::string standInFile = test_platform::ProgramFolder() + standIn;
            library_.emplace(standInFile.c_str());
            installed_ = installed_ && library_->InPlace();
        }
    }
    ~RealStyleTool() {
        library_.reset();
        test_platform::DeleteKeyTree("Software\\Wine\\AppDefaults\\chgtheme.exe");
        for (const std::string& file : files_)
            for (int attempt = 0; attempt < 100 && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES &&
                                  !DeleteFileA(file.c_str());
                 ++attempt)
                Sleep(100);
        for (const std::string& folder : createdFolders_) RemoveDirectoryA(folder.c_str());
    }
    RealStyleTool(const RealStyleTool&) = delete;
    RealStyleTool& operator=(const RealStyleTool&) = delete;
    bool Installed() const { return installed_; }

private:
    std::vector<std::string> files_;
    std::vector<std::string> createdFolders_;  // the inner one first
    std::optional<test_platform::SystemThemeLibrary> library_;
    bool installed_ = false;
};

// The process of the style tool, once one runs; null meanwhile.
HANDLE StyleToolProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE process = nullptr;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more && !process; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "chgtheme.exe") == 0)
            process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID);
    CloseHandle(snapshot);
    return process;
}

// The real tool with a theme library in the system's place whose apply brings colours and waits for the
// go-ahead of the test. The program is ended during its watch, before the tool's apply: the tool's own
// keeping of the colours is what leaves them as the user had them.
TEST_F(SizeCommand, TheStyleToolKeepsTheUsersColoursWhenTheProgramIsEndedDuringItsWatch) {
    const System& system = kSystems[0];
    const HWND iconView = Arrange(system);
    ASSERT_NE(nullptr, iconView);
    // The stand-in library lists the three sizes of any style file and opens it without a look inside.
    PutString(kThemeManagerKey, "DllName", "C:\\Optivue Tests\\sizes.msstyles");
    PutString(kThemeManagerKey, "ColorName", "Plain");
    UseUserColors();
    RealStyleTool tool("uxtheme_disturbing_apply.dll");
    ASSERT_TRUE(tool.Installed());
    HANDLE goAhead = CreateEventA(nullptr, TRUE, FALSE, theme_library_stand_in::kGoAheadEvent);
    ASSERT_NE(nullptr, goAhead);

    Program program(system.version);
    ASSERT_NE(nullptr, ClickSizeButtonAndOk(program, kLevels[1]));
    HANDLE toolProcess = nullptr;
    EXPECT_TRUE(e2e::WaitUntil([&toolProcess] { return (toolProcess = StyleToolProcess()) != nullptr; }))
        << "the tool was not started";
    ASSERT_FALSE(program.Ended()) << "the program ended before its watch";
    ASSERT_TRUE(TerminateProcess(program.Handle(), 9));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(program.Handle(), e2e::kWaitMs));
    SetEvent(goAhead);

    ASSERT_NE(nullptr, toolProcess);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(toolProcess, e2e::kWaitMs));
    DWORD exitCode = 1;
    GetExitCodeProcess(toolProcess, &exitCode);
    EXPECT_EQ(0u, exitCode) << "switched live";
    CloseHandle(toolProcess);
    CloseHandle(goAhead);
    ExpectUserLiveColors();
    ExpectUserStoredColors();
    // The style's own menu colour is the style's to set.
    const std::vector<COLORREF> colors = test_platform::ColorsSeenByAnotherProcess();
    ASSERT_EQ(size_t(COLOR_MENUBAR + 1), colors.size());
    EXPECT_EQ(theme_library_stand_in::kDisturbedColors[2].color,
              colors[theme_library_stand_in::kDisturbedColors[2].index]);
}

// A message box up now, titled "Optivue" with its message text (control 0xFFFF), of whichever program.
HWND MessageBoxUp() {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT))
        if (IsWindowVisible(window) && e2e::ClassName(window) == "#32770" && e2e::Text(window) == "Optivue" &&
            GetDlgItem(window, 0xFFFF))
            return window;
    return nullptr;
}

std::wstring WideText(HWND window) {
    WCHAR text[4096] = L"";
    GetWindowTextW(window, text, sizeof text / sizeof *text);
    return text;
}

// The real tool and Wine's own style "Light", which offers NormalSize only, as many styles that people
// install do: a Large command waits for the tool's message box, in the user's language, and then says in
// its own box, without the tool's reason again, that the style's size did not change; the style and the
// colours stay as they were. The test style, which offers every size, is switched without a box and the
// command ends with "Settings have changed.".
TEST_F(SizeCommand, TheRealStyleToolTellsTheUserWhenTheStyleLacksTheSizeAndSwitchesAStyleThatHasIt) {
    const std::string wineStyle = StoredText(kThemeManagerKey, "DllName").value_or("");
    const std::string wineColor = StoredText(kThemeManagerKey, "ColorName").value_or("");
    ASSERT_NE(std::string::npos, wineStyle.find("light.msstyles")) << wineStyle;
    const struct {
        const char* label;
        std::string file, color;
        DWORD exitCode;
        const wchar_t* message;  // the tool's, in the run's language; null: no message box
        const char* sizeAfter;
    } cases[] = {
        {"Wine's own style", wineStyle, wineColor, 4,
         German() ? style_tool_messages::kLargeNotOfferedGerman : style_tool_messages::kLargeNotOfferedEnglish,
         "NormalSize"},
        {"the test style with every size", test_platform::ProgramFolder() + "sizes.msstyles", "Plain", 0, nullptr,
         "LargeFonts"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const HWND iconView = Arrange(kSystems[0]);
        ASSERT_NE(nullptr, iconView);
        PutString(kThemeManagerKey, "DllName", c.file);
        PutString(kThemeManagerKey, "ColorName", c.color);
        PutString(kThemeManagerKey, "SizeName", "NormalSize");
        // The style has been in use: without this mark Wine's theme library, the first time a program loads
        // it, applies the style's colours and metrics as if the style had just been chosen.
        PutString(kThemeManagerKey, "LoadedBefore", "1");
        UseUserColors();
        RealStyleTool tool;
        ASSERT_TRUE(tool.Installed());

        Program program(kSystems[0].version);
        if (!c.message) {
            const HWND dialog = ClickSizeButton(program, kLevels[1]);
            ASSERT_NE(nullptr, dialog);
            ConfirmAndFollowToTheEnd(program, dialog, kLevels[1], Variant::XpStyled, nullptr);
            if (HasFatalFailure()) return;
            EXPECT_EQ(nullptr, MessageBoxUp()) << "a message box: " << e2e::Text(GetDlgItem(MessageBoxUp(), 0xFFFF));
            HANDLE toolProcess = StyleToolProcess();
            EXPECT_EQ(nullptr, toolProcess) << "the tool still runs";
            if (toolProcess) CloseHandle(toolProcess);
        } else {
            const HWND dialog = ClickSizeButtonAndOk(program, kLevels[1]);
            ASSERT_NE(nullptr, dialog);
            // The program waits for the tool, whose box is up; once it is answered, the program tells what
            // did not change.
            ExpectNotChangedBoxAndEnd(program, dialog, NotChangedText(Variant::XpStyled, kStyleSizeAspect, false), [&] {
                HWND box = nullptr;
                ASSERT_TRUE(e2e::WaitUntil([&box] { return (box = MessageBoxUp()) != nullptr; }))
                    << "the tool showed no message box";
                HANDLE toolProcess = StyleToolProcess();
                ASSERT_NE(nullptr, toolProcess);
                DWORD owner = 0;
                GetWindowThreadProcessId(box, &owner);
                EXPECT_EQ(GetProcessId(toolProcess), owner) << "the first message box is not the tool's";
                EXPECT_EQ(L"Optivue", WideText(box));
                EXPECT_EQ(c.message, WideText(GetDlgItem(box, 0xFFFF)));
                EXPECT_FALSE(program.Ended()) << "the program did not wait for the tool";
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
                EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(toolProcess, e2e::kWaitMs));
                DWORD exitCode = 0xFFFFFFFF;
                GetExitCodeProcess(toolProcess, &exitCode);
                EXPECT_EQ(c.exitCode, exitCode);
                CloseHandle(toolProcess);
            });
            if (HasFatalFailure()) return;
        }
        EXPECT_EQ(c.file, StoredText(kThemeManagerKey, "DllName").value_or("(none)"));
        EXPECT_EQ(c.color, StoredText(kThemeManagerKey, "ColorName").value_or("(none)"));
        EXPECT_EQ(c.sizeAfter, StoredText(kThemeManagerKey, "SizeName").value_or("(none)"));
        ExpectUserLiveColors();
        ExpectUserStoredColors();
    }
}

}  // namespace
