// What the size-command tests and the size command's benchmark share: the systems and the levels the
// command runs on, the fixture that arranges the system before a command and puts the user's settings back
// after it, and the steps a person takes from the click on a size button to the program's end.
#pragma once

#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/program.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// When the driver clicked OK and saw the program's end, on the tick count.
struct Timings {
    DWORD clicked = 0;
    DWORD ended = 0;
};

}  // namespace e2e

namespace size_command {

using e2e::Program;

inline const std::string kThemeManagerKey = test_keys::kThemeManager;
inline const std::string kWindowMetricsKey = test_keys::kWindowMetrics;
inline const std::string kCursorsKey = test_keys::kCursors;
inline const std::string kBrowserKey = test_keys::kBrowserScripts;
inline const std::string kAppearanceKey = test_keys::kAppearance;
inline const std::string kNewSchemesKey = test_keys::kNewSchemes;
// Every key a size command changes or the tests arrange; put back after each test.
inline const std::vector<std::string> kTouchedKeys = {kThemeManagerKey, kWindowMetricsKey, kCursorsKey,
                                                      kBrowserKey,      kAppearanceKey,    test_keys::kColors};

enum class Variant { XpStyled, XpClassic, Win2000 };

struct System {
    const char* label;
    const char* version;
    bool themeManagerKey;
    const char* themeActive;  // null: no such value
    Variant variant;
};

extern const System kSystems[5];

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

extern const Level kLevels[3];

bool German();
// A row of the program's own string table, in the run's language.
std::string ProgramRow(UINT row);
// Every value of the keys a size command changes, to compare before and after.
std::string Fingerprint();

struct IconViewSpacing {
    int cx, cy;
    bool operator==(const IconViewSpacing& other) const { return cx == other.cx && cy == other.cy; }
};

IconViewSpacing SpacingOf(HWND iconView);

class SizeCommand : public testing::Test {
protected:
    void SetUp() override {
        test_platform::ResetScratch();
        saved_.emplace(kTouchedKeys);
    }
    void TearDown() override { saved_.reset(); }

    // The system before the command: its ThemeManager key, a marker in every value the command writes,
    // the standard appearance scheme chosen, and the desktop's icon view at 64 x 64.
    HWND Arrange(const System& system);

    std::optional<test_platform::SavedUserSettings> saved_;
};

// The waits a size command makes on purpose between the click on OK and the notice: the desktop icons'
// two pauses of 500 ms, then the visual-style switch's 1000 ms and 50 x 100 ms, or the 2000 ms pause after a
// classic or Windows 2000 procedure. The notice then stays 2000 ms.
inline DWORD FixedWaitsToNoticeMs(Variant variant) {
    return 1000 + (variant == Variant::XpStyled ? 1000 + 5000 : 2000);
}
constexpr DWORD kNoticeMs = 2000;

// Clicks OK on the confirmation as the user would, and again (at most three times in all) when the click
// did not reach it: under Wine a click sent the moment the confirmation has come up is now and then lost,
// and the confirmation then stays with OK still to press. A program that ignores OK still fails: the
// confirmation stays after the third click.
void ClickOkOf(HWND confirm);
// The text of the box after a command that could not change everything, as the program's string table in
// the run's language makes it: what changed and what did not among the aspects of `variant`, then what to
// do (SizeAspect bits).
std::string NotChangedText(Variant variant, unsigned unchanged, bool toolMissing);
// Follows a command whose confirmation was answered with OK to its box: no "Settings have changed.", a box
// titled "Optivue" saying `text`, and after its OK the program's end with 1. `meanwhile` runs once the main
// window has gone (it may answer another program's box).
void ExpectNotChangedBoxAndEnd(Program& program, HWND dialog, const std::string& text,
                               const std::function<void()>& meanwhile = nullptr);

// Answers the confirmation of `level` with OK and follows the program to its end: the main window goes,
// the notice comes centred on the screen and stays until the program ends with 0, not before the waits of
// `variant` and the notice's time have passed.
void ConfirmAndFollowToTheEnd(Program& program, HWND dialog, const Level& level, Variant variant,
                              e2e::Timings* timings);
// The main dialog of `program`, in front, with the button of `level` clicked; null, failing the test, when
// there was no main dialog.
HWND ClickSizeButton(const Program& program, const Level& level);
// ClickSizeButton, then OK in the confirmation; the main dialog, or null, failing the test, when the
// confirmation did not come up in front.
HWND ClickSizeButtonAndOk(const Program& program, const Level& level);
// The window metrics as a process started now gets them.
NONCLIENTMETRICSA CurrentNonClientMetrics();

}  // namespace size_command
