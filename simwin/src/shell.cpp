// The simulated shell: SHChangeNotify only leaves its trace in the journal; SHGetFolderPathA and
// SHGetFolderPathW know the user's Startup folder (an empty one is a folder that does not exist).
#include <shlobj.h>
#include <simwin/sim.h>

void WINAPI SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2) {
    const std::string args = simwin::Hex(static_cast<DWORD>(eventId)) + ", " + simwin::Hex(flags) + ", " +
                             (item1 ? "item" : "NULL") + ", " + (item2 ? "item" : "NULL");
    simwin::machine().journal.Record("SHChangeNotify", args, 0);
}

namespace {

// The Startup folder in the form of one of the calls: `Text` is std::string for the ANSI call and
// std::u16string for the wide one; the journal shows the path the call gave, in UTF-8.
template <class Text, class Char>
HRESULT StartupFolderPath(const char* call, HWND owner, int folder, HANDLE token, DWORD flags, Char* path,
                          const Text& folderPath, const std::string& folderShown) {
    const std::string args = simwin::machine().windows.HandleName(owner) + ", " +
                             simwin::Hex(static_cast<DWORD>(folder)) + ", " + (token ? "token" : "NULL") + ", " +
                             std::to_string(flags);
    auto finish = [&](HRESULT result) {
        simwin::JournalEntry entry;
        entry.call = call;
        entry.args = args;
        entry.result = result;
        if (SUCCEEDED(result)) entry.found = simwin::Quote(folderShown.c_str());
        simwin::machine().journal.Record(std::move(entry));
        return result;
    };
    if (auto fault = simwin::machine().faults.Check(call, E_FAIL)) return finish(static_cast<HRESULT>(*fault));
    if (!path || folder != CSIDL_STARTUP || folderPath.size() >= MAX_PATH) return finish(E_INVALIDARG);
    // A folder that does not exist: the call succeeds with S_FALSE and an empty path.
    if (folderPath.empty()) {
        path[0] = 0;
        return finish(S_FALSE);
    }
    for (size_t i = 0; i < folderPath.size(); ++i) path[i] = static_cast<Char>(folderPath[i]);
    path[folderPath.size()] = 0;
    return finish(S_OK);
}

}  // namespace

HRESULT WINAPI SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path) {
    const std::string ansi = simwin::AnsiFromUtf8(simwin::machine().kernel.startupFolder);
    return StartupFolderPath("SHGetFolderPathA", owner, folder, token, flags, path, ansi,
                             simwin::Utf8FromAnsi(ansi.c_str()));
}

HRESULT WINAPI SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
    const std::string& startupFolder = simwin::machine().kernel.startupFolder;
    return StartupFolderPath("SHGetFolderPathW", owner, folder, token, flags, path,
                             simwin::Utf16FromUtf8(startupFolder), startupFolder);
}
