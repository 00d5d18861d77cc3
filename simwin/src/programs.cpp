// The simulated program files: whether a file is there, and ShellExecuteA, which starts one by handing it
// to the shell's start hook.
#include <shellapi.h>
#include <simwin/sim.h>

using simwin::machine;
using simwin::Quote;

namespace {

// What ShellExecuteA returns for a program it started: any value above 32 says so.
constexpr uintptr_t kStarted = 42;

}  // namespace

DWORD WINAPI GetFileAttributesA(LPCSTR path) {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (auto fault = machine().faults.Check("GetFileAttributesA", ERROR_FILE_NOT_FOUND)) {
        machine().lastError = static_cast<DWORD>(*fault);
    } else if (path && machine().kernel.FileExists(path)) {
        attributes = FILE_ATTRIBUTE_ARCHIVE;
    } else {
        machine().lastError = ERROR_FILE_NOT_FOUND;
    }
    machine().journal.Record("GetFileAttributesA", Quote(path), attributes);
    return attributes;
}

HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    const std::string args = machine().windows.HandleName(owner) + ", " + Quote(verb) + ", " + Quote(file) + ", " +
                             Quote(parameters) + ", " + Quote(directory) + ", " + std::to_string(show);
    uintptr_t result = SE_ERR_FNF;
    if (auto fault = machine().faults.Check("ShellExecuteA", SE_ERR_FNF)) {
        result = static_cast<uintptr_t>(*fault);
    } else if (file && machine().kernel.FileExists(file)) {
        result = kStarted;
    }
    machine().journal.Record("ShellExecuteA", args, static_cast<long long>(result));
    // The started program runs after the call is on record, as another process would.
    if (result == kStarted && machine().shell.onStart) machine().shell.onStart(file, parameters ? parameters : "");
    return reinterpret_cast<HINSTANCE>(result);
}
