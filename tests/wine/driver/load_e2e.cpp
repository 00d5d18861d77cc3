// Many starts at once, as a logon with several start entries or an impatient double click gives them:
// twenty copies let go at the same moment show exactly one main window, and every other copy ends at once
// without showing anything; a follow-up run asked for and started twice at once happens once, and the flag
// and the shortcut are gone afterwards.
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using e2e::Program;

// Starts `count` copies held, then lets them all go.
std::vector<std::unique_ptr<Program>> StartTogether(int count) {
    std::vector<std::unique_ptr<Program>> copies;
    for (int i = 0; i < count; ++i) copies.push_back(std::make_unique<Program>(e2e::ProgramPath(), "", nullptr, true));
    for (auto& copy : copies) copy->Resume();
    return copies;
}

TEST(Load, TwentyCopiesStartedTogetherShowOneMainWindowAndTheOthersEndAtOnce) {
    constexpr int kCopies = 20;
    for (int round = 1; round <= 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<std::unique_ptr<Program>> copies = StartTogether(kCopies);
        for (const auto& copy : copies) ASSERT_TRUE(copy->Started());

        // Every copy but one ends by itself; what each shows meanwhile is recorded.
        std::vector<std::vector<std::string>> seen(kCopies);
        const auto ended = [&copies] {
            int count = 0;
            for (const auto& copy : copies) count += copy->Ended();
            return count;
        };
        const bool settled = e2e::WaitUntil([&] {
            for (int i = 0; i < kCopies; ++i)
                for (const std::string& window : copies[i]->VisibleWindows()) seen[i].push_back(window);
            return ended() == kCopies - 1;
        });
        ASSERT_TRUE(settled) << ended() << " copies ended";

        Program* survivor = nullptr;
        for (int i = 0; i < kCopies; ++i) {
            if (!copies[i]->Ended()) {
                survivor = copies[i].get();
                continue;
            }
            DWORD exitCode = 1;
            ASSERT_TRUE(copies[i]->WaitForExit(&exitCode));
            EXPECT_EQ(0u, exitCode) << "copy " << i;
            EXPECT_TRUE(seen[i].empty()) << "copy " << i << ": " << ::testing::PrintToString(seen[i]);
        }
        ASSERT_NE(nullptr, survivor);
        const HWND dialog = survivor->WaitForMainDialog();
        ASSERT_NE(nullptr, dialog) << "the copy left shows no main window";
        EXPECT_EQ(std::vector<std::string>{"#32770 \"Optivue\""}, survivor->VisibleWindows());

        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(survivor->WaitForExit(&exitCode));
        EXPECT_EQ(0u, exitCode);
    }
}

// Every top-level window of the process, shown or not, for a report.
std::vector<std::string> AllWindowsOf(DWORD processId) {
    std::vector<std::string> windows;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            windows.push_back(e2e::ClassName(window) + " \"" + e2e::Text(window) + "\"" +
                              (IsWindowVisible(window) ? "" : " hidden"));
    }
    return windows;
}

TEST(Load, AFollowUpRunStartedTwiceAtOnceHappensOnceAndLeavesTheFlagCleared) {
    const std::string shortcut = e2e::StartupFolder() + "\\Optivue.lnk";
    const HWND iconView = test_platform::DesktopIconView(0);
    ASSERT_NE(nullptr, iconView);
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        test_platform::PutValue(test_keys::kProgram, "Changed", REG_DWORD, {1, 0, 0, 0});
        e2e::CreateFileWithText(shortcut);

        std::vector<std::unique_ptr<Program>> copies = StartTogether(2);
        // The copy that finds the other still running ends at once. One that starts only after the other has
        // done the follow-up run and ended finds the flag cleared: a normal start, with the main window.
        int normalStarts = 0;
        for (const auto& copy : copies) {
            const bool ended = e2e::WaitUntil([&copy] { return copy->Ended() || !copy->VisibleWindows().empty(); });
            ASSERT_TRUE(ended) << "copy " << copy->Id() << " neither ends nor shows a window";
            if (!copy->Ended()) {
                const HWND dialog = copy->WaitForMainDialog();
                ASSERT_NE(nullptr, dialog) << ::testing::PrintToString(AllWindowsOf(copy->Id()));
                ++normalStarts;
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            DWORD exitCode = 1;
            ASSERT_TRUE(copy->WaitForExit(&exitCode))
                << "copy " << copy->Id()
                << " still runs; its windows: " << ::testing::PrintToString(AllWindowsOf(copy->Id()));
            EXPECT_EQ(0u, exitCode);
        }
        EXPECT_LE(normalStarts, 1) << "the follow-up run did not happen";
        EXPECT_EQ((std::vector<BYTE>{0, 0, 0, 0}), test_platform::GetValue(test_keys::kProgram, "Changed").data);
        EXPECT_FALSE(e2e::FileExists(shortcut));
    }
}

}  // namespace
