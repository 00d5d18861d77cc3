#include "tests/wine/driver/size_command_steps.h"

#include "res/resource_ids.h"
#include "settings/size_aspects.h"
#include "tests/fixtures/style_tool_double.h"
#include "tests/wine/driver/input.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace size_command {

using test_platform::GetValue;
using test_platform::PutString;

const System kSystems[] = {
    {"XP with a visual style", "winxp", true, "1", Variant::XpStyled},
    {"XP, ThemeActive \"0\"", "winxp", true, "0", Variant::XpClassic},
    {"XP, no ThemeActive", "winxp", true, nullptr, Variant::XpClassic},
    {"XP, no ThemeManager key", "winxp", false, nullptr, Variant::XpClassic},
    {"Windows 2000 with ThemeActive \"1\"", "win2k", true, "1", Variant::Win2000},
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

IconViewSpacing SpacingOf(HWND iconView) {
    const LRESULT spacing = SendMessageA(iconView, LVM_GETITEMSPACING, FALSE, 0);
    return {LOWORD(spacing), HIWORD(spacing)};
}

HWND SizeCommand::Arrange(const System& system) {
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
void ConfirmAndFollowToTheEnd(Program& program, HWND dialog, const Level& level, Variant variant,
                              e2e::Timings* timings) {
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

HWND ClickSizeButtonAndOk(const Program& program, const Level& level) {
    const HWND dialog = ClickSizeButton(program, level);
    if (!dialog) return nullptr;
    const HWND confirm = program.WaitForConfirmation();
    EXPECT_NE(nullptr, confirm) << "no confirmation";
    if (!confirm) return nullptr;
    EXPECT_TRUE(e2e::WaitForForeground(confirm));
    ClickOkOf(confirm);
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

std::string NotChangedText(Variant variant, unsigned unchanged, bool toolMissing) {
    const struct {
        unsigned aspect;
        UINT row;
    } listed[] = {{kWindowSizesAspect, IDS_ASPECT_WINDOW_SIZES},
                  {kStyleSizeAspect, IDS_ASPECT_STYLE_SIZE},
                  {kDesktopIconsAspect, IDS_ASPECT_DESKTOP_ICONS},
                  {kMousePointersAspect, IDS_ASPECT_MOUSE_POINTERS},
                  {kTextSizeAspect, IDS_ASPECT_TEXT_SIZE}};
    const unsigned all = kDesktopIconsAspect | kMousePointersAspect | kTextSizeAspect |
                         (variant == Variant::XpStyled ? kStyleSizeAspect : kWindowSizesAspect);
    auto section = [&](UINT heading, unsigned aspects) {
        if (!aspects) return std::string();
        std::string text = "\n\n" + ProgramRow(heading);
        for (const auto& item : listed)
            if (aspects & item.aspect) text += "\n    \x95 " + ProgramRow(item.row);
        return text;
    };
    std::string text = ProgramRow(IDS_NOT_ALL_CHANGED) + section(IDS_CHANGED_HEADING, all & ~unchanged) +
                       section(IDS_NOT_CHANGED_HEADING, unchanged);
    if (toolMissing) text += "\n\n" + ProgramRow(IDS_INSTALL_AGAIN);
    if (unchanged & ~(toolMissing ? unsigned{kStyleSizeAspect} : 0u)) text += "\n\n" + ProgramRow(IDS_TRY_AGAIN);
    return text;
}

void ExpectNotChangedBoxAndEnd(Program& program, HWND dialog, const std::string& text,
                               const std::function<void()>& meanwhile) {
    ASSERT_TRUE(e2e::WaitUntil([dialog] { return !IsWindowVisible(dialog); })) << "the main window stays";
    if (meanwhile) meanwhile();
    if (testing::Test::HasFatalFailure()) return;
    const HWND box = program.WaitForMessageBox();
    ASSERT_NE(nullptr, box) << ::testing::PrintToString(program.VisibleWindows());
    EXPECT_EQ(text, e2e::Text(GetDlgItem(box, 0xFFFF)));
    // No notice beside it: the program's windows now hold no "Settings have changed.".
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == program.Id()) {
            EXPECT_NE("Settings have changed.", e2e::Text(GetDlgItem(window, 0xFFFF))) << "the notice is up";
        }
    }
    ASSERT_TRUE(e2e::WaitForForeground(box));
    e2e::ClickOn(GetDlgItem(box, IDOK));
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(1u, exitCode) << "the program's end after a command that could not change everything";
}

}  // namespace size_command
