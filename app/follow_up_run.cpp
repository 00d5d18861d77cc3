#include "app/follow_up_run.h"

#include <shlobj.h>

#include <cstring>

#include "settings/desktop_icon_view.h"
#include "settings/registry.h"

namespace {

// Whether the ANSI code page holds `path` exactly: every character has its own byte, none is replaced by
// a look-alike or by "?". A conversion that fails tells nothing, and counts as no.
bool AnsiHolds(const WCHAR* path) {
    char ansi[MAX_PATH * 2];
    BOOL replaced = FALSE;
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, ansi, sizeof ansi, nullptr, &replaced) != 0 &&
           !replaced;
}

// Deletes "Optivue.lnk" from the user's Startup folder, by the path the shortcut was made by: the wide
// form. Where the folder's path has a character outside the ANSI code page (a Greek user name on a German
// system, say), its ANSI form names another file; where the ANSI form holds it, the ANSI calls name the
// same file and are used.
void DeleteStartupShortcut() {
    // The folder's path (at most MAX_PATH with its NUL), the backslash and the file name.
    constexpr char kSeparatedName[] = "\\" OPTIVUE_STARTUP_SHORTCUT;
    WCHAR widePath[MAX_PATH + sizeof kSeparatedName] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, widePath) == S_OK && widePath[0] != 0 &&
        !AnsiHolds(widePath)) {
        size_t length = 0;
        while (length < MAX_PATH && widePath[length] != 0) ++length;
        // The name is plain ASCII, the same character in both forms.
        for (const char* c = kSeparatedName; *c; ++c) widePath[length++] = static_cast<WCHAR>(*c);
        widePath[length] = 0;
        DeleteFileW(widePath);
        return;
    }
    // A folder that does not exist comes back as S_FALSE with an empty path: the shortcut is then nowhere,
    // and a path made of the bare name would name a file in the current drive's root.
    char path[MAX_PATH + sizeof kSeparatedName] = "";
    if (SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK && path[0] != '\0') {
        std::strcat(path, kSeparatedName);
        DeleteFileA(path);
    }
}

}  // namespace

void CheckFollowUpRun(HWND dialog) {
    DWORD changed = 0;
    if (ReadRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, &changed) && changed != 0) {
        RefreshDesktopIconLayout();
        WriteRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 0);
        DeleteStartupShortcut();
        EndDialog(dialog, 0);
    }
    // Every start leaves the flag written as 0, its key made where it was missing. After a follow-up run
    // this repeats the write above, which cleared the request before the shortcut was handled.
    WriteRegDword(HKEY_CURRENT_USER, OPTIVUE_PROGRAM_KEY, OPTIVUE_CHANGED_VALUE, 0);
}
