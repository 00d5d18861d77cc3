// The simulated program files: whether a file is there, and ShellExecuteExA, which starts one by handing it
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

BOOL WINAPI ShellExecuteExA(LPSHELLEXECUTEINFOA info) {
    simwin::Shell& shell = machine().shell;
    const std::string args = "cbSize=" + std::to_string(info->cbSize) + ", " + simwin::Hex(info->fMask) + ", " +
                             machine().windows.HandleName(info->hwnd) + ", " + Quote(info->lpVerb) + ", " +
                             Quote(info->lpFile) + ", " + Quote(info->lpParameters) + ", " + Quote(info->lpDirectory) +
                             ", " + std::to_string(info->nShow);
    info->hProcess = nullptr;
    BOOL started = FALSE;
    if (auto fault = machine().faults.Check("ShellExecuteExA", ERROR_FILE_NOT_FOUND)) {
        machine().lastError = static_cast<DWORD>(*fault);
        info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(SE_ERR_FNF));
    } else if (info->cbSize != sizeof *info || !info->lpFile || !machine().kernel.FileExists(info->lpFile)) {
        machine().lastError = info->cbSize != sizeof *info ? ERROR_INVALID_PARAMETER : ERROR_FILE_NOT_FOUND;
        info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(SE_ERR_FNF));
    } else {
        started = TRUE;
        info->hInstApp = reinterpret_cast<HINSTANCE>(kStarted);
    }
    std::string handle;
    if (started && (info->fMask & SEE_MASK_NOCLOSEPROCESS)) {
        const uintptr_t process = shell.nextProcess++;
        shell.processes[process] = {0, 0};  // its end is known once the start hook has run
        info->hProcess = reinterpret_cast<HANDLE>(process);
        handle = simwin::Hex(process);
    }
    simwin::JournalEntry entry;
    entry.call = "ShellExecuteExA";
    entry.args = args;
    entry.result = started;
    entry.found = handle;
    machine().journal.Record(std::move(entry));
    if (!started) return FALSE;
    shell.runsForMs = 0;
    shell.exitCode = 0;
    if (shell.onStart) shell.onStart(info->lpFile, info->lpParameters ? info->lpParameters : "");
    if (info->hProcess)
        shell.processes[reinterpret_cast<uintptr_t>(info->hProcess)] = {machine().clock.NowMs() + shell.runsForMs,
                                                                        shell.exitCode};
    return TRUE;
}
