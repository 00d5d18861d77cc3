// The main dialog as the user meets it: where the window stands, every control's rectangle, the texts and
// fonts, the focus and the tab order for each picture set; the system menu's About box, the OK command,
// the system commands and the three ways to close it.
#include "res/resource_ids.h"
#include "tests/wine/driver/input.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using e2e::Program;

struct PictureSet {
    const char* version;  // what Wine reports to the program
    const char* language;
    int controls[3];
    SIZE pictures[3];
    LONG windowWidth;
};

// clang-format off
const PictureSet kPictureSets[] = {
    {"winxp", "en", {IDC_XP_PICTURE_1, IDC_XP_PICTURE_2, IDC_XP_PICTURE_3},
     {{261, 326}, {351, 378}, {351, 419}}, 1001},
    {"win2k", "en", {IDC_W2K_PICTURE_1, IDC_W2K_PICTURE_2, IDC_W2K_PICTURE_3},
     {{245, 294}, {341, 361}, {337, 393}}, 961},
    {"winxp", "de", {IDC_XP_PICTURE_1, IDC_XP_PICTURE_2, IDC_XP_PICTURE_3},
     {{263, 325}, {351, 370}, {351, 408}}, 1003},
    {"win2k", "de", {IDC_W2K_PICTURE_1, IDC_W2K_PICTURE_2, IDC_W2K_PICTURE_3},
     {{246, 294}, {334, 362}, {339, 391}}, 957},
};
// clang-format on

std::string RunLanguage() {
    const char* language = std::getenv("OPTIVUE_TEST_LANG");
    return language && *language ? language : "en";
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

void ExpectRect(const RECT& expected, const RECT& actual, const std::string& what) {
    EXPECT_EQ(Describe(expected), Describe(actual)) << what;
}

// 122 x 37 dialog units, the size "Close" keeps from its template, in the pixels of the template's font:
// measured on the program's own About box, whose template has the same font.
SIZE CloseButtonSize() {
    SIZE size = {0, 0};
    HMODULE program = LoadLibraryExA(e2e::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) return size;
    HWND about = CreateDialogParamA(program, MAKEINTRESOURCEA(IDD_ABOUT_DIALOG), nullptr, nullptr, 0);
    if (about) {
        RECT units = {0, 0, 122, 37};
        if (MapDialogRect(about, &units)) size = {units.right, units.bottom};
        DestroyWindow(about);
    }
    FreeLibrary(program);
    return size;
}

// The visible children of the dialog in their Z order, which is also the tab order.
std::vector<int> VisibleChildren(HWND dialog) {
    std::vector<int> ids;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) ids.push_back(GetDlgCtrlID(child));
    return ids;
}

// Waits until the focus is on `control` after a key press; false when it did not move there.
bool FocusReaches(HWND dialog, HWND control) {
    for (int i = 0; i < 100; ++i) {
        e2e::Sync(dialog);
        if (e2e::Focus(dialog) == control) return true;
        Sleep(20);
    }
    return false;
}

void CheckMainDialog(const PictureSet& set) {
    Program program(set.version);
    const HWND dialog = program.WaitForMainDialog();
    ASSERT_NE(nullptr, dialog) << "windows: " << ::testing::PrintToString(program.VisibleWindows());

    // Columns 8 pixels apart; in each the size button, the caption and the picture.
    LONG left = 8;
    const int buttons[3] = {IDC_NORMAL_SIZE, IDC_LARGE_SIZE, IDC_EXTRA_LARGE_SIZE};
    const int captions[3] = {IDC_SAMPLE_CAPTION_1, IDC_SAMPLE_CAPTION_2, IDC_SAMPLE_CAPTION_3};
    for (int i = 0; i < 3; ++i) {
        const std::string column = "column " + std::to_string(i + 1);
        const LONG width = set.pictures[i].cx, height = set.pictures[i].cy;
        ExpectRect({left, 16, left + width, 96}, e2e::RectIn(GetDlgItem(dialog, buttons[i]), dialog),
                   column + " button");
        ExpectRect({left + 8, 104, left + width - 8, 120}, e2e::RectIn(GetDlgItem(dialog, captions[i]), dialog),
                   column + " caption");
        ExpectRect({left, 128, left + width, 128 + height}, e2e::RectIn(GetDlgItem(dialog, set.controls[i]), dialog),
                   column + " picture");
        left += width + 8;
    }
    const LONG thirdRight = left - 8;
    const SIZE close = CloseButtonSize();
    ASSERT_GT(close.cx, 0);
    HWND closeButton = GetDlgItem(dialog, IDCANCEL);
    const RECT closeRect = e2e::RectIn(closeButton, dialog);
    ExpectRect({thirdRight - close.cx, set.pictures[2].cy + 136, thirdRight, set.pictures[2].cy + 136 + close.cy},
               closeRect, "Close");

    // Only the set's own pictures show.
    for (int id : {IDC_XP_PICTURE_1, IDC_XP_PICTURE_2, IDC_XP_PICTURE_3, IDC_W2K_PICTURE_1, IDC_W2K_PICTURE_2,
                   IDC_W2K_PICTURE_3}) {
        const bool own = id == set.controls[0] || id == set.controls[1] || id == set.controls[2];
        EXPECT_EQ(own, IsWindowVisible(GetDlgItem(dialog, id)) != FALSE) << "picture " << id;
    }

    // The window: W wide, 8 pixels below "Close", centred across and a quarter down the work area.
    RECT window = {0, 0, 0, 0}, closeOnScreen = {0, 0, 0, 0}, work = {0, 0, 0, 0};
    GetWindowRect(dialog, &window);
    GetWindowRect(closeButton, &closeOnScreen);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG height = closeOnScreen.bottom - window.top + 8;
    LONG y = (work.bottom - work.top - height) / 4;
    if (y < 1) y = 1;
    ExpectRect({(work.right - work.left - set.windowWidth) / 2, y, 0, 0}, {window.left, window.top, 0, 0}, "position");
    EXPECT_EQ(set.windowWidth, window.right - window.left);
    EXPECT_EQ(height, window.bottom - window.top);

    // The program's own English texts, whatever the language.
    const struct {
        int id;
        const char* text;
    } texts[] = {{IDC_NORMAL_SIZE, "Normal Size"},
                 {IDC_LARGE_SIZE, "Large Size"},
                 {IDC_EXTRA_LARGE_SIZE, "Extra Large Size"},
                 {IDC_SAMPLE_CAPTION_1, "Sample"},
                 {IDC_SAMPLE_CAPTION_2, "Sample"},
                 {IDC_SAMPLE_CAPTION_3, "Sample"},
                 {IDCANCEL, "Close"}};
    EXPECT_EQ("Optivue", e2e::Text(dialog));
    for (const auto& text : texts) EXPECT_EQ(text.text, e2e::Text(GetDlgItem(dialog, text.id))) << text.id;

    // Arial at 10, 14, 17, 12 and 17 points on a screen of 96 pixels to the inch.
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(96, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    const struct {
        int id;
        LONG height;
    } fonts[] = {{IDC_NORMAL_SIZE, -13},
                 {IDC_LARGE_SIZE, -18},
                 {IDC_EXTRA_LARGE_SIZE, -22},
                 {IDC_SAMPLE_CAPTION_1, -16},
                 {IDC_SAMPLE_CAPTION_2, -16},
                 {IDC_SAMPLE_CAPTION_3, -16},
                 {IDCANCEL, -22}};
    for (const auto& font : fonts) {
        const e2e::ControlFont seen = e2e::FontOf(dialog, font.id);
        ASSERT_TRUE(seen.found) << font.id;
        EXPECT_EQ(font.height, seen.height) << font.id;
        EXPECT_EQ("Arial", seen.face) << font.id;
    }
    EXPECT_EQ(e2e::FontOf(dialog, IDC_SAMPLE_CAPTION_1).handle, e2e::FontOf(dialog, IDC_SAMPLE_CAPTION_3).handle)
        << "the captions share one font";
    EXPECT_NE(e2e::FontOf(dialog, IDC_EXTRA_LARGE_SIZE).handle, e2e::FontOf(dialog, IDCANCEL).handle)
        << "Close has a font of its own";

    // Close first, then the columns in order, each button, caption and picture.
    EXPECT_EQ((std::vector<int>{IDCANCEL, IDC_NORMAL_SIZE, IDC_SAMPLE_CAPTION_1, set.controls[0], IDC_LARGE_SIZE,
                                IDC_SAMPLE_CAPTION_2, set.controls[1], IDC_EXTRA_LARGE_SIZE, IDC_SAMPLE_CAPTION_3,
                                set.controls[2]}),
              VisibleChildren(dialog));
    // The program's manifest asks for common controls 6, which draw in the XP look; Windows 2000 has none.
    // Wine's library of version 6 reports 5 from DllGetVersion: the side-by-side assembly it came from tells.
    if (std::string(set.version) == "winxp") {
        std::string path = e2e::ControlsLibraryOf(dialog);
        for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(std::string::npos, path.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0.")) << path;
    }
    EXPECT_EQ(closeButton, e2e::Focus(dialog));
    EXPECT_EQ(dialog, GetForegroundWindow());
    for (int id : {IDC_NORMAL_SIZE, IDC_LARGE_SIZE, IDC_EXTRA_LARGE_SIZE, IDCANCEL}) {
        e2e::PressKey(VK_TAB);
        EXPECT_TRUE(FocusReaches(dialog, GetDlgItem(dialog, id))) << "Tab to " << id;
    }

    e2e::PressKey(VK_ESCAPE);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST(MainDialog, TheXpPictureSetIsLaidOutAndPlaced) {
    for (const PictureSet& set : kPictureSets)
        if (set.language == RunLanguage() && std::string(set.version) == "winxp") CheckMainDialog(set);
}

TEST(MainDialog, The2000PictureSetIsLaidOutAndPlaced) {
    for (const PictureSet& set : kPictureSets)
        if (set.language == RunLanguage() && std::string(set.version) == "win2k") CheckMainDialog(set);
}

// The dialog's texts, rectangle and shown controls, to compare before and after.
std::string Snapshot(HWND dialog) {
    RECT window = {0, 0, 0, 0};
    GetWindowRect(dialog, &window);
    std::string snapshot = Describe(window) + (IsWindowEnabled(dialog) ? " enabled" : " disabled");
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        snapshot += " " + std::to_string(GetDlgCtrlID(child)) + ":" + e2e::Text(child) + ":" +
                    Describe(e2e::RectIn(child, dialog)) + (IsWindowVisible(child) ? "" : ":hidden");
    return snapshot;
}

TEST(Interaction, TheSystemMenuEndsInAboutWhichOpensModallyAndReturnsToTheUnchangedDialog) {
    Program program;
    const HWND dialog = program.WaitForMainDialog();
    ASSERT_NE(nullptr, dialog);
    const std::string before = Snapshot(dialog);

    const std::vector<std::string> menu = e2e::SystemMenuOf(dialog);
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ((std::vector<std::string>{"separator", "16 &About..."}),
              std::vector<std::string>(menu.end() - 2, menu.end()))
        << ::testing::PrintToString(menu);

    // Chosen twice, as its last entry.
    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE("time " + std::to_string(time));
        ASSERT_TRUE(e2e::WaitForForeground(dialog));
        e2e::PressKeyWithAlt(VK_SPACE);
        e2e::PressKey(VK_END);
        e2e::PressKey(VK_RETURN);
        const HWND about = program.WaitForWindow([](HWND w) { return e2e::Text(w) == "About Optivue"; });
        ASSERT_NE(nullptr, about);
        EXPECT_EQ(dialog, GetWindow(about, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(dialog)) << "the About box is modal";
        std::vector<HWND> children;
        for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        ASSERT_EQ(4u, children.size());
        EXPECT_EQ("Optivue V1.10 L12E", e2e::Text(children[0]));
        EXPECT_NE(std::string::npos, e2e::Text(children[1]).find("Korvani")) << e2e::Text(children[1]);
        EXPECT_EQ("OK", e2e::Text(children[2]));
        EXPECT_EQ(IDOK, GetDlgCtrlID(children[2]));
        EXPECT_EQ(SS_ICON, GetWindowLongA(children[3], GWL_STYLE) & SS_TYPEMASK);
        // Keys go to the active window: under emulation the box can take seconds to become it.
        ASSERT_TRUE(e2e::WaitForForeground(about));
        e2e::PressKey(VK_RETURN);
        ASSERT_TRUE(e2e::WaitUntilGone(about));
        e2e::Sync(dialog);
        EXPECT_EQ(before, Snapshot(dialog));
    }
    e2e::PressKey(VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit());
}

TEST(Interaction, TheOkCommandLeavesTheDialogOpenOtherSystemCommandsKeepTheirEffectAndQuitEndsIt) {
    Program program;
    const HWND dialog = program.WaitForMainDialog();
    ASSERT_NE(nullptr, dialog);
    const std::string before = Snapshot(dialog);

    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(before, Snapshot(dialog));

    SendMessageA(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(dialog));
    SendMessageA(dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_EQ(before, Snapshot(dialog));

    // The quit message ends the modal run, and with it the program.
    PostThreadMessageA(GetWindowThreadProcessId(dialog, nullptr), WM_QUIT, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(&exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST(Interaction, TheCloseButtonAndTheCloseBoxEndTheProgram) {
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Close button");
        Program program;
        const HWND dialog = program.WaitForMainDialog();
        ASSERT_NE(nullptr, dialog);
        if (closeBox) {
            const POINT box = e2e::CloseBoxOf(dialog);
            ASSERT_EQ(HTCLOSE, SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(box.x, box.y)));
            e2e::ClickAt(box);
        } else {
            e2e::ClickOn(GetDlgItem(dialog, IDCANCEL));
        }
        DWORD exitCode = 1;
        EXPECT_TRUE(program.WaitForExit(&exitCode));
        EXPECT_EQ(0u, exitCode);
    }
}

}  // namespace
