// The simulated shell: SHChangeNotify only leaves its trace in the journal; SHGetFolderPathA knows the
// user's Startup folder (an empty one is a folder that does not exist).
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
        simwin::JournalEntry entry;
        entry.call = "SHGetFolderPathA";
        entry.args = args;
        entry.result = result;
        if (SUCCEEDED(result)) entry.found = simwin::Quote(path);
        simwin::machine().journal.Record(std::move(entry));
        return result;
    };
    if (auto fault = simwin::machine().faults.Check("SHGetFolderPathA", E_FAIL)) return finish(static_cast<HRESULT>(*fault));
    const std::string& folderPath = simwin::machine().kernel.startupFolder;
    if (!path || folder != CSIDL_STARTUP || folderPath.size() >= MAX_PATH) return finish(E_INVALIDARG);
    // A folder that does not exist: the ANSI call succeeds with S_FALSE and an empty path.
    if (folderPath.empty()) {
        path[0] = '\0';
        return finish(S_FALSE);
    }
    folderPath.copy(path, folderPath.size());
    path[folderPath.size()] = '\0';
    return finish(S_OK);
}
