// Start-up as the user meets it: a second copy, an unsupported system and a small screen.
#include "res/resource_ids.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/input.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using e2e::Program;

const char* const kUnsupportedSystem = "This application requires Windows 2000/Xp or later.";
const char* const kScreenTooSmall = "Set Display setting over 1024*768 pixel.";
const char* const kProgramKey = test_keys::kProgram;

// Reads each message box in turn, checks it and presses Enter on it, then waits for the program to end.
void ExpectMessagesThenEnd(Program& program, const std::vector<const char*>& messages) {
    for (const char* message : messages) {
        SCOPED_TRACE(message);
        const HWND box = program.WaitForMessageBox();
        ASSERT_NE(nullptr, box) << ::testing::PrintToString(program.VisibleWindows());
        EXPECT_EQ(message, e2e::Text(GetDlgItem(box, 0xFFFF)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDOK)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDCANCEL)));
        // The only window of the program on screen.
        EXPECT_EQ(std::vector<std::string>{"#32770 \"Optivue\""}, program.VisibleWindows());
        EXPECT_EQ(nullptr, GetDlgItem(box, IDC_NORMAL_SIZE)) << "the box is not the main dialog";
        ASSERT_TRUE(e2e::WaitForForeground(box)) << "the message box never became the active window";
        e2e::PressKey(VK_RETURN);
        ASSERT_TRUE(e2e::WaitUntilGone(box)) << "Enter did not close the message box";
    }
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(program.WindowsSeen().empty()) << ::testing::PrintToString(program.WindowsSeen());
}

TEST(UnsupportedSystem, ShowsRow111AndEndsWithoutAMainWindow) {
    for (const char* version : {"win98", "nt40"}) {
        SCOPED_TRACE(version);
        Program program(version);
        ExpectMessagesThenEnd(program, {kUnsupportedSystem});
    }
    e2e::UseVersion(nullptr);
}

TEST(SmallScreen, ShowsRow112AndOnAnUnsupportedSystemRow111First) {
    ASSERT_TRUE(GetSystemMetrics(SM_CXSCREEN) < 1024 || GetSystemMetrics(SM_CYSCREEN) < 768)
        << "run on a screen smaller than 1024 x 768";
    {
        // A follow-up run is asked for as well: it still happens after the message.
        SCOPED_TRACE("winxp, follow-up run");
        const std::string shortcut = e2e::StartupFolder() + "\\Optivue.lnk";
        e2e::CreateFileWithText(shortcut);
        test_platform::PutValue(kProgramKey, "Changed", REG_DWORD, {1, 0, 0, 0});
        Program program("winxp");
        ExpectMessagesThenEnd(program, {kScreenTooSmall});
        EXPECT_FALSE(e2e::FileExists(shortcut));
        const test_platform::StoredValue changed = test_platform::GetValue(kProgramKey, "Changed");
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), changed.type);
        EXPECT_EQ((std::vector<BYTE>{0, 0, 0, 0}), changed.data);
        test_platform::DeleteKeyTree(kProgramKey);
    }
    {
        SCOPED_TRACE("win98");
        Program program("win98");
        ExpectMessagesThenEnd(program, {kUnsupportedSystem, kScreenTooSmall});
    }
    e2e::UseVersion(nullptr);
}

// A window of the driver's own that the user is working in.
class OtherApplicationWindow {
public:
    OtherApplicationWindow() {
        window_ = CreateWindowExA(0, "STATIC", "Other application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(window_);
    }
    ~OtherApplicationWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

private:
    HWND window_;
};

TEST(StartUp, ASecondCopyEndsShowingNothingAndLeavesTheFirstWhereItWas) {
    Program first;
    const HWND dialog = first.WaitForMainDialog();
    ASSERT_NE(nullptr, dialog);
    OtherApplicationWindow other;
    ASSERT_EQ(other.Get(), GetForegroundWindow());

    Program second;
    ASSERT_TRUE(second.Started());
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(&exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(second.WindowsSeen().empty()) << ::testing::PrintToString(second.WindowsSeen());
    EXPECT_EQ(other.Get(), GetForegroundWindow()) << "the first copy is not brought to the front";
    EXPECT_TRUE(IsWindowVisible(dialog));
}

}  // namespace
