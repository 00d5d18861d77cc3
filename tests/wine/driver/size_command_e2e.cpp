// The size commands as the user meets them: a click on a size button, the confirmation, the main window
// going, the settings of the level on the running system, "Settings have changed." for about two seconds
// and the program's end with 0; or a cancelled confirmation that leaves everything as it was. Each level on
// Windows XP with and without a visual style (ThemeActive "1", "0", missing, its key missing) and on
// Windows 2000, in the run's language.
#include "res/resource_ids.h"
#include "settings/visual_style.h"
#include "tests/fixtures/style_tool_double.h"
#include "tests/fixtures/theme_library_stand_in.h"
#include "tests/support/registry_keys.h"
#include "tests/support/style_tool.h"
#include "tests/support/system_theme_library.h"
#include "tests/support/test_platform.h"
#include "tests/wine/style_tool_messages.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/size_command_overhead.h"

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

using e2e::Program;
using test_platform::GetValue;
using test_platform::PutString;
using test_platform::StoredText;

const std::string kThemeManagerKey = test_keys::kThemeManager;
const std::string kWindowMetricsKey = test_keys::kWindowMetrics;
const std::string kCursorsKey = test_keys::kCursors;
const std::string kBrowserKey = test_keys::kBrowserScripts;
const std::string kAppearanceKey = test_keys::kAppearance;
const std::string kNewSchemesKey = test_keys::kNewSchemes;
// Every key a size command changes or the tests arrange; put back after each test.
const std::vector<std::string> kTouchedKeys = {kThemeManagerKey, kWindowMetricsKey, kCursorsKey, kBrowserKey,
                                               kAppearanceKey,   "Control Panel\\Colors"};

enum class Variant { XpStyled, XpClassic, Win2000 };

struct System {
    const char* label;
    const char* version;
    bool themeManagerKey;
    const char* themeActive;  // null: no such value
    Variant variant;
};

const System kSystems[] = {
    {"XP with a visual style", "winxp", true, "1", Variant::XpStyled},
    {"XP, ThemeActive \"0\"", "winxp", true, "0", Variant::XpClassic},
    {"XP, no ThemeActive", "winxp", true, nullptr, Variant::XpClassic},
    {"XP, no ThemeManager key", "winxp", false, nullptr, Variant::XpClassic},
    {"Windows 2000 with ThemeActive \"1\"", "win2k", true, "1", Variant::Win2000},
};

struct Level {
    const char* label;
    int button;
    int command;  // the same command sent by another window
    UINT confirmationRow;
    BYTE textSize;
    UINT pointerSchemeRow;
    UINT iconSizeRow;
    UINT xpSchemeRow;
    UINT win2000SchemeRow;
    UINT styleSizeRow;
    // The rows' window metrics and caption font, as the system reports them.
    int captionHeight;
    LONG captionFontHeight;
    // The rows' icon spacing, and the spacing the desktop's icon view gets (without snap-to-grid: the
    // spacing grown by the icons' growth over 32 pixels), in English and German.
    int englishHorizontal, germanHorizontal, vertical;
    int englishViewCx, germanViewCx, viewCy;
};

const Level kLevels[] = {
    {.label = "Normal",
     .button = IDC_NORMAL_SIZE,
     .command = IDM_NORMAL_SIZE,
     .confirmationRow = IDS_CONFIRM_NORMAL_SIZE,
     .textSize = 2,
     .pointerSchemeRow = IDS_POINTER_SCHEME_NORMAL,
     .iconSizeRow = IDS_ICON_SIZE_NORMAL,
     .xpSchemeRow = IDS_XP_SCHEME_NORMAL,
     .win2000SchemeRow = IDS_W2K_SCHEME_NORMAL,
     .styleSizeRow = IDS_STYLE_SIZE_NORMAL,
     .captionHeight = 18,
     .captionFontHeight = -11,
     .englishHorizontal = 75,
     .germanHorizontal = 114,
     .vertical = 75,
     .englishViewCx = 75,
     .germanViewCx = 114,
     .viewCy = 75},
    {.label = "Large",
     .button = IDC_LARGE_SIZE,
     .command = IDM_LARGE_SIZE,
     .confirmationRow = IDS_CONFIRM_LARGE_SIZE,
     .textSize = 3,
     .pointerSchemeRow = IDS_POINTER_SCHEME_LARGE,
     .iconSizeRow = IDS_ICON_SIZE_LARGE,
     .xpSchemeRow = IDS_XP_SCHEME_LARGE,
     .win2000SchemeRow = IDS_W2K_SCHEME_LARGE,
     .styleSizeRow = IDS_STYLE_SIZE_LARGE,
     .captionHeight = 21,
     .captionFontHeight = -16,
     .englishHorizontal = 91,
     .germanHorizontal = 130,
     .vertical = 91,
     .englishViewCx = 107,
     .germanViewCx = 146,
     .viewCy = 107},
    {.label = "Extra Large",
     .button = IDC_EXTRA_LARGE_SIZE,
     .command = IDM_EXTRA_LARGE_SIZE,
     .confirmationRow = IDS_CONFIRM_EXTRA_LARGE_SIZE,
     .textSize = 4,
     .pointerSchemeRow = IDS_POINTER_SCHEME_EXTRA_LARGE,
     .iconSizeRow = IDS_ICON_SIZE_EXTRA_LARGE,
     .xpSchemeRow = IDS_XP_SCHEME_EXTRA_LARGE,
     .win2000SchemeRow = IDS_W2K_SCHEME_EXTRA_LARGE,
     .styleSizeRow = IDS_STYLE_SIZE_EXTRA_LARGE,
     .captionHeight = 24,
     .captionFontHeight = -19,
     .englishHorizontal = 91,
     .germanHorizontal = 130,
     .vertical = 91,
     .englishViewCx = 107,
     .germanViewCx = 146,
     .viewCy = 107},
};

bool German() {
    const char* language = std::getenv("OPTIVUE_TEST_LANG");
    return language && std::string(language) == "de";
}

// A row of the program's own string table, in the run's language.
std::string ProgramRow(UINT row) {
    char text[512] = "";
    HMODULE program = LoadLibraryExA(e2e::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (program) {
        LoadStringA(program, row, text, sizeof text);
        FreeLibrary(program);
    }
    return text;
}

// Every value of the keys a size command changes, to compare before and after.
std::string Fingerprint() {
    std::string all;
    for (const std::string& keyPath : kTouchedKeys) {
        if (!test_platform::KeyExists(keyPath)) {
            all += "[" + keyPath + "] missing\n";
            continue;
        }
        all += "[" + keyPath + "]\n";
        for (const std::string& name : test_platform::ValueNames(keyPath)) {
            const test_platform::StoredValue value = GetValue(keyPath, name.c_str());
            all += name + "=" + std::to_string(value.type) + ":" + std::string(value.data.begin(), value.data.end()) +
                   "\n";
        }
    }
    return all;
}

struct IconViewSpacing {
    int cx, cy;
    bool operator==(const IconViewSpacing& other) const { return cx == other.cx && cy == other.cy; }
};

IconViewSpacing SpacingOf(HWND iconView) {
    const LRESULT spacing = SendMessageA(iconView, LVM_GETITEMSPACING, FALSE, 0);
    return {LOWORD(spacing), HIWORD(spacing)};
}

class SizeCommand : public testing::Test {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        saved_.emplace(kTouchedKeys);
    }
    void TearDown() override { saved_.reset(); }

    // The system before the command: its ThemeManager key, a marker in every value the command writes,
    // the standard appearance scheme chosen, and the desktop's icon view at 64 x 64.
    HWND Arrange(const System& system) {
        test_platform::DeleteKeyTree(kThemeManagerKey);
        if (system.themeManagerKey) PutString(kThemeManagerKey, "Placeholder", "kept");
        if (system.themeActive) PutString(kThemeManagerKey, "ThemeActive", system.themeActive);
        test_platform::DeleteValue(kBrowserKey, "IEFontSize");
        PutString(kCursorsKey, "", "Before");
        PutString(kWindowMetricsKey, ProgramRow(IDS_ICON_SIZE_VALUE_NAME).c_str(), "Before");
        PutString(kNewSchemesKey, "SelectedStyle", "21");
        PutString(kAppearanceKey, "Current",
                  ProgramRow(system.variant == Variant::Win2000 ? IDS_W2K_SCHEME_NORMAL : IDS_XP_SCHEME_NORMAL));
        test_platform::DeleteKeyTree(style_tool_double::kReportKey);
        return test_platform::DesktopIconView(0);
    }

    std::optional<test_platform::SavedUserSettings> saved_;
};

// The waits a size command makes on purpose between the click on OK and the notice: the desktop icons'
// two pauses of 500 ms, then the visual-style switch's 1000 ms and 50 x 100 ms, or the 2000 ms pause after a
// classic or Windows 2000 procedure. The notice then stays 2000 ms.
DWORD FixedWaitsToNoticeMs(Variant variant) { return 1000 + (variant == Variant::XpStyled ? 1000 + 5000 : 2000); }
constexpr DWORD kNoticeMs = 2000;

// Clicks OK on the confirmation as the user would, and again (at most three times in all) when the click
// did not reach it: under Wine a click sent the moment the confirmation has come up is now and then lost,
// and the confirmation then stays with OK still to press. A program that ignores OK still fails: the
// confirmation stays after the third click.
void ClickOkOf(HWND confirm) {
    for (int attempt = 0; attempt < 3 && IsWindow(confirm) && IsWindowVisible(confirm); ++attempt) {
        if (attempt > 0) std::printf("the confirmation's OK clicked again (click %d)\n", attempt + 1);
        e2e::ClickOn(GetDlgItem(confirm, IDOK));
        for (int waited = 0; waited < 50 && IsWindow(confirm) && IsWindowVisible(confirm); ++waited) Sleep(100);
    }
}

// Answers the confirmation of `level` with OK and follows the program to its end: the main window goes,
// the notice comes centred on the screen and stays until the program ends with 0, not before the waits of
// `variant` and the notice's time have passed.
void ConfirmAndFollowToTheEnd(Program& program, HWND dialog, const Level& level, Variant variant, e2e::Timings* timings) {
    const HWND confirm = program.WaitForConfirmation();
    ASSERT_NE(nullptr, confirm);
    EXPECT_EQ(dialog, GetWindow(confirm, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(dialog)) << "the confirmation is modal";
    EXPECT_EQ(ProgramRow(level.confirmationRow), e2e::Text(GetDlgItem(confirm, IDC_CONFIRM_MESSAGE)));
    EXPECT_EQ("OK", e2e::Text(GetDlgItem(confirm, IDOK)));
    EXPECT_EQ("Cancel", e2e::Text(GetDlgItem(confirm, IDCANCEL)));
    ASSERT_TRUE(e2e::WaitForForeground(confirm));
    EXPECT_EQ(GetDlgItem(confirm, IDOK), e2e::Focus(confirm)) << "OK has the focus";
    const DWORD clicked = GetTickCount();
    ClickOkOf(confirm);

    ASSERT_TRUE(e2e::WaitUntil([dialog] { return !IsWindowVisible(dialog); }))
        << "the main window stays" << (IsWindow(confirm) ? ", and so does the confirmation" : "");
    EXPECT_FALSE(IsWindow(confirm));
    const HWND notice = program.WaitForChangedNotice();
    ASSERT_NE(nullptr, notice) << ::testing::PrintToString(program.VisibleWindows());
    EXPECT_FALSE(IsWindowVisible(dialog));
    RECT rect = {0, 0, 0, 0}, work = {0, 0, 0, 0};
    GetWindowRect(notice, &rect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((rect.left + rect.right) / 2 - (work.left + work.right) / 2), 1) << "centred across";
    EXPECT_LE(std::abs((rect.top + rect.bottom) / 2 - (work.top + work.bottom) / 2), 1) << "centred down";

    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    const DWORD ended = GetTickCount();
    EXPECT_EQ(0u, exitCode);
    // Measured from before the click, so that a driver slow to see the end only lengthens the time.
    EXPECT_GE(ended - clicked, FixedWaitsToNoticeMs(variant) + kNoticeMs) << "the program ended too soon";
    if (timings) *timings = {clicked, ended};
}

// The main dialog of `program`, in front, with the button of `level` clicked; null, failing the test, when
// there was no main dialog.
HWND ClickSizeButton(const Program& program, const Level& level) {
    const HWND dialog = program.WaitForMainDialog();
    EXPECT_NE(nullptr, dialog) << "no main window";
    if (!dialog) return nullptr;
    EXPECT_TRUE(e2e::WaitForForeground(dialog));
    e2e::ClickOn(GetDlgItem(dialog, level.button));
    return dialog;
}

// The window metrics as a process started now gets them.
NONCLIENTMETRICSA CurrentNonClientMetrics() {
    NONCLIENTMETRICSA nonClient;
    ICONMETRICSA icon;
    std::memset(&nonClient, 0, sizeof nonClient);
    EXPECT_TRUE(test_platform::MetricsSeenByAnotherProcess(&nonClient, &icon));
    return nonClient;
}

// What the level's procedure for the variant leaves on the system; `before`, the window metrics before the
// command, only matters for a visual style, which keeps them.
void ExpectSettingsOf(const Level& level, Variant variant, HWND iconView, const NONCLIENTMETRICSA& before,
                      const test_platform::StyleToolDouble& styleTool) {
    const bool german = German();
    const test_platform::StoredValue textSize = GetValue(kBrowserKey, "IEFontSize");
    EXPECT_EQ((std::vector<BYTE>{level.textSize, 0, 0, 0}), textSize.data) << "browser text size";
    EXPECT_EQ(ProgramRow(level.pointerSchemeRow), StoredText(kCursorsKey, "").value_or("")) << "pointer scheme";
    EXPECT_EQ(ProgramRow(level.iconSizeRow),
              StoredText(kWindowMetricsKey, ProgramRow(IDS_ICON_SIZE_VALUE_NAME).c_str()).value_or(""))
        << "icon size";
    const IconViewSpacing viewSpacing = {german ? level.germanViewCx : level.englishViewCx, level.viewCy};
    EXPECT_TRUE(viewSpacing == SpacingOf(iconView)) << "the desktop's icon view: " << SpacingOf(iconView).cx << " x "
                                                    << SpacingOf(iconView).cy;

    NONCLIENTMETRICSA nonClient;
    ICONMETRICSA icon;
    ASSERT_TRUE(test_platform::MetricsSeenByAnotherProcess(&nonClient, &icon));
    EXPECT_EQ(german ? level.germanHorizontal : level.englishHorizontal, icon.iHorzSpacing);
    EXPECT_EQ(level.vertical, icon.iVertSpacing);

    const std::string current = StoredText(kAppearanceKey, "Current").value_or("(none)");
    if (variant == Variant::XpStyled) {
        // Frames and fonts are the style's: the window metrics and the scheme stay; the tool switched the size.
        EXPECT_EQ(before.iCaptionHeight, nonClient.iCaptionHeight);
        EXPECT_EQ(before.lfCaptionFont.lfHeight, nonClient.lfCaptionFont.lfHeight);
        EXPECT_EQ(ProgramRow(IDS_XP_SCHEME_NORMAL), current);
        EXPECT_TRUE(styleTool.Finished()) << "the visual-style tool did not run";
        EXPECT_EQ(ProgramRow(level.styleSizeRow),
                  StoredText(style_tool_double::kReportKey, style_tool_double::kArgument).value_or("(not started)"));
        return;
    }
    const BYTE charSet = variant == Variant::Win2000 ? ANSI_CHARSET : DEFAULT_CHARSET;
    const LOGFONTA captionFont = test_platform::TahomaFont(level.captionFontHeight, FW_BOLD, charSet);
    EXPECT_EQ(std::max(level.captionHeight, test_platform::HeightFittingFont(captionFont, false)),
              nonClient.iCaptionHeight);
    EXPECT_EQ(captionFont.lfHeight, nonClient.lfCaptionFont.lfHeight);
    EXPECT_EQ(captionFont.lfCharSet, nonClient.lfCaptionFont.lfCharSet);
    EXPECT_EQ(ProgramRow(variant == Variant::Win2000 ? level.win2000SchemeRow : level.xpSchemeRow), current);
    EXPECT_FALSE(styleTool.Finished()) << "the visual-style tool ran without a visual style";
}

TEST_F(SizeCommand, EachLevelOnEachSystemEndsWithItsSettingsTheNoticeAndTheProgramsEnd) {
    for (const System& system : kSystems) {
        for (const Level& level : kLevels) {
            SCOPED_TRACE(testing::Message() << level.label << " on " << system.label);
            const HWND iconView = Arrange(system);
            ASSERT_NE(nullptr, iconView);
            test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);
            ASSERT_TRUE(styleTool.Installed());
            NONCLIENTMETRICSA before = {};
            if (system.variant == Variant::XpStyled) before = CurrentNonClientMetrics();

            Program program(system.version);
            const HWND dialog = ClickSizeButton(program, level);
            ASSERT_NE(nullptr, dialog);
            ConfirmAndFollowToTheEnd(program, dialog, level, system.variant, nullptr);
            if (HasFatalFailure()) return;
            ExpectSettingsOf(level, system.variant, iconView, before, styleTool);
        }
    }
}

TEST_F(SizeCommand, CommandsSentByAnotherProgramStartTheirLevelsFlow) {
    const System& system = kSystems[1];  // classic XP
    for (const Level& level : kLevels) {
        SCOPED_TRACE(testing::Message() << "command " << level.command << " on " << system.label);
        const HWND iconView = Arrange(system);
        ASSERT_NE(nullptr, iconView);
        test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);

        Program program(system.version);
        const HWND dialog = program.WaitForMainDialog();
        ASSERT_NE(nullptr, dialog);
        // Sent, not posted, and without waiting for the handler, which returns only once the size is applied.
        ASSERT_TRUE(SendNotifyMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(level.command), 0));
        ConfirmAndFollowToTheEnd(program, dialog, level, system.variant, nullptr);
        if (HasFatalFailure()) return;
        ExpectSettingsOf(level, system.variant, iconView, NONCLIENTMETRICSA{}, styleTool);
    }
}

// The dialog's rectangle, state and controls, to compare before and after.
std::string Snapshot(HWND dialog) {
    RECT window = {0, 0, 0, 0};
    GetWindowRect(dialog, &window);
    std::string snapshot = std::to_string(window.left) + "," + std::to_string(window.top) + "," +
                           std::to_string(window.right) + "," + std::to_string(window.bottom) +
                           (IsWindowVisible(dialog) ? " visible" : " hidden") +
                           (IsWindowEnabled(dialog) ? " enabled" : " disabled");
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        snapshot += " " + std::to_string(GetDlgCtrlID(child)) + ":" + e2e::Text(child) +
                    (IsWindowVisible(child) ? "" : ":hidden");
    return snapshot;
}

TEST_F(SizeCommand, ACancelledConfirmationChangesNothingAndTheNextClickAsksAgain) {
    const System& system = kSystems[0];  // a visual style, so that the tool would show any start too
    const HWND iconView = Arrange(system);
    ASSERT_NE(nullptr, iconView);
    test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);
    const std::string settingsBefore = Fingerprint();
    const IconViewSpacing spacingBefore = SpacingOf(iconView);

    Program program(system.version);
    const HWND dialog = program.WaitForMainDialog();
    ASSERT_NE(nullptr, dialog);
    const std::string dialogBefore = Snapshot(dialog);
    const struct {
        const char* way;
        const Level& level;
    } cancels[] = {{"the Cancel button", kLevels[1]}, {"Escape", kLevels[2]}, {"the close box", kLevels[0]}};
    for (const auto& cancel : cancels) {
        SCOPED_TRACE(cancel.way);
        ASSERT_TRUE(e2e::WaitForForeground(dialog));
        e2e::ClickOn(GetDlgItem(dialog, cancel.level.button));
        const HWND confirm = program.WaitForConfirmation();
        ASSERT_NE(nullptr, confirm);
        EXPECT_EQ(ProgramRow(cancel.level.confirmationRow), e2e::Text(GetDlgItem(confirm, IDC_CONFIRM_MESSAGE)));
        ASSERT_TRUE(e2e::WaitForForeground(confirm));
        if (std::string(cancel.way) == "Escape") {
            e2e::PressKey(VK_ESCAPE);
        } else if (std::string(cancel.way) == "the close box") {
            const POINT box = e2e::CloseBoxOf(confirm);
            ASSERT_EQ(HTCLOSE, SendMessageA(confirm, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)));
            e2e::ClickAt(box);
        } else {
            e2e::ClickOn(GetDlgItem(confirm, IDCANCEL));
        }
        ASSERT_TRUE(e2e::WaitUntilGone(confirm));
        e2e::Sync(dialog);
        EXPECT_EQ(dialogBefore, Snapshot(dialog));
        EXPECT_EQ(settingsBefore, Fingerprint());
        EXPECT_TRUE(spacingBefore == SpacingOf(iconView));
        EXPECT_FALSE(styleTool.Finished());
    }
    // Still the same program, and still asking: this time the answer is OK.
    const NONCLIENTMETRICSA before = CurrentNonClientMetrics();
    ASSERT_TRUE(e2e::WaitForForeground(dialog));
    e2e::ClickOn(GetDlgItem(dialog, kLevels[1].button));
    ConfirmAndFollowToTheEnd(program, dialog, kLevels[1], system.variant, nullptr);
    if (HasFatalFailure()) return;
    ExpectSettingsOf(kLevels[1], system.variant, iconView, before, styleTool);
}

TEST_F(SizeCommand, CommandsSentWhileAConfirmationIsUpOrAfterTheSizeWasAppliedAreIgnored) {
    const System& system = kSystems[1];  // classic XP
    const HWND iconView = Arrange(system);
    ASSERT_NE(nullptr, iconView);
    test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);
    Program program(system.version);
    const HWND dialog = ClickSizeButton(program, kLevels[0]);
    ASSERT_NE(nullptr, dialog);
    const HWND confirm = program.WaitForConfirmation();
    ASSERT_NE(nullptr, confirm);

    // Extra Large sent while Normal's confirmation is up: no second confirmation.
    ASSERT_TRUE(SendNotifyMessageA(dialog, WM_COMMAND, IDM_EXTRA_LARGE_SIZE, 0));
    e2e::Sync(dialog);
    e2e::Sync(confirm);
    // Counted shown or not: a second confirmation would exist by now, though perhaps not be shown yet.
    int confirmations = 0;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        confirmations += owner == program.Id() && GetDlgItem(window, IDC_CONFIRM_MESSAGE) && GetDlgItem(window, IDOK) &&
                         !GetDlgItem(window, IDC_NORMAL_SIZE);
    }
    EXPECT_EQ(1, confirmations);
    EXPECT_EQ(ProgramRow(kLevels[0].confirmationRow), e2e::Text(GetDlgItem(confirm, IDC_CONFIRM_MESSAGE)));

    ASSERT_TRUE(e2e::WaitForForeground(confirm));
    ClickOkOf(confirm);
    const HWND notice = program.WaitForChangedNotice();
    ASSERT_NE(nullptr, notice);
    // Large sent to the hidden main window while the notice is up: nothing opens, the program ends as before.
    ASSERT_TRUE(SendNotifyMessageA(dialog, WM_COMMAND, IDM_LARGE_SIZE, 0));
    EXPECT_EQ(nullptr, program.WaitForConfirmation()) << "a confirmation opened before the program ended";
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(0u, exitCode);
    ExpectSettingsOf(kLevels[0], system.variant, iconView, NONCLIENTMETRICSA{}, styleTool);
}

// A logoff asked for while a size is being applied waits: the main window answers the end-session query,
// as its waits answer every sent message, with FALSE, until the notice is up. Queries are sent again and
// again from when the main window hides until the program ends.
TEST_F(SizeCommand, TheEndOfTheSessionIsRefusedWhileASizeIsAppliedAndTheCommandCompletes) {
    for (const System* system : {&kSystems[0], &kSystems[1]}) {
        SCOPED_TRACE(system->label);
        const HWND iconView = Arrange(*system);
        ASSERT_NE(nullptr, iconView);
        test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);
        ASSERT_TRUE(styleTool.Installed());
        NONCLIENTMETRICSA before = {};
        if (system->variant == Variant::XpStyled) before = CurrentNonClientMetrics();

        Program program(system->version);
        const HWND dialog = ClickSizeButton(program, kLevels[1]);
        ASSERT_NE(nullptr, dialog);
        std::atomic<bool> stop(false);
        std::vector<DWORD_PTR> answers;
        std::thread logoff([&] {
            while (!stop && !program.Ended()) {
                if (IsWindow(dialog) && !IsWindowVisible(dialog)) {
                    DWORD_PTR answer = 0;
                    if (SendMessageTimeoutA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, e2e::kWaitMs,
                                            &answer))
                        answers.push_back(answer);
                }
                Sleep(50);
            }
        });
        ConfirmAndFollowToTheEnd(program, dialog, kLevels[1], system->variant, nullptr);
        stop = true;
        logoff.join();
        if (HasFatalFailure()) return;

        // FALSE while the size was applied, TRUE only once it was done, never FALSE again after.
        ASSERT_FALSE(answers.empty()) << "no query was answered";
        EXPECT_EQ(FALSE, answers.front()) << "the first query, sent as the main window hid, was not refused";
        const auto firstTrue = std::find(answers.begin(), answers.end(), static_cast<DWORD_PTR>(TRUE));
        EXPECT_GE(firstTrue - answers.begin(), 2) << "too few queries refused during the command's waits";
        EXPECT_EQ(answers.end(), std::find(firstTrue, answers.end(), static_cast<DWORD_PTR>(FALSE)))
            << "a query refused after one was accepted";
        ExpectSettingsOf(kLevels[1], system->variant, iconView, before, styleTool);
    }
}

// ---- The user's colours around the visual-style switch ----
// Colours no style brings, set as the user's own before a command.
const struct {
    int index;
    COLORREF color;
} kUserLiveColors[] = {{COLOR_3DFACE, RGB(250, 240, 230)}, {COLOR_HIGHLIGHT, RGB(120, 0, 60)},
                       {COLOR_WINDOW, RGB(240, 250, 200)}, {COLOR_BTNTEXT, RGB(1, 80, 160)}};
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
    const HWND dialog = ClickSizeButton(program, kLevels[1]);
    ASSERT_NE(nullptr, dialog);
    const HWND confirm = program.WaitForConfirmation();
    ASSERT_NE(nullptr, confirm);
    ASSERT_TRUE(e2e::WaitForForeground(confirm));
    ClickOkOf(confirm);
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
    EXPECT_EQ(theme_library_stand_in::kDisturbedColors[2].color, colors[theme_library_stand_in::kDisturbedColors[2].index]);
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
// install do: a Large command ends with the tool's message box, in the user's language, and leaves the
// style and the colours as they were. The test style, which offers every size, is switched without a box.
TEST_F(SizeCommand, TheRealStyleToolTellsTheUserWhenTheStyleLacksTheSizeAndSwitchesAStyleThatHasIt) {
    const std::string wineStyle = StoredText(kThemeManagerKey, "DllName").value_or("");
    const std::string wineColor = StoredText(kThemeManagerKey, "ColorName").value_or("");
    ASSERT_NE(std::string::npos, wineStyle.find("light.msstyles")) << wineStyle;
    const struct {
        const char* label;
        std::string file, color;
        DWORD exitCode;
        const wchar_t* message;  // in the run's language; null: no message box
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
        const HWND dialog = ClickSizeButton(program, kLevels[1]);
        ASSERT_NE(nullptr, dialog);
        ConfirmAndFollowToTheEnd(program, dialog, kLevels[1], Variant::XpStyled, nullptr);
        if (HasFatalFailure()) return;

        // The program has ended; the tool, which started a second after the click, has ended by now unless
        // its message box waits for the user.
        HANDLE toolProcess = StyleToolProcess();
        const HWND box = MessageBoxUp();
        if (c.message) {
            ASSERT_NE(nullptr, toolProcess) << "the tool ended without a message box";
            ASSERT_NE(nullptr, box);
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            EXPECT_EQ(GetProcessId(toolProcess), owner) << "the message box is not the tool's";
            EXPECT_EQ(L"Optivue", WideText(box));
            EXPECT_EQ(c.message, WideText(GetDlgItem(box, 0xFFFF)));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(toolProcess, e2e::kWaitMs));
            DWORD exitCode = 0xFFFFFFFF;
            GetExitCodeProcess(toolProcess, &exitCode);
            EXPECT_EQ(c.exitCode, exitCode);
        } else {
            EXPECT_EQ(nullptr, box) << "a message box: " << e2e::Text(GetDlgItem(box, 0xFFFF));
            EXPECT_EQ(nullptr, toolProcess) << "the tool still runs";
        }
        if (toolProcess) CloseHandle(toolProcess);
        EXPECT_EQ(c.file, StoredText(kThemeManagerKey, "DllName").value_or("(none)"));
        EXPECT_EQ(c.color, StoredText(kThemeManagerKey, "ColorName").value_or("(none)"));
        EXPECT_EQ(c.sizeAfter, StoredText(kThemeManagerKey, "SizeName").value_or("(none)"));
        ExpectUserLiveColors();
        ExpectUserStoredColors();
    }
}

// ---- The benchmark: from the click on OK to the program's end ----
// A benchmark, not a test: run it with tests/wine/benchmark. For the Large size on each variant, the time
// from the click on OK to the program's end beside the waits the program makes on purpose; what lies above
// them, the overhead, is split by Wine's relay trace into its parts, and set beside what the same calls
// cost a trivial caller, the part that belongs to Wine and the machine.

using e2e::Floors;
using e2e::Ms;
using e2e::Overhead;
using e2e::PrintRow;
using e2e::Share;

TEST_F(SizeCommand, DISABLED_BenchmarkFromOkToTheEnd) {
    const struct {
        const System& system;
        DWORD fixedToNoticeMs;
    } variants[] = {
        {kSystems[0], FixedWaitsToNoticeMs(Variant::XpStyled)},
        {kSystems[1], FixedWaitsToNoticeMs(Variant::XpClassic)},
        {kSystems[4], FixedWaitsToNoticeMs(Variant::Win2000)},
    };
    const int runs = e2e::BenchmarkRuns();
    struct Row {
        long startToClick, overhead, traced;
        Overhead parts;  // each part the median of the traced runs
    };
    std::vector<Row> rows;
    for (const auto& variant : variants) {
        std::vector<long> startToClick, overhead, traced;
        std::vector<Overhead> split;
        for (int run = 0; run < 2 * runs; ++run) {
            const bool tracing = run % 2 == 1;
            SCOPED_TRACE(testing::Message() << variant.system.label << ", run " << run / 2 + 1
                                            << (tracing ? ", traced" : ""));
            // Each run from the same settings: the tool leaves a stored colour too long to be saved, after
            // which the switch would enumerate the colours up to its last index.
            const test_platform::SavedUserSettings settings(kTouchedKeys);
            Arrange(variant.system);
            test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);
            std::optional<e2e::RelayTrace> trace;
            if (tracing) trace.emplace(e2e::kTracedFunctions);
            ASSERT_TRUE(!trace || trace->Available()) << "no trace file: run the benchmark with tests/wine/benchmark";
            const DWORD started = GetTickCount();
            const std::unique_ptr<Program> program =
                trace ? trace->Start(variant.system.version) : std::make_unique<Program>(variant.system.version);
            const HWND dialog = program->WaitForMainDialog();
            ASSERT_NE(nullptr, dialog);
            ASSERT_TRUE(e2e::WaitForForeground(dialog));
            e2e::ClickOn(GetDlgItem(dialog, kLevels[1].button));
            e2e::Timings timings;
            ConfirmAndFollowToTheEnd(*program, dialog, kLevels[1], variant.system.variant, &timings);
            if (HasFatalFailure()) return;
            const long beyond = static_cast<long>(timings.ended - timings.clicked) -
                                static_cast<long>(variant.fixedToNoticeMs + kNoticeMs);
            if (!tracing) {
                startToClick.push_back(static_cast<long>(timings.clicked - started));
                overhead.push_back(beyond);
                continue;
            }
            Overhead parts;
            std::string why;
            ASSERT_TRUE(e2e::SplitOverhead(trace->CallsOf(program->Id()), timings, variant.fixedToNoticeMs, kNoticeMs,
                                           &parts, &why))
                << why;
            traced.push_back(beyond);
            split.push_back(parts);
        }
        Row row = {e2e::Median(startToClick), e2e::Median(overhead), e2e::Median(traced), split.front()};
        const auto median = [&split](long Overhead::*part) {
            std::vector<long> values;
            for (const Overhead& parts : split) values.push_back(parts.*part);
            return e2e::Median(values);
        };
        for (long Overhead::*part :
             {&Overhead::okTaken, &Overhead::okInProgram, &Overhead::procedure, &Overhead::broadcasts, &Overhead::shell,
              &Overhead::pausesOver, &Overhead::notice, &Overhead::end, &Overhead::received, &Overhead::answering})
            row.parts.*part = median(part);
        rows.push_back(row);
    }

    std::vector<UINT> actions;
    for (const Row& row : rows)
        for (UINT action : row.parts.broadcastActions)
            if (std::find(actions.begin(), actions.end(), action) == actions.end()) actions.push_back(action);
    const Floors floors = e2e::MeasureFloors(runs, actions);
    if (HasFatalFailure()) return;

    PrintRow("size command, Large", {"runs", "to OK", "fixed", "overhead", "traced", "OK", "proc", "bcast", "shell",
                                     "pauses", "notice", "end", "received", "floors", "above floors"});
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const Overhead& parts = row.parts;
        const DWORD fixed = variants[i].fixedToNoticeMs + kNoticeMs;
        double broadcastFloor = 0;
        for (UINT action : parts.broadcastActions) broadcastFloor += floors.broadcast.at(action);
        const double shellFloor = parts.shellNotifies * floors.shellNotify + parts.shellStarts * floors.shellStart;
        const double pausesFloor = parts.pauses * floors.pauseOver;
        // Each floor counts up to its part: a trivial caller slower than the program takes nothing off the rest.
        double floorSum = 0;
        const double okFloor = parts.okTaken - parts.okInProgram;
        for (const auto& [part, floor] : {std::pair<long, double>{parts.okTaken, okFloor},
                                          {parts.broadcasts, broadcastFloor},
                                          {parts.shell, shellFloor},
                                          {parts.pausesOver, pausesFloor},
                                          {parts.notice, floors.notice},
                                          {parts.end, floors.end}})
            floorSum += std::min(static_cast<double>(part), floor);
        char traced[32], received[32];
        std::snprintf(traced, sizeof traced, "%ldms (%+ld)", row.traced, row.traced - row.overhead);
        std::snprintf(received, sizeof received, "%ld in %s", parts.received, Ms(parts.answering).c_str());
        const double above = row.overhead - floorSum;
        PrintRow(variants[i].system.label,
                 {std::to_string(runs), Ms(row.startToClick), Ms(fixed),
                  Ms(row.overhead) + " (" + Share(row.overhead, fixed) + ")", traced, Ms(parts.okTaken),
                  Ms(parts.procedure), Ms(parts.broadcasts), Ms(parts.shell), Ms(parts.pausesOver), Ms(parts.notice),
                  Ms(parts.end), received, Ms(floorSum), Ms(above) + " (" + Share(above, fixed) + ")"});
        PrintRow("  floors of its calls", {"", "", "", "", "", Ms(okFloor), "", Ms(broadcastFloor),
                                           Ms(shellFloor), Ms(pausesFloor), Ms(floors.notice), Ms(floors.end)});
    }
    std::printf(
        "(medians of %d untraced and %d traced runs each. to OK: the process's start to the click on OK; fixed: the\n"
        "waits the program makes on purpose from OK to its end; overhead: OK to the end beyond them, untraced, and\n"
        "its share of them; traced: the same with Wine's relay trace on, and what the trace adds. The traced\n"
        "overhead in parts that add up to it: OK: the click to the confirmation's end; proc: the procedure's own\n"
        "work, its code and its other calls (registry, the icon view, hiding the window); bcast: in its\n"
        "SystemParametersInfoA calls with SPIF_SENDCHANGE and SetSysColors; shell: in SHChangeNotify and\n"
        "ShellExecuteA; pauses: beyond their lengths; notice: the last pause's end to the notice up, its timer\n"
        "armed; end: the notice's %lu ms to the process gone. received: other programs' broadcasts answered during\n"
        "the pauses, and the time it took (no overhead). floors: the part of Wine and the machine, what the same\n"
        "calls cost a trivial caller (this driver; bare_dialog.exe from its close to its end), and for OK the part\n"
        "outside the program's dialog procedure; their sum counts each up to its part. above floors: the overhead\n"
        "less them, and its share of the waits.)\n",
        runs, runs, static_cast<unsigned long>(kNoticeMs));
}

}  // namespace
