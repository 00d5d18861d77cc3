// The simulated kernel: the version the system reports, named mutexes and the files of the Startup folder.
#include <simwin/sim.h>

#include <cstring>
#include <string>

namespace simwin {

Kernel::Kernel() {
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    version.dwMajorVersion = 5;
    version.dwMinorVersion = 1;
    version.dwBuildNumber = 2600;
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::strcpy(version.szCSDVersion, "Service Pack 2");
}

bool Kernel::FileExists(const std::string& path) const {
    for (const std::string& file : files)
        if (SameTextIgnoringCase(file, path)) return true;
    return false;
}

void Kernel::AddFile(const std::string& path) {
    if (!FileExists(path)) files.push_back(path);
}

}  // namespace simwin

using simwin::machine;
using simwin::Quote;

namespace {

std::string HandleName(HANDLE handle) { return handle ? simwin::Hex(reinterpret_cast<uintptr_t>(handle)) : "NULL"; }

}  // namespace

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    const std::string args = info ? "OSVERSIONINFOA{size=" + std::to_string(info->dwOSVersionInfoSize) + "}" : "NULL";
    auto finish = [&](BOOL result) {
        machine().journal.Record("GetVersionExA", args, result);
        return result;
    };
    if (auto fault = machine().faults.Check("GetVersionExA", ERROR_INVALID_PARAMETER)) {
        machine().lastError = static_cast<DWORD>(*fault);
        return finish(FALSE);
    }
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        machine().lastError = ERROR_INVALID_PARAMETER;
        return finish(FALSE);
    }
    *info = machine().kernel.version;
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return finish(TRUE);
}

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name) {
    simwin::Kernel& kernel = machine().kernel;
    std::string args =
        std::string(attributes ? "attributes" : "NULL") + ", " + (initialOwner ? "TRUE" : "FALSE") + ", " + Quote(name);
    if (auto fault = machine().faults.Check("CreateMutexA", ERROR_ACCESS_DENIED)) {
        machine().lastError = static_cast<DWORD>(*fault);
        machine().journal.Record("CreateMutexA", args, 0);
        return nullptr;
    }
    // An unnamed mutex is one that no other call can find.
    const std::string key = name ? name : "#unnamed" + std::to_string(kernel.nextHandle);
    const bool existed = kernel.mutexOwnership.count(key) != 0;
    int& owned = kernel.mutexOwnership[key];
    if (!existed && initialOwner) owned = 1;
    const uintptr_t handle = kernel.nextHandle;
    kernel.nextHandle += 4;
    kernel.mutexHandles[handle] = key;
    machine().lastError = existed ? ERROR_ALREADY_EXISTS : 0;
    machine().journal.Record("CreateMutexA", args, static_cast<long long>(handle));
    return reinterpret_cast<HANDLE>(handle);
}

BOOL WINAPI ReleaseMutex(HANDLE mutex) {
    simwin::Kernel& kernel = machine().kernel;
    auto finish = [&](BOOL result) {
        machine().journal.Record("ReleaseMutex", HandleName(mutex), result);
        return result;
    };
    const auto handle = kernel.mutexHandles.find(reinterpret_cast<uintptr_t>(mutex));
    if (handle == kernel.mutexHandles.end()) {
        machine().lastError = ERROR_INVALID_HANDLE;
        return finish(FALSE);
    }
    int& owned = kernel.mutexOwnership[handle->second];
    if (owned == 0) {
        machine().lastError = ERROR_NOT_OWNER;
        return finish(FALSE);
    }
    --owned;
    return finish(TRUE);
}

BOOL WINAPI CloseHandle(HANDLE object) {
    simwin::Kernel& kernel = machine().kernel;
    const uintptr_t handle = reinterpret_cast<uintptr_t>(object);
    const BOOL closed = kernel.mutexHandles.erase(handle) || machine().shell.processes.erase(handle) ? TRUE : FALSE;
    if (!closed) machine().lastError = ERROR_INVALID_HANDLE;
    machine().journal.Record("CloseHandle", HandleName(object), closed);
    return closed;
}

namespace {

// Deletes the file of that name (UTF-8); the call's journal entry is the caller's.
BOOL DeleteNamedFile(const char* call, const std::string& name) {
    simwin::Kernel& kernel = machine().kernel;
    if (auto fault = machine().faults.Check(call, ERROR_ACCESS_DENIED)) {
        machine().lastError = static_cast<DWORD>(*fault);
        return FALSE;
    }
    for (auto file = kernel.files.begin(); file != kernel.files.end(); ++file) {
        if (simwin::SameTextIgnoringCase(*file, name)) {
            kernel.files.erase(file);
            return TRUE;
        }
    }
    machine().lastError = ERROR_FILE_NOT_FOUND;
    return FALSE;
}

}  // namespace

BOOL WINAPI DeleteFileA(LPCSTR path) {
    BOOL result = FALSE;
    if (path) {
        result = DeleteNamedFile("DeleteFileA", simwin::Utf8FromAnsi(path));
    } else {
        machine().lastError = ERROR_PATH_NOT_FOUND;
    }
    machine().journal.Record("DeleteFileA", Quote(path), result);
    return result;
}

BOOL WINAPI DeleteFileW(LPCWSTR path) {
    BOOL result = FALSE;
    const std::string name = path ? simwin::Utf8FromUtf16(path) : std::string();
    if (path) {
        result = DeleteNamedFile("DeleteFileW", name);
    } else {
        machine().lastError = ERROR_PATH_NOT_FOUND;
    }
    machine().journal.Record("DeleteFileW", Quote(path ? name.c_str() : nullptr), result);
    return result;
}

BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    const auto found = machine().shell.processes.find(reinterpret_cast<uintptr_t>(process));
    BOOL result = FALSE;
    if (found == machine().shell.processes.end()) {
        machine().lastError = ERROR_INVALID_HANDLE;
    } else {
        *exitCode = machine().clock.NowMs() >= found->second.endsAtMs ? found->second.exitCode : STILL_ACTIVE;
        result = TRUE;
    }
    machine().journal.Record("GetExitCodeProcess", HandleName(process),
                             result ? static_cast<long long>(*exitCode) : -1);
    return result;
}
