// The follow-up run seen through the simulated platform's journal: the whole sequence in its order, how
// the flag "Changed" is read whatever is stored there, and what each failure leaves.
#include "app/follow_up_run.h"
#include "tests/support/journal_steps.h"
#include "tests/support/registry_keys.h"

#include <commctrl.h>
#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using journal_steps::Steps;
using journal_steps::StepsStartingWith;
using simwin::machine;

const std::string kProgramKeyPath = test_keys::InCurrentUser(test_keys::kProgram);
const std::string kStartup = "C:\\Documents and Settings\\User\\Start Menu\\Programs\\Startup";
const std::string kShortcut = kStartup + "\\Optivue.lnk";
const std::string kOtherShortcut = kStartup + "\\Other.lnk";

std::string Number(HWND window) { return std::to_string(reinterpret_cast<uintptr_t>(window)); }
std::string Number(LONG value) { return std::to_string(static_cast<DWORD>(value)); }

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
    std::vector<BYTE> bytes;
    for (int v : values) bytes.push_back(static_cast<BYTE>(v));
    return bytes;
}

class FollowUpRunTest : public testing::Test {
protected:
    void SetUp() override {
        simwin::Reset();
        desktop_ = simwin::CreateDesktop();
        dialog_ = machine().windows.Create("#32770", "Optivue", nullptr, static_cast<LONG>(WS_POPUP));
        machine().kernel.startupFolder = kStartup;
        machine().kernel.AddFile(kShortcut);
        machine().kernel.AddFile(kOtherShortcut);
    }

    void SetChanged(DWORD type, const std::vector<BYTE>& data) {
        machine().registry.SetValue(kProgramKeyPath, "Changed", type, data);
    }

    simwin::Window& IconView() { return *machine().windows.Find(desktop_.iconView); }
    std::optional<INT_PTR> DialogResult() { return machine().windows.Find(dialog_)->dialogResult; }

    // "Changed" is there as REG_DWORD 0.
    void ExpectChangedCleared() {
        const simwin::RegValue* changed = machine().registry.Value(kProgramKeyPath, "Changed");
        ASSERT_NE(nullptr, changed);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), changed->type);
        EXPECT_EQ(Bytes({0, 0, 0, 0}), changed->data);
    }

    simwin::Desktop desktop_;
    HWND dialog_ = nullptr;
};

TEST_F(FollowUpRunTest, AFollowUpRunRelaysTheIconsClearsTheFlagDeletesTheShortcutAndEndsTheDialogInThatOrder) {
    // The view starts in the list view type (both type bits set), so that every style step shows.
    const LONG otherBits = IconView().style & ~LVS_TYPEMASK;
    IconView().style = otherBits | LVS_LIST;
    SetChanged(REG_DWORD, Bytes({1, 0, 0, 0}));

    CheckFollowUpRun(dialog_);

    const std::vector<std::string> expected = {
        R"(query Software\Korvani\optiv [Changed] -> 0)",
        R"(FindWindowExA(NULL, NULL, "Progman", "Program Manager" => hwnd#1) -> )" + Number(desktop_.progman),
        R"(FindWindowExA(hwnd#1, NULL, "SHELLDLL_DefView", "" => hwnd#2) -> )" + Number(desktop_.shellView),
        R"(FindWindowExA(hwnd#2, NULL, "SysListView32", NULL => hwnd#3) -> )" + Number(desktop_.iconView),
        "SendMessageA(hwnd#3, WM_SETREDRAW, 0x0, 0x0) -> 0",
        "Sleep(0) -> 0",
        "GetWindowLongA(hwnd#3, GWL_STYLE) -> " + Number(otherBits | LVS_LIST),
        "SetWindowLongA(hwnd#3, GWL_STYLE, " + simwin::Hex(static_cast<DWORD>(otherBits | LVS_ICON)) + ") -> " +
            Number(otherBits | LVS_LIST),
        "Sleep(0) -> 0",
        "GetWindowLongA(hwnd#3, GWL_STYLE) -> " + Number(otherBits | LVS_ICON),
        "SetWindowLongA(hwnd#3, GWL_STYLE, " + simwin::Hex(static_cast<DWORD>(otherBits | LVS_SMALLICON)) + ") -> " +
            Number(otherBits | LVS_ICON),
        "Sleep(0) -> 0",
        "GetWindowLongA(hwnd#3, GWL_STYLE) -> " + Number(otherBits | LVS_SMALLICON),
        "SetWindowLongA(hwnd#3, GWL_STYLE, " + simwin::Hex(static_cast<DWORD>(otherBits | LVS_ICON)) + ") -> " +
            Number(otherBits | LVS_SMALLICON),
        "Sleep(0) -> 0",
        "SendMessageA(hwnd#3, LVM_ARRANGE, 0x0, 0x0) -> 1",
        "Sleep(0) -> 0",
        "SendMessageA(hwnd#3, WM_SETREDRAW, 0x1, 0x0) -> 0",
        "Sleep(0) -> 0",
        "UpdateWindow(hwnd#3) -> 1",
        R"(set Software\Korvani\optiv [Changed] REG_DWORD 4 -> 0)",
        "SHGetFolderPathW(NULL, 0x7, NULL, 0 => " + simwin::Quote(kStartup.c_str()) + ") -> 0",
        "WideCharToMultiByte(0, 0x400, " + simwin::Quote(kStartup.c_str()) + ", -1, buffer, 520) -> " +
            std::to_string(kStartup.size() + 1),
        "SHGetFolderPathA(NULL, 0x7, NULL, 0 => " + simwin::Quote(kStartup.c_str()) + ") -> 0",
        "DeleteFileA(" + simwin::Quote(kShortcut.c_str()) + ") -> 1",
        "EndDialog(hwnd#4, 0) -> 1",
        R"(set Software\Korvani\optiv [Changed] REG_DWORD 4 -> 0)",
    };
    EXPECT_EQ(expected, Steps());

    EXPECT_EQ(otherBits | LVS_ICON, IconView().style);
    EXPECT_EQ(std::vector<WPARAM>{LVA_DEFAULT}, IconView().listView->arrangements);
    EXPECT_TRUE(IconView().listView->redraw);
    EXPECT_FALSE(machine().kernel.FileExists(kShortcut));
    EXPECT_TRUE(machine().kernel.FileExists(kOtherShortcut)) << "only Optivue.lnk goes";
    EXPECT_EQ(std::optional<INT_PTR>(0), DialogResult());
    ExpectChangedCleared();
    EXPECT_EQ(0u, machine().clock.NowMs());
}

TEST_F(FollowUpRunTest, ThePriorViewTypeDoesNotMatterAndTheOtherStyleBitsStay) {
    for (LONG type : {LVS_ICON, LVS_REPORT, LVS_SMALLICON, LVS_LIST}) {
        SCOPED_TRACE("view type " + std::to_string(type));
        SetUp();
        const LONG otherBits = (IconView().style & ~LVS_TYPEMASK) | 0x0800;  // LVS_ALIGNLEFT, say
        IconView().style = otherBits | type;
        SetChanged(REG_DWORD, Bytes({1, 0, 0, 0}));
        CheckFollowUpRun(dialog_);
        EXPECT_EQ(otherBits | LVS_ICON, IconView().style);
        EXPECT_EQ(1u, IconView().listView->arrangements.size());
    }
}

TEST_F(FollowUpRunTest, TheFlagCountsWhenItIsAnyNonZeroValueOfExactlyFourBytes) {
    const struct {
        const char* label;
        DWORD type;
        std::vector<BYTE> data;
        bool followUp;
    } rows[] = {
        {"REG_DWORD 1", REG_DWORD, Bytes({1, 0, 0, 0}), true},
        {"REG_DWORD 0x80000000", REG_DWORD, Bytes({0, 0, 0, 0x80}), true},
        {"REG_BINARY of 4 bytes", REG_BINARY, Bytes({0, 1, 0, 0}), true},
        {"REG_DWORD 0", REG_DWORD, Bytes({0, 0, 0, 0}), false},
        {"REG_SZ \"1\"", REG_SZ, Bytes({'1', 0}), false},
        {"REG_SZ \"123\" (4 bytes with its NUL)", REG_SZ, Bytes({'1', '2', '3', 0}), true},
        {"REG_BINARY of 2 bytes", REG_BINARY, Bytes({1, 0}), false},
        {"REG_QWORD 1", REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 0}), false},
        {"empty REG_BINARY", REG_BINARY, {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        SetUp();
        SetChanged(row.type, row.data);
        CheckFollowUpRun(dialog_);
        EXPECT_EQ(row.followUp, DialogResult().has_value());
        EXPECT_EQ(row.followUp, !machine().kernel.FileExists(kShortcut));
        EXPECT_EQ(row.followUp ? 1u : 0u, IconView().listView->arrangements.size());
        ExpectChangedCleared();
    }
}

TEST_F(FollowUpRunTest, ANormalRunOnlyReadsAndClearsTheFlagCreatingTheKeyWhereItIsMissing) {
    const struct {
        const char* label;
        std::function<void()> arrange;
        std::string query;
    } rows[] = {
        {"no key", [] {}, R"(open Software\Korvani\optiv -> 2)"},
        {"key without the value", [] { machine().registry.Ensure(kProgramKeyPath); },
         R"(query Software\Korvani\optiv [Changed] -> 2)"},
        {"flag 0",
         [this] {
             SetChanged(REG_DWORD, Bytes({0, 0, 0, 0}));
         },
         R"(query Software\Korvani\optiv [Changed] -> 0)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        SetUp();
        row.arrange();
        machine().journal.Clear();
        CheckFollowUpRun(dialog_);
        EXPECT_EQ((std::vector<std::string>{row.query, R"(set Software\Korvani\optiv [Changed] REG_DWORD 4 -> 0)"}),
                  Steps());
        EXPECT_FALSE(DialogResult().has_value());
        EXPECT_TRUE(machine().kernel.FileExists(kShortcut));
        ExpectChangedCleared();
    }
}

TEST_F(FollowUpRunTest, AMissingDesktopWindowStopsOnlyTheRelayoutAndTheRunGoesOn) {
    const struct {
        const char* label;
        std::function<void(simwin::Desktop&)> arrange;
        size_t searches;  // FindWindowExA calls before it stops
    } rows[] = {
        {"no Progman", [](simwin::Desktop& d) { machine().windows.Find(d.progman)->className = "Shell_TrayWnd"; }, 1},
        {"Progman with another title", [](simwin::Desktop& d) { machine().windows.Find(d.progman)->title = "Desktop"; },
         1},
        {"shell view with a title", [](simwin::Desktop& d) { machine().windows.Find(d.shellView)->title = "View"; }, 2},
        {"no shell view", [](simwin::Desktop& d) { machine().windows.Find(d.shellView)->className = "Static"; }, 2},
        {"no icon view", [](simwin::Desktop& d) { machine().windows.Find(d.iconView)->className = "SysTreeView32"; },
         3},
        {"the search fails", [](simwin::Desktop&) { machine().faults.FailAll("FindWindowExA"); }, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        SetUp();
        row.arrange(desktop_);
        SetChanged(REG_DWORD, Bytes({1, 0, 0, 0}));
        machine().journal.Clear();

        CheckFollowUpRun(dialog_);

        EXPECT_EQ(row.searches, StepsStartingWith({"FindWindowExA"}).size());
        EXPECT_TRUE(
            StepsStartingWith({"SendMessageA", "GetWindowLongA", "SetWindowLongA", "Sleep", "UpdateWindow"}).empty());
        EXPECT_EQ(std::optional<INT_PTR>(0), DialogResult());
        EXPECT_FALSE(machine().kernel.FileExists(kShortcut));
        ExpectChangedCleared();
    }
}

// Except that a style that cannot be read is not written back: what the failed read returned (0) would
// take every other bit from the shell's window.
TEST_F(FollowUpRunTest, TheIconViewsAnswersAreNotExaminedEveryStepStillRuns) {
    for (const char* failing : {"SendMessageA", "GetWindowLongA", "SetWindowLongA", "UpdateWindow"}) {
        SCOPED_TRACE(failing);
        SetUp();
        const LONG style = IconView().style;
        machine().faults.FailAll(failing);
        SetChanged(REG_DWORD, Bytes({1, 0, 0, 0}));
        machine().journal.Clear();
        CheckFollowUpRun(dialog_);
        const bool styleRead = std::string(failing) != "GetWindowLongA";
        EXPECT_EQ(3u, StepsStartingWith({"SendMessageA"}).size());
        EXPECT_EQ(3u, StepsStartingWith({"GetWindowLongA"}).size());
        EXPECT_EQ(styleRead ? 3u : 0u, StepsStartingWith({"SetWindowLongA"}).size());
        if (!styleRead) EXPECT_EQ(style, IconView().style);
        EXPECT_EQ(6u, StepsStartingWith({"Sleep(0)"}).size());
        EXPECT_EQ(1u, StepsStartingWith({"UpdateWindow"}).size());
        EXPECT_EQ(std::optional<INT_PTR>(0), DialogResult());
        ExpectChangedCleared();
    }
}

TEST_F(FollowUpRunTest, WithoutAStartupFolderOrAShortcutTheFlagIsClearedAndTheDialogEndsAllTheSame) {
    const struct {
        const char* label;
        std::function<void()> arrange;
        std::vector<std::string> deletions;
    } rows[] = {
        {"folder not found",
         [] {
             machine().faults.FailAll("SHGetFolderPathW");
             machine().faults.FailAll("SHGetFolderPathA");
         },
         {}},
        {"folder missing: S_FALSE with an empty path", [] { machine().kernel.startupFolder.clear(); }, {}},
        {"shortcut already gone",
         [] { machine().kernel.files.clear(); },
         {"DeleteFileA(" + simwin::Quote(kShortcut.c_str()) + ") -> 0"}},
        {"shortcut cannot be deleted",
         [] { machine().faults.FailAll("DeleteFileA"); },
         {"DeleteFileA(" + simwin::Quote(kShortcut.c_str()) + ") -> 0"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        SetUp();
        row.arrange();
        SetChanged(REG_DWORD, Bytes({1, 0, 0, 0}));
        machine().journal.Clear();
        CheckFollowUpRun(dialog_);
        EXPECT_EQ(row.deletions, StepsStartingWith({"DeleteFileA"}));
        EXPECT_EQ(1u, StepsStartingWith({"UpdateWindow"}).size());
        EXPECT_EQ(std::optional<INT_PTR>(0), DialogResult());
        ExpectChangedCleared();
    }
}

// The shortcut is deleted by the path it was made by: the ANSI path where the ANSI code page holds every
// character of the folder's path, the wide path where it does not (the ANSI form would name another file).
TEST_F(FollowUpRunTest, TheShortcutIsDeletedWhateverCharactersTheStartupFolderPathHas) {
    const std::string greek =
        "C:\\Dokumente und Einstellungen\\\u0395\u03bb\u03ad\u03bd\u03b7\\Startmen\u00fc\\Programme\\Autostart";
    const std::string german =
        "C:\\Dokumente und Einstellungen\\J\u00fcrgen Stra\u00dfer\\Startmen\u00fc\\Programme\\Autostart";
    const struct {
        const char* label;
        std::string folder;
        const char* fault;
        const char* deletion;  // the call that deletes the shortcut
    } rows[] = {
        {"ASCII", kStartup, nullptr, "DeleteFileA"},
        {"German letters, all in the ANSI code page", german, nullptr, "DeleteFileA"},
        {"Greek letters, outside the ANSI code page", greek, nullptr, "DeleteFileW"},
        {"Greek letters, the wide folder call failing", greek, "SHGetFolderPathW", "DeleteFileA"},
        // Whether the ANSI code page holds the path is then unknown; the wide path is the folder's own.
        {"Greek letters, the conversion failing", greek, "WideCharToMultiByte", "DeleteFileW"},
        {"ASCII, the conversion failing", kStartup, "WideCharToMultiByte", "DeleteFileW"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        SetUp();
        machine().kernel.files.clear();
        machine().kernel.startupFolder = row.folder;
        const std::string shortcut = row.folder + "\\Optivue.lnk";
        machine().kernel.AddFile(shortcut);
        if (row.fault) machine().faults.FailAll(row.fault);
        SetChanged(REG_DWORD, Bytes({1, 0, 0, 0}));

        CheckFollowUpRun(dialog_);

        const std::vector<std::string> deletions = StepsStartingWith({"DeleteFile"});
        ASSERT_EQ(1u, deletions.size());
        EXPECT_EQ(0u, deletions[0].rfind(std::string(row.deletion) + "(", 0)) << deletions[0];
        // The ANSI path is asked for only where it is used; where it stands for another file, the shortcut
        // stays.
        const bool ansi = std::string(row.deletion) == "DeleteFileA";
        EXPECT_EQ(ansi, !StepsStartingWith({"SHGetFolderPathA"}).empty());
        EXPECT_EQ(!ansi || row.folder != greek, !machine().kernel.FileExists(shortcut));
        EXPECT_EQ(std::optional<INT_PTR>(0), DialogResult());
        ExpectChangedCleared();
    }
}

TEST_F(FollowUpRunTest, TheLongestStartupFolderPathStillNamesTheShortcutInFull) {
    // MAX_PATH - 1 characters, the longest a folder path can be.
    std::string folder = "C:\\";
    while (folder.size() < MAX_PATH - 1) folder += folder.size() % 9 == 0 ? '\\' : 'd';
    machine().kernel.startupFolder = folder;
    const std::string shortcut = folder + "\\Optivue.lnk";
    machine().kernel.AddFile(shortcut);
    SetChanged(REG_DWORD, Bytes({1, 0, 0, 0}));

    CheckFollowUpRun(dialog_);

    EXPECT_EQ(std::vector<std::string>{"DeleteFileA(" + simwin::Quote(shortcut.c_str()) + ") -> 1"},
              StepsStartingWith({"DeleteFileA"}));
}

TEST_F(FollowUpRunTest, AFlagThatCannotBeWrittenKeepsItsValueAndEveryRunIsAFollowUpRun) {
    SetChanged(REG_DWORD, Bytes({1, 0, 0, 0}));
    machine().registry.SetAccess(kProgramKeyPath, true, false);
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        machine().journal.Clear();
        machine().windows.Find(dialog_)->dialogResult.reset();
        machine().kernel.AddFile(kShortcut);
        CheckFollowUpRun(dialog_);
        EXPECT_EQ(std::optional<INT_PTR>(0), DialogResult());
        EXPECT_FALSE(machine().kernel.FileExists(kShortcut));
        EXPECT_EQ(Bytes({1, 0, 0, 0}), machine().registry.Value(kProgramKeyPath, "Changed")->data);
    }
}

}  // namespace
