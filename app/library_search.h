// Where the program's libraries loaded by name are looked for. Both programs are started from wherever a
// user or a shortcut was (the current folder), and Windows 2000 and XP look in the current folder before
// the path: where kernel32 has SetDllDirectoryW (Windows XP SP1, Server 2003), an empty folder takes the
// current folder out of that search. Windows 2000 and XP without a service pack lack the function, and
// it is looked up by name so that both programs still start there.
#pragma once

#include <windows.h>

inline void LeaveCurrentFolderOutOfLibrarySearch() {
    typedef BOOL(WINAPI * SetDllDirectoryFn)(LPCWSTR);
    // kernel32 is in every process: nothing is loaded.
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    const auto setDllDirectory =
        reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDllDirectoryW")));
    if (setDllDirectory) setDllDirectory(L"");
}
