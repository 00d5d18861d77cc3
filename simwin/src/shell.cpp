// The simulated shell: SHChangeNotify only leaves its trace in the journal; SHGetFolderPathA knows the
// user's Startup folder.
#include <shlobj.h>
#include <simwin/sim.h>

void WINAPI SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2) {
    const std::string args = simwin::Hex(static_cast<DWORD>(eventId)) + ", " + simwin::Hex(flags) + ", " +
                             (item1 ? "item" : "NULL") + ", " + (item2 ? "item" : "NULL");
    simwin::machine().journal.Record("SHChangeNotify", args, 0);
}

HRESULT WINAPI SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path) {
    const std::string args = simwin::machine().windows.HandleName(owner) + ", " + simwin::Hex(static_cast<DWORD>(folder)) + ", " +
                             (token ? "token" : "NULL") + ", " + std::to_string(flags);
    auto finish = [&](HRESULT result) {
        if (SUCCEEDED(result)) simwin::machine().journal.Record("SHGetFolderPathA", args + " => " + simwin::Quote(path), result);
        else simwin::machine().journal.Record("SHGetFolderPathA", args, result);
        return result;
    };
    if (auto fault = simwin::machine().faults.Check("SHGetFolderPathA", E_FAIL)) return finish(static_cast<HRESULT>(*fault));
    const std::string& folderPath = simwin::machine().kernel.startupFolder;
    if (!path || folder != CSIDL_STARTUP || folderPath.empty() || folderPath.size() >= MAX_PATH) return finish(E_INVALIDARG);
    folderPath.copy(path, folderPath.size());
    path[folderPath.size()] = '\0';
    return finish(S_OK);
}
