// The size commands as the user meets them: a click on a size button, the confirmation, the main window
// going, the settings of the level on the running system, "Settings have changed." for about two seconds
// and the program's end with 0; or a cancelled confirmation that leaves everything as it was. Each level on
// Windows XP with and without a visual style (ThemeActive "1", "0", missing, its key missing) and on
// Windows 2000, in the run's language; the same commands sent by another program, ignored while a
// confirmation is up or after the size was applied, and the end of the session refused meanwhile. The
// user's colours around the visual-style switch are size_command_colors_e2e.cpp's.
#include "res/resource_ids.h"
#include "settings/visual_style.h"
#include "tests/fixtures/style_tool_double.h"
#include "tests/fixtures/theme_library_stand_in.h"
#include "tests/support/registry_keys.h"
#include "tests/support/style_tool.h"
#include "tests/support/system_theme_library.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/input.h"
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
    EXPECT_TRUE(viewSpacing == SpacingOf(iconView))
        << "the desktop's icon view: " << SpacingOf(iconView).cx << " x " << SpacingOf(iconView).cy;

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

// Close, Cancel and About posted to the main window while a size is applied wait in its queue until the
// command ends; there they are dropped, so that the notice stays its whole time and nothing opens.
TEST_F(SizeCommand, RequestsPostedWhileASizeIsAppliedAreDroppedAndTheNoticeStaysItsTime) {
    const System& system = kSystems[1];  // classic XP
    const HWND iconView = Arrange(system);
    ASSERT_NE(nullptr, iconView);
    test_platform::StyleToolDouble styleTool(test_platform::StyleToolDouble::Place::kInstallationFolder);
    Program program(system.version);
    const HWND dialog = ClickSizeButton(program, kLevels[1]);
    ASSERT_NE(nullptr, dialog);
    std::atomic<bool> posted(false);
    std::thread poster([&] {
        e2e::WaitUntil([&] { return program.Ended() || (IsWindow(dialog) && !IsWindowVisible(dialog)); });
        posted = PostMessageA(dialog, WM_CLOSE, 0, 0) && PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0) &&
                 PostMessageA(dialog, WM_SYSCOMMAND, IDM_ABOUT, 0);
    });
    ConfirmAndFollowToTheEnd(program, dialog, kLevels[1], system.variant, nullptr);
    poster.join();
    if (HasFatalFailure()) return;
    EXPECT_TRUE(posted) << "the requests were not posted while the size was applied";
    for (const std::string& seen : program.WindowsSeen())
        EXPECT_EQ(std::string::npos, seen.find("About Optivue")) << "the About box opened";
    ExpectSettingsOf(kLevels[1], system.variant, iconView, NONCLIENTMETRICSA{}, styleTool);
}

}  // namespace
