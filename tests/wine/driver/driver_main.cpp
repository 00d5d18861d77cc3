// app_driver.exe: the end-to-end tests of optivue.exe and its installer under Wine. Each run of
// tests/wine/wine-run picks the language and the screen; the test filter picks the checks that belong to
// that set-up, and the tests set the system version per start of a program.
//   app_driver.exe --program=PATH [--setup=PATH] [--package=PATH --older-package=PATH --older-setup=PATH]
//                  [GoogleTest options]
// With --pose=main, about, confirm, notice or not-changed (and --version=NAME) it starts the program
// instead, brings up the main dialog, the About box over it, the Large size's confirmation, the notice after
// it or, without the style tool on Windows XP with a visual style, the box that says what did not change, writes
// "ready" with the posed window's place on the screen (WxH+X+Y) and holds the pose until a line arrives on
// its standard input; tests/wine/screenshots takes its pictures meanwhile. --pose=style-box starts the
// visual-style tool beside the program with Large Size under Wine's own style, which lacks it, and poses
// the tool's message box.
#include "res/resource_ids.h"
#include "settings/visual_style.h"
#include "tests/support/registry_keys.h"
#include "tests/support/test_platform.h"
#include "tests/wine/driver/input.h"
#include "tests/wine/driver/program.h"
#include "tests/wine/driver/waits.h"
#include "tests/wine/driver/window_reading.h"
#include "tests/wine/style_tool_start.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

const char* Option(const char* argument, const char* name) {
    const size_t length = std::strlen(name);
    return std::strncmp(argument, name, length) == 0 ? argument + length : nullptr;
}

void Ready(HWND posed) {
    // Time for the last paint to reach the display.
    Sleep(500);
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(posed, &rect);
    std::cout << "ready " << rect.right - rect.left << "x" << rect.bottom - rect.top << "+" << rect.left << "+"
              << rect.top << std::endl;
    std::string line;
    std::getline(std::cin, line);
}

// The tool as the program starts it, without a standard error output, so that it speaks in a message box.
int PoseStyleToolBox() {
    const std::string kThemeManagerKey = test_keys::kThemeManager;
    test_platform::SavedUserSettings saved({kThemeManagerKey});
    test_platform::PutString(kThemeManagerKey, "ThemeActive", "1");
    test_platform::PutString(kThemeManagerKey, "SizeName", "NormalSize");
    const std::string tool = e2e::ProgramPath().substr(0, e2e::ProgramPath().find_last_of('\\') + 1) + "chgtheme.exe";
    PROCESS_INFORMATION process;
    if (!style_tool_start::StartWithoutErrorOutput(tool, "LargeFonts", &process)) return 1;
    HWND box = nullptr;
    e2e::WaitUntil([&box, &process] {
        for (HWND window = GetTopWindow(nullptr); window && !box; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process.dwProcessId && IsWindowVisible(window) && e2e::ClassName(window) == "#32770")
                box = window;
        }
        return box != nullptr || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    });
    if (box) {
        e2e::Sync(box);
        Ready(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    WaitForSingleObject(process.hProcess, e2e::kWaitMs);
    CloseHandle(process.hProcess);
    return box ? 0 : 1;
}

int Pose(const std::string& pose, const std::string& version) {
    if (pose == "style-box") return PoseStyleToolBox();
    // The notice comes only after a size is applied: the user's settings are put back when the pose ends.
    test_platform::SavedUserSettings saved({"Control Panel\\Desktop\\WindowMetrics", "Control Panel\\Cursors",
                                            "Control Panel\\Appearance", "Control Panel\\Colors",
                                            "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3",
                                            test_keys::kThemeManager});
    // The box after a command that could not change everything: Large on Windows XP with a visual style and
    // without the style tool in the installation folder.
    if (pose == "not-changed") {
        test_platform::PutString(test_keys::kThemeManager, "ThemeActive", "1");
        DeleteFileA(kStyleToolPath);
    }
    // The notice comes after a command that changed everything: the classic style, which needs no tool.
    if (pose == "notice") test_platform::PutString(test_keys::kThemeManager, "ThemeActive", "0");
    e2e::Program program(version.empty() ? nullptr : version.c_str());
    const HWND dialog = program.WaitForMainDialog();
    if (!dialog) return 1;
    HANDLE frozen = nullptr;
    HWND posed = dialog;
    if (pose == "confirm" || pose == "notice" || pose == "not-changed") {
        e2e::ClickOn(GetDlgItem(dialog, IDC_LARGE_SIZE));
        const HWND confirm = program.WaitForConfirmation();
        if (!confirm) return 1;
        e2e::Sync(confirm);
        posed = confirm;
        if (pose == "not-changed") {
            if (!e2e::WaitForForeground(confirm)) return 1;
            e2e::ClickOn(GetDlgItem(confirm, IDOK));
            posed = program.WaitForMessageBox();
            if (!posed) return 1;
            e2e::Sync(posed);
        }
        if (pose == "notice") {
            if (!e2e::WaitForForeground(confirm)) return 1;
            e2e::ClickOn(GetDlgItem(confirm, IDOK));
            const HWND notice = program.WaitForChangedNotice();
            if (!notice) return 1;
            e2e::Sync(notice);
            posed = notice;
            // Held on screen past its two seconds: the program's thread waits until the picture is taken.
            frozen = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(notice, nullptr));
            if (!frozen || SuspendThread(frozen) == static_cast<DWORD>(-1)) return 1;
        }
    }
    if (pose == "about") {
        e2e::PressKeyWithAlt(VK_SPACE);
        e2e::PressKey(VK_END);
        e2e::PressKey(VK_RETURN);
        const HWND about = program.WaitForWindow([](HWND w) { return e2e::Text(w) == "About Optivue"; });
        if (!about) return 1;
        e2e::Sync(about);
        posed = about;
    }
    Ready(posed);
    if (pose == "not-changed") {
        PostMessageA(posed, WM_COMMAND, IDOK, 0);
        program.WaitForExit();
    }
    if (frozen) {
        ResumeThread(frozen);
        CloseHandle(frozen);
        program.WaitForExit();
    }
    e2e::UseVersion(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    e2e::ReadPathOptions(argc, argv);
    std::string pose, version;
    for (int i = 1; i < argc; ++i) {
        if (const char* value = Option(argv[i], "--pose=")) pose = value;
        if (const char* value = Option(argv[i], "--version=")) version = value;
    }
    if (e2e::ProgramPath().empty()) {
        std::fprintf(stderr,
                     "usage: app_driver.exe --program=PATH [--pose=main|about|confirm|notice|not-changed|style-box "
                     "[--version=NAME]] "
                     "[GoogleTest options]\n");
        return 2;
    }
    return pose.empty() ? RUN_ALL_TESTS() : Pose(pose, version);
}
