// Size commands that cannot change everything, as the user meets them: no "Settings have changed.", but a
// box in the user's language that says what changed, what did not and what to do, and after its OK the
// program's end with 1. The style tool missing, a key the writer cannot create, and a shell that stops
// answering during the command. (The style tool refusing a size is size_command_colors_e2e.cpp's, beside
// the real tool's other tests.)
#include "res/resource_ids.h"
#include "settings/size_aspects.h"
#include "settings/visual_style.h"
#include "tests/fixtures/desktop_fixture.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/size_command_steps.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace size_command;
using test_platform::GetValue;
using test_platform::StoredText;

class NotChanged : public SizeCommand {};

// The settings that the command could change are in place all the same.
void ExpectTextSizePointersAndIconSize(const Level& level) {
    EXPECT_EQ((std::vector<BYTE>{level.textSize, 0, 0, 0}), GetValue(kBrowserKey, "IEFontSize").data);
    EXPECT_EQ(ProgramRow(level.pointerSchemeRow), StoredText(kCursorsKey, "").value_or(""));
    EXPECT_EQ(ProgramRow(level.iconSizeRow),
              StoredText(kWindowMetricsKey, ProgramRow(IDS_ICON_SIZE_VALUE_NAME).c_str()).value_or(""));
}

TEST_F(NotChanged, WithoutTheStyleToolTheBoxNamesTheStylesSizeAndAsksToInstallAgain) {
    const System& system = kSystems[0];  // a visual style
    ASSERT_NE(nullptr, Arrange(system));
    DeleteFileA(kStyleToolPath);
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(kStyleToolPath));

    Program program(system.version);
    const HWND dialog = ClickSizeButtonAndOk(program, kLevels[1]);
    ASSERT_NE(nullptr, dialog);
    ExpectNotChangedBoxAndEnd(program, dialog, NotChangedText(Variant::XpStyled, kStyleSizeAspect, true));
    if (HasFatalFailure()) return;
    ExpectTextSizePointersAndIconSize(kLevels[1]);
}

// An administrator's lock on a key, which Wine does not enforce, played by a parent key made volatile: no
// key below it may be created non-volatile, as on Windows.
TEST_F(NotChanged, AKeyTheWriterCannotCreateIsNamedInTheBox) {
    const System& system = kSystems[1];  // classic XP
    ASSERT_NE(nullptr, Arrange(system));
    const std::string browserKey = kBrowserKey;
    const std::string international = browserKey.substr(0, browserKey.find("\\Scripts"));
    test_platform::DeleteKeyTree(international.c_str());
    HKEY locked = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, international.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &locked, nullptr));
    RegCloseKey(locked);

    Program program(system.version);
    const HWND dialog = ClickSizeButtonAndOk(program, kLevels[2]);
    ASSERT_NE(nullptr, dialog);
    ExpectNotChangedBoxAndEnd(program, dialog, NotChangedText(Variant::XpClassic, kTextSizeAspect, false));
    EXPECT_FALSE(GetValue(kBrowserKey, "IEFontSize").exists);
    EXPECT_EQ(ProgramRow(kLevels[2].pointerSchemeRow), StoredText(kCursorsKey, "").value_or(""));
    test_platform::DeleteKeyTree(international.c_str());
}

// The shell's thread stops answering as the command starts, for longer than the command can take: each
// message to its icon view costs its bound, the box names the desktop icons, and a logoff asked for while
// the box is up is not refused.
TEST_F(NotChanged, AShellThatStopsAnsweringCostsTheCommandItsBoundAndIsNamedInTheBox) {
    const System& system = kSystems[1];  // classic XP
    const HWND iconView = Arrange(system);
    ASSERT_NE(nullptr, iconView);
    const HWND progman = FindWindowExA(nullptr, nullptr, "Progman", "Program Manager");
    ASSERT_NE(nullptr, progman);
    HANDLE answerAgain = CreateEventA(nullptr, TRUE, FALSE, desktop_fixture::kAnswerAgainEvent);
    ASSERT_NE(nullptr, answerAgain);
    constexpr DWORD kHangMs = 240000;

    Program program(system.version);
    const HWND dialog = ClickSizeButton(program, kLevels[1]);
    ASSERT_NE(nullptr, dialog);
    const HWND confirm = program.WaitForConfirmation();
    ASSERT_NE(nullptr, confirm);
    ASSERT_TRUE(e2e::WaitForForeground(confirm));
    ASSERT_TRUE(PostMessageA(progman, desktop_fixture::kStopAnswering, kHangMs, 0));
    const DWORD hung = GetTickCount();
    ClickOkOf(confirm);

    ASSERT_TRUE(e2e::WaitUntil([dialog] { return !IsWindowVisible(dialog); }));
    const HWND box = program.WaitForMessageBox();
    const DWORD boxAfterMs = GetTickCount() - hung;
    ASSERT_NE(nullptr, box) << ::testing::PrintToString(program.VisibleWindows());
    EXPECT_LT(boxAfterMs, kHangMs) << "the command waited for the shell";
    DWORD_PTR answer = 0;
    ASSERT_TRUE(
        SendMessageTimeoutA(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, e2e::kWaitMs, &answer));
    EXPECT_EQ(static_cast<DWORD_PTR>(TRUE), answer) << "a logoff refused while the box is up";
    ExpectNotChangedBoxAndEnd(program, dialog, NotChangedText(Variant::XpClassic, kDesktopIconsAspect, false));
    SetEvent(answerAgain);
    CloseHandle(answerAgain);
    std::printf("the box came %lu ms after the shell stopped answering\n", static_cast<unsigned long>(boxAfterMs));
    if (HasFatalFailure()) return;
    ExpectTextSizePointersAndIconSize(kLevels[1]);
}

}  // namespace
