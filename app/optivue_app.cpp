#include "app/optivue_app.h"

#include <commctrl.h>

#include "app/dialog.h"
#include "app/library_search.h"
#include "app/single_instance.h"
#include "app/size_dialog.h"

OptivueApp::OptivueApp() = default;

OptivueApp::~OptivueApp() = default;

BOOL OptivueApp::InitInstance() {
    // Controls draw three-dimensionally by themselves on Windows 2000 and XP; only the common controls
    // need their library initialised.
    InitCommonControls();
    SingleInstanceGuard guard(kSingleInstanceMutexName);
    if (guard.claim()) {
        SizeDialog dialog;
        SetMainWindow(&dialog);
        dialog.DoModal();
        SetMainWindow(nullptr);
        exitCode_ = dialog.ExitCode();
    }
    return FALSE;
}

namespace {
OptivueApp theApp;
}  // namespace

// The program takes no arguments; it ends when the application's initialisation returns.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    LeaveCurrentFolderOutOfLibrarySearch();
    SetResourceModule(instance);
    theApp.InitInstance();
    return theApp.ExitCode();
}
