// A size command on the simulated platform: the choice of procedure from the system and its visual style,
// and the flow from the confirmation to the notice, seen through the journal. The window's part is played
// by a recorder that writes its steps into the same journal.
#include "app/size_command.h"
#include "res/resource_ids.h"
#include "settings/desktop_icon_view.h"
#include "settings/size_procedures.h"
#include "settings/visual_style.h"
#include "tests/support/journal_steps.h"
#include "tests/support/registry_keys.h"

#include <simwin/sim.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using simwin::machine;

const std::string kThemeManager = test_keys::InCurrentUser(test_keys::kThemeManager);

void UseSystem(OsKind kind) {
    machine().kernel.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    machine().kernel.version.dwMajorVersion = 5;
    machine().kernel.version.dwMinorVersion = kind == kOsWindowsXp ? 1 : 0;
}

// The system whose procedures are `variant`'s: Windows XP with the visual style's value "1" or "0", or
// Windows 2000 without it.
void UseSystemOf(SizeVariant variant) {
    if (variant == SizeVariant::Win2000) {
        UseSystem(kOsWindows2000);
        return;
    }
    UseSystem(kOsWindowsXp);
    machine().registry.SetString(kThemeManager, "ThemeActive", variant == SizeVariant::XpStyled ? "1" : "0");
}

// Any step that read the visual style's value.
bool ThemeActiveWasRead() {
    for (const std::string& step : journal_steps::Steps())
        if (step.find("ThemeManager") != std::string::npos) return true;
    return false;
}

class SizeCommandTest : public testing::Test {
protected:
    // A machine where every setting can change: the visual-style tool installed, and ending at once with
    // the size switched.
    void SetUp() override {
        simwin::Reset();
        simwin::CreateDesktop();
        machine().kernel.AddFile(kStyleToolPath);
        UseSystem(kOsWindowsXp);
    }
};

TEST_F(SizeCommandTest, WindowsXpIsStyledOnlyWhenThemeActiveReadsExactlyOne) {
    const struct {
        const char* label;
        void (*arrange)();
        SizeVariant variant;
    } cases[] = {
        {"\"1\"", [] { machine().registry.SetString(kThemeManager, "ThemeActive", "1"); }, SizeVariant::XpStyled},
        {"\"1\" as an expandable string",
         [] { machine().registry.SetString(kThemeManager, "ThemeActive", "1", REG_EXPAND_SZ); }, SizeVariant::XpStyled},
        {"\"1\" stored without its NUL",
         [] { machine().registry.SetValue(kThemeManager, "ThemeActive", REG_SZ, {'1'}); }, SizeVariant::XpStyled},
        {"\"0\"", [] { machine().registry.SetString(kThemeManager, "ThemeActive", "0"); }, SizeVariant::XpClassic},
        {"\"01\"", [] { machine().registry.SetString(kThemeManager, "ThemeActive", "01"); }, SizeVariant::XpClassic},
        {"\"1 \"", [] { machine().registry.SetString(kThemeManager, "ThemeActive", "1 "); }, SizeVariant::XpClassic},
        {"\"\"", [] { machine().registry.SetString(kThemeManager, "ThemeActive", ""); }, SizeVariant::XpClassic},
        {"the number 1", [] { machine().registry.SetDword(kThemeManager, "ThemeActive", 1); }, SizeVariant::XpClassic},
        {"the value missing", [] { machine().registry.Ensure(kThemeManager); }, SizeVariant::XpClassic},
        {"the key missing", [] {}, SizeVariant::XpClassic},
        {"\"1\" in an unreadable key",
         [] {
             machine().registry.SetString(kThemeManager, "ThemeActive", "1");
             machine().registry.SetAccess(kThemeManager, false, true);
         },
         SizeVariant::XpClassic},
        {"\"1\" whose read fails",
         [] {
             machine().registry.SetString(kThemeManager, "ThemeActive", "1");
             machine().faults.FailAll("RegQueryValueExA");
         },
         SizeVariant::XpClassic},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        c.arrange();
        EXPECT_EQ(c.variant, ChooseSizeVariant(kOsWindowsXp));
        EXPECT_TRUE(ThemeActiveWasRead());
    }
}

TEST_F(SizeCommandTest, Windows2000NeverAsksAboutTheVisualStyle) {
    machine().registry.SetString(kThemeManager, "ThemeActive", "1");
    machine().journal.Clear();
    EXPECT_EQ(SizeVariant::Win2000, ChooseSizeVariant(kOsWindows2000));
    EXPECT_FALSE(ThemeActiveWasRead());
}

// Each cell of the table is the procedure of its name: the same steps as that procedure called directly,
// and the pause of its variant after it.
TEST_F(SizeCommandTest, EachLevelAndVariantRunsItsOwnProcedure) {
    const struct {
        SizeLevel level;
        SizeVariant variant;
        const char* name;
        SizeOutcome (*direct)();
        DWORD pauseMs;
    } cells[] = {
        {SizeLevel::Normal, SizeVariant::XpStyled, "ApplyNormalXpStyled", ApplyNormalXpStyled, 0},
        {SizeLevel::Normal, SizeVariant::XpClassic, "ApplyNormalXpClassic", ApplyNormalXpClassic, 2000},
        {SizeLevel::Normal, SizeVariant::Win2000, "ApplyNormalWin2000", ApplyNormalWin2000, 2000},
        {SizeLevel::Large, SizeVariant::XpStyled, "ApplyLargeXpStyled", ApplyLargeXpStyled, 0},
        {SizeLevel::Large, SizeVariant::XpClassic, "ApplyLargeXpClassic", ApplyLargeXpClassic, 2000},
        {SizeLevel::Large, SizeVariant::Win2000, "ApplyLargeWin2000", ApplyLargeWin2000, 2000},
        {SizeLevel::ExtraLarge, SizeVariant::XpStyled, "ApplyExtraLargeXpStyled", ApplyExtraLargeXpStyled, 0},
        {SizeLevel::ExtraLarge, SizeVariant::XpClassic, "ApplyExtraLargeXpClassic", ApplyExtraLargeXpClassic, 2000},
        {SizeLevel::ExtraLarge, SizeVariant::Win2000, "ApplyExtraLargeWin2000", ApplyExtraLargeWin2000, 2000},
    };
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.name);
        const SizeProcedure& chosen = SizeProcedureFor(cell.level, cell.variant);
        EXPECT_STREQ(cell.name, chosen.name);
        EXPECT_EQ(cell.pauseMs, PauseAfterProcedureMs(cell.variant));

        SetUp();
        cell.direct();
        const std::vector<std::string> direct = journal_steps::Steps();
        SetUp();
        chosen.Apply();
        EXPECT_EQ(direct, journal_steps::Steps());
    }
}

// Plays the main dialog: answers the confirmation with `answer` and writes each step into the journal.
class RecordingWindow : public SizeCommandWindow {
public:
    explicit RecordingWindow(INT_PTR answer) : answer_(answer) {}
    std::string message;

    INT_PTR Confirm(const char* text) override {
        message = text;
        machine().journal.Record("Confirm", "", answer_);
        return answer_;
    }
    void Hide() override { machine().journal.Record("Hide", "", 0); }
    void ShowChangedNotice() override { machine().journal.Record("ShowChangedNotice", "", 0); }
    void StartNoticeTimer() override { machine().journal.Record("StartNoticeTimer", "", 0); }
    void EndMainWindow() override { machine().journal.Record("EndMainWindow", "", 0); }
    void ShowAbout() override { machine().journal.Record("ShowAbout", "", 0); }
    void EndAfterNotice() override { machine().journal.Record("EndAfterNotice", "", 0); }
    void TellNotChanged(const char* text) override {
        told = text;
        machine().journal.Record("TellNotChanged", "", 0);
    }
    void EndNotChanged() override { machine().journal.Record("EndNotChanged", "", 0); }
    bool MarkPostedRequests() override {
        machine().journal.Record("MarkPostedRequests", "", 1);
        return true;
    }
    std::string told;

private:
    INT_PTR answer_;
};

bool RunSizeCommand(SizeLevel level, SizeCommandWindow& window) {
    SizeCommands commands(window);
    return commands.Run(level);
}

// The flow's own steps and the procedure's first and last kinds of step.
std::vector<std::string> FlowSteps() {
    return journal_steps::StepsStartingWith({"GetVersionExA", "row 30", "Confirm", "query Software\\Microsoft\\Windows",
                                             "Hide", "pause 2000", "ShowChangedNotice", "StartNoticeTimer"});
}

TEST_F(SizeCommandTest, ConfirmedOnAStyledXpTheProcedureRunsBetweenHidingAndTheNoticeWithoutAPause) {
    machine().registry.SetString(kThemeManager, "ThemeActive", "1");
    machine().journal.Clear();
    RecordingWindow window(IDOK);
    EXPECT_TRUE(RunSizeCommand(SizeLevel::Large, window));

    EXPECT_EQ((std::vector<std::string>{
                  "GetVersionExA(OSVERSIONINFOA{size=148}) -> 1",
                  "row 302",
                  "Confirm() -> 1",
                  "query Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager [ThemeActive] -> 0",
                  "Hide() -> 0",
                  "ShowChangedNotice() -> 0",
                  "StartNoticeTimer() -> 0",
              }),
              FlowSteps());
    EXPECT_EQ(*machine().strings.Row(IDS_CONFIRM_LARGE_SIZE), window.message);
    // The Large styled procedure ran after the window went: its last row is the style's size.
    const std::vector<std::string> steps = journal_steps::Steps();
    const auto hide = std::find(steps.begin(), steps.end(), "Hide() -> 0");
    const auto sizeRow = std::find(steps.begin(), steps.end(), "row 413");
    const auto notice = std::find(steps.begin(), steps.end(), "ShowChangedNotice() -> 0");
    EXPECT_TRUE(hide < sizeRow && sizeRow < notice);
}

TEST_F(SizeCommandTest, ConfirmedOnAClassicSystemTheNoticeWaitsTwoSecondsAfterTheProcedure) {
    for (OsKind kind : {kOsWindowsXp, kOsWindows2000}) {
        SCOPED_TRACE(kind);
        SetUp();
        UseSystem(kind);
        RecordingWindow window(IDOK);
        EXPECT_TRUE(RunSizeCommand(SizeLevel::Normal, window));
        const std::vector<std::string> flow = FlowSteps();
        ASSERT_GE(flow.size(), 4u);
        EXPECT_EQ((std::vector<std::string>{"pause 2000", "ShowChangedNotice() -> 0", "StartNoticeTimer() -> 0"}),
                  std::vector<std::string>(flow.end() - 3, flow.end()));
        EXPECT_EQ(kind == kOsWindowsXp, ThemeActiveWasRead());
        // The Normal procedure of the variant: its metrics row.
        EXPECT_FALSE(journal_steps::StepsStartingWith({kind == kOsWindowsXp ? "row 604" : "row 607"}).empty());
    }
}

// Cancel, and a confirmation that could not be shown at all, leave everything as it was.
TEST_F(SizeCommandTest, OnlyOkChangesAnything) {
    for (INT_PTR answer : {static_cast<INT_PTR>(IDCANCEL), static_cast<INT_PTR>(-1)}) {
        SCOPED_TRACE(answer);
        SetUp();
        machine().registry.SetString(kThemeManager, "ThemeActive", "1");
        const std::string before = machine().registry.SaveRegText();
        machine().journal.Clear();
        RecordingWindow window(answer);
        EXPECT_FALSE(RunSizeCommand(SizeLevel::ExtraLarge, window));
        EXPECT_EQ((std::vector<std::string>{"GetVersionExA(OSVERSIONINFOA{size=148}) -> 1", "row 303",
                                            "Confirm() -> " + std::to_string(answer)}),
                  journal_steps::Steps());
        EXPECT_EQ(before, machine().registry.SaveRegText());
    }
}

TEST_F(SizeCommandTest, EachLevelAsksWithItsOwnText) {
    const struct {
        SizeLevel level;
        UINT row;
        const char* size;
    } levels[] = {
        {SizeLevel::Normal, IDS_CONFIRM_NORMAL_SIZE, "the normal size"},
        {SizeLevel::Large, IDS_CONFIRM_LARGE_SIZE, "the large size"},
        {SizeLevel::ExtraLarge, IDS_CONFIRM_EXTRA_LARGE_SIZE, "the extra large size"},
    };
    for (const auto& level : levels) {
        SCOPED_TRACE(level.row);
        for (WORD language : {simwin::StringTables::kEnglish, simwin::StringTables::kGerman}) {
            machine().strings.SetLanguage(language);
            RecordingWindow window(IDCANCEL);
            RunSizeCommand(level.level, window);
            EXPECT_EQ(std::string("To set the fonts and icons to ") + level.size +
                          " click \"OK\". Please make sure all other applications are closed before clicking the "
                          "\"OK\" button.\nPlease wait for a while until \"Settings have changed\" is displayed.",
                      window.message);
        }
    }
}

// A window whose confirmation receives another size command while it is up, as a command sent by another
// window arrives in the confirmation's message loop.
class ReenteringWindow : public RecordingWindow {
public:
    ReenteringWindow(INT_PTR answer, SizeLevel nested) : RecordingWindow(answer), nested_(nested) {}
    SizeCommands* commands = nullptr;
    bool nestedApplied = true;

    INT_PTR Confirm(const char* text) override {
        if (commands) nestedApplied = commands->Run(nested_);
        return RecordingWindow::Confirm(text);
    }

private:
    SizeLevel nested_;
};

TEST_F(SizeCommandTest, ACommandWhileAnotherRunsOrAfterASizeWasAppliedIsIgnored) {
    for (INT_PTR answer : {static_cast<INT_PTR>(IDOK), static_cast<INT_PTR>(IDCANCEL)}) {
        SCOPED_TRACE(answer);
        SetUp();
        ReenteringWindow window(answer, SizeLevel::ExtraLarge);
        SizeCommands commands(window);
        window.commands = &commands;
        EXPECT_EQ(answer == IDOK, commands.Run(SizeLevel::Normal));
        EXPECT_FALSE(window.nestedApplied);
        // One confirmation, the Normal one; with OK the Normal procedure's metrics row and never Extra Large's.
        EXPECT_EQ(std::vector<std::string>{"row 301"}, journal_steps::StepsStartingWith({"row 30"}));
        EXPECT_EQ(1u, journal_steps::StepsStartingWith({"Confirm"}).size());
        EXPECT_EQ(answer == IDOK, !journal_steps::StepsStartingWith({"row 604"}).empty());
        EXPECT_TRUE(journal_steps::StepsStartingWith({"row 606"}).empty());

        // Afterwards: after Cancel the next command asks again; after OK nothing more happens.
        window.commands = nullptr;
        machine().journal.Clear();
        EXPECT_FALSE(commands.Run(SizeLevel::Large));
        const std::vector<std::string> asked =
            answer == IDOK ? std::vector<std::string>{} : std::vector<std::string>{"row 302", "Confirm() -> 2"};
        EXPECT_EQ(asked, journal_steps::StepsStartingWith({"row 30", "Confirm"}));
        if (answer == IDOK) EXPECT_TRUE(journal_steps::Steps().empty());
    }
}

// The messages that another program or the system may send the main window, handed to the commands as
// the main dialog's message map hands them on.
enum class Request { Cancel, Close, About, NoticeTimer, QueryEndSession };

const struct {
    const char* name;
    Request request;
    const char* step;  // what the main window does with it when no size is being applied
} kRequests[] = {
    {"IDCANCEL", Request::Cancel, "EndMainWindow() -> 0"},
    {"WM_CLOSE", Request::Close, "EndMainWindow() -> 0"},
    {"About", Request::About, "ShowAbout() -> 0"},
    {"timer 100", Request::NoticeTimer, "EndAfterNotice() -> 0"},
    {"WM_QUERYENDSESSION", Request::QueryEndSession, nullptr},
};

// The answer to WM_QUERYENDSESSION; TRUE for the others, which answer nothing that counts.
BOOL Deliver(SizeCommands& commands, Request request) {
    switch (request) {
        case Request::Cancel:
            commands.Close();
            break;
        // Taken and dropped while a size is being applied; otherwise the dialog manager makes it Cancel.
        case Request::Close:
            if (!commands.IgnoringRequests()) commands.Close();
            break;
        case Request::About:
            commands.About();
            break;
        case Request::NoticeTimer:
            commands.Timer(kNoticeTimer);
            break;
        case Request::QueryEndSession:
            return commands.MayEndSession();
    }
    return TRUE;
}

// A step that one of the requests could cause.
std::vector<std::string> RequestSteps() {
    return journal_steps::StepsStartingWith({"EndMainWindow", "ShowAbout", "EndAfterNotice"});
}

// The steps with the pauses' count of answered messages left out.
std::vector<std::string> StepsWithoutAnswers() {
    std::vector<std::string> steps = journal_steps::Steps();
    for (std::string& step : steps)
        if (step.rfind("pause ", 0) == 0) step = step.substr(0, step.find(", answering"));
    return steps;
}

TEST_F(SizeCommandTest, BeforeACommandEachRequestOfTheMainWindowActs) {
    for (const auto& r : kRequests) {
        SCOPED_TRACE(r.name);
        SetUp();
        RecordingWindow window(IDOK);
        SizeCommands commands(window);
        EXPECT_FALSE(commands.Applying());
        const BOOL answer = Deliver(commands, r.request);
        EXPECT_EQ(TRUE, answer);
        EXPECT_EQ(r.step ? std::vector<std::string>{r.step} : std::vector<std::string>{}, RequestSteps());
    }
}

// Sent while the procedure or its pause runs, at its first pause, in the middle and at its last, none of
// them changes a step or a wait: the notice comes and its timer is armed, the end of the session is
// refused, and afterwards each request acts again.
TEST_F(SizeCommandTest, WhileASizeIsAppliedTheMainWindowRefusesToEndOrToOpenAnything) {
    const struct {
        const char* name;
        SizeVariant variant;
    } variants[] = {
        {"XpStyled", SizeVariant::XpStyled},
        {"XpClassic", SizeVariant::XpClassic},
        {"Win2000", SizeVariant::Win2000},
    };
    for (const auto& v : variants) {
        auto arrange = [&] {
            SetUp();
            UseSystemOf(v.variant);
            machine().journal.Clear();
        };
        arrange();
        RecordingWindow quiet(IDOK);
        ASSERT_TRUE(RunSizeCommand(SizeLevel::Large, quiet));
        const std::vector<std::string> expected = StepsWithoutAnswers();
        const uint64_t lengthMs = machine().clock.NowMs();
        ASSERT_GT(lengthMs, 2u);

        for (const auto& r : kRequests) {
            for (const uint64_t sentAt : {uint64_t{1}, lengthMs / 2, lengthMs - 1}) {
                SCOPED_TRACE(std::string(v.name) + ", " + r.name + " sent at " + std::to_string(sentAt) + " ms");
                arrange();
                RecordingWindow window(IDOK);
                SizeCommands commands(window);
                std::vector<BOOL> answers;
                machine().sentMessages.At(sentAt, [&] { answers.push_back(Deliver(commands, r.request)); });

                EXPECT_TRUE(commands.Run(SizeLevel::Large));

                EXPECT_EQ(expected, StepsWithoutAnswers());
                EXPECT_EQ(lengthMs, machine().clock.NowMs());
                EXPECT_EQ(std::vector<BOOL>{r.request == Request::QueryEndSession ? FALSE : TRUE}, answers);
                EXPECT_TRUE(RequestSteps().empty());
                EXPECT_FALSE(commands.Applying());

                // The command marked what was posted during it; a request taken before the marker was
                // posted while the size was applied and is dropped too.
                EXPECT_EQ(1u, journal_steps::StepsStartingWith({"MarkPostedRequests"}).size());
                machine().journal.Clear();
                EXPECT_EQ(TRUE, Deliver(commands, r.request));
                EXPECT_TRUE(RequestSteps().empty());
                commands.PostedRequestsTaken();
                EXPECT_EQ(TRUE, Deliver(commands, r.request));
                EXPECT_EQ(r.step ? std::vector<std::string>{r.step} : std::vector<std::string>{}, RequestSteps());
            }
        }
    }
}

// What the user is told is what the procedure reports: the notice only when nothing is left unchanged,
// otherwise the box, whose text says what changed and what did not, and the program's end with its code.
TEST_F(SizeCommandTest, OnlyACommandThatChangedEverythingSaysSettingsHaveChanged) {
    const struct {
        const char* label;
        SizeVariant variant;  // the system's
        std::function<void()> arrange;
        SizeOutcome outcome;  // what the box must say, when there is one
    } cases[] = {
        {"XpStyled, everything changed", SizeVariant::XpStyled, [] {}, {}},
        {"XpClassic, everything changed", SizeVariant::XpClassic, [] {}, {}},
        {"Win2000, everything changed", SizeVariant::Win2000, [] {}, {}},
        {"XpStyled, the tool missing",
         SizeVariant::XpStyled,
         [] { machine().kernel.files.clear(); },
         {kStyleSizeAspect, true}},
        {"XpStyled, the tool refusing",
         SizeVariant::XpStyled,
         [] { machine().shell.onStart = [](const std::string&, const std::string&) { machine().shell.exitCode = 4; }; },
         {kStyleSizeAspect, false}},
        {"XpClassic, the pointers' key locked",
         SizeVariant::XpClassic,
         [] { machine().registry.SetAccess(test_keys::InCurrentUser(test_keys::kCursors), true, false); },
         {kMousePointersAspect, false}},
        {"Win2000, the shell not answering",
         SizeVariant::Win2000,
         [] {
             machine().windows.Find(FindDesktopIconView(ShellViewTitle::Any))->listView->hung = true;
             machine().journal.Clear();
         },
         {kDesktopIconsAspect, false}},
        {"XpClassic, no metrics record",
         SizeVariant::XpClassic,
         [] { machine().faults.FailAll("SystemParametersInfoA:SPI_GETNONCLIENTMETRICS"); },
         {kWindowSizesAspect, false}},
        {"XpStyled, nothing written at all and the tool missing",
         SizeVariant::XpStyled,
         [] {
             machine().faults.FailAll("RegCreateKeyExA");
             machine().kernel.files.clear();
         },
         {kTextSizeAspect | kMousePointersAspect | kDesktopIconsAspect | kStyleSizeAspect, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        SetUp();
        UseSystemOf(c.variant);
        c.arrange();
        RecordingWindow window(IDOK);
        EXPECT_TRUE(RunSizeCommand(SizeLevel::Large, window));

        const bool notice = c.outcome.unchanged == 0;
        const std::vector<std::string> told =
            notice ? std::vector<std::string>{"ShowChangedNotice() -> 0", "StartNoticeTimer() -> 0"}
                   : std::vector<std::string>{"TellNotChanged() -> 0", "EndNotChanged() -> 0"};
        EXPECT_EQ(told, journal_steps::StepsStartingWith(
                            {"ShowChangedNotice", "StartNoticeTimer", "TellNotChanged", "EndNotChanged"}));
        if (notice) continue;
        char expected[kNotChangedMessageSize];
        ComposeNotChangedMessage(c.variant, c.outcome, expected, sizeof expected);
        EXPECT_EQ(expected, window.told);
    }
}

// The box's text in each language: what changed, what did not, in the names the user knows and in the
// order the box lists them, then what to do.
TEST_F(SizeCommandTest, TheBoxSaysWhatChangedWhatDidNotAndWhatToDo) {
    const struct {
        const char* label;
        SizeVariant variant;
        SizeOutcome outcome;
        const char* english;
        const char* german;
    } cases[] = {
        {"the style's size, its tool missing",
         SizeVariant::XpStyled,
         {kStyleSizeAspect, true},
         "Optivue could not change all of the settings for this size.\n\n"
         "These have changed:\n    \x95 Desktop icons\n    \x95 Mouse pointers\n"
         "    \x95 Text size in Internet Explorer and Outlook Express\n\n"
         "These have not changed:\n    \x95 Size of the visual style (windows, menus and their text)\n\n"
         "A part of Optivue that changes the size of the visual style is missing. Please install Optivue again, then "
         "choose the size once more.",
         "Optivue konnte nicht alle Einstellungen f\xfcr diese Gr\xf6\xdf"
         "e \xe4ndern.\n\n"
         "Ge\xe4ndert wurden:\n    \x95 Desktopsymbole\n    \x95 Mauszeiger\n"
         "    \x95 Schriftgrad in Internet Explorer und Outlook Express\n\n"
         "Nicht ge\xe4ndert wurden:\n    \x95 Gr\xf6\xdf"
         "e des visuellen Stils (Fenster, Men\xfcs und ihre Schrift)\n\n"
         "Ein Teil von Optivue, der die Gr\xf6\xdf"
         "e des visuellen Stils \xe4ndert, fehlt. Bitte installieren Sie Optivue erneut und w\xe4hlen Sie dann die "
         "Gr\xf6\xdf"
         "e noch einmal."},
        {"window sizes and pointers",
         SizeVariant::Win2000,
         {kWindowSizesAspect | kMousePointersAspect, false},
         "Optivue could not change all of the settings for this size.\n\n"
         "These have changed:\n    \x95 Desktop icons\n    \x95 Text size in Internet Explorer and Outlook Express\n\n"
         "These have not changed:\n    \x95 Size of windows and menus, and of their text\n    \x95 Mouse pointers\n\n"
         "Please start Optivue again and choose the size once more. If this happens again, an administrator may have "
         "locked these settings: please ask your administrator.",
         nullptr},
        {"nothing at all",
         SizeVariant::XpClassic,
         {kWindowSizesAspect | kDesktopIconsAspect | kMousePointersAspect | kTextSizeAspect, false},
         "Optivue could not change all of the settings for this size.\n\n"
         "These have not changed:\n    \x95 Size of windows and menus, and of their text\n    \x95 Desktop icons\n"
         "    \x95 Mouse pointers\n    \x95 Text size in Internet Explorer and Outlook Express\n\n"
         "Please start Optivue again and choose the size once more. If this happens again, an administrator may have "
         "locked these settings: please ask your administrator.",
         "Optivue konnte nicht alle Einstellungen f\xfcr diese Gr\xf6\xdf"
         "e \xe4ndern.\n\n"
         "Nicht ge\xe4ndert wurden:\n    \x95 Gr\xf6\xdf"
         "e von Fenstern und Men\xfcs und ihrer Schrift\n    \x95 Desktopsymbole\n    \x95 Mauszeiger\n"
         "    \x95 Schriftgrad in Internet Explorer und Outlook Express\n\n"
         "Bitte starten Sie Optivue erneut und w\xe4hlen Sie die Gr\xf6\xdf"
         "e noch einmal. Geschieht dies wieder, hat ein Administrator diese Einstellungen m\xf6glicherweise gesperrt: "
         "Bitte wenden Sie sich an Ihren Administrator."},
    };
    for (const auto& c : cases) {
        for (const auto& [language, text] : {std::pair{simwin::StringTables::kEnglish, c.english},
                                             std::pair{simwin::StringTables::kGerman, c.german}}) {
            if (!text) continue;
            SCOPED_TRACE(std::string(c.label) +
                         (language == simwin::StringTables::kEnglish ? ", English" : ", German"));
            machine().strings.SetLanguage(language);
            char message[kNotChangedMessageSize];
            ComposeNotChangedMessage(c.variant, c.outcome, message, sizeof message);
            EXPECT_EQ(text, std::string(message));
            // Cut to a small buffer, it stays within it and terminated.
            char small[40];
            std::memset(small, 'x', sizeof small);
            ComposeNotChangedMessage(c.variant, c.outcome, small, sizeof small);
            EXPECT_EQ(std::string(message).substr(0, sizeof small - 1), std::string(small));
        }
    }
}

}  // namespace
