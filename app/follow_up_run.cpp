#include "app/follow_up_run.h"

#include <shlobj.h>

#include <cstring>

#include "settings/desktop_icon_view.h"
#include "settings/registry.h"

void CheckFollowUpRun(HWND dialog) {
    DWORD changed = 0;
    if (ReadRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, &changed) && changed != 0) {
        RefreshDesktopIconLayout();
        WriteRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 0);
        // The folder's path (at most MAX_PATH with its NUL), the backslash and the file name. A folder that
        // does not exist comes back as S_FALSE with an empty path: the shortcut is then nowhere, and a
        // path made of the bare name would name a file in the current drive's root.
        char path[MAX_PATH + 1 + sizeof OPTIVUE_STARTUP_SHORTCUT] = "";
        if (SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK && path[0] != '\0') {
            std::strcat(path, "\\");
            std::strcat(path, OPTIVUE_STARTUP_SHORTCUT);
            DeleteFileA(path);
        }
        EndDialog(dialog, 0);
    }
    // Every start leaves the flag written as 0, its key made where it was missing. After a follow-up run
    // this repeats the write above, which cleared the request before the shortcut was handled.
    WriteRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 0);
}
