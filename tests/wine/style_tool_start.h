// chgtheme started as the program starts it, shared by chgtheme_tests and app_driver.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

namespace style_tool_start {

// Starts `tool` with `arguments` without a standard error output (each standard handle null), so that a
// refusal or a failure goes into a message box. False when it did not start; otherwise `process` holds the
// process handle, which the caller closes (the thread handle is closed here).
inline bool StartWithoutErrorOutput(const std::string& tool, const std::string& arguments,
                                    PROCESS_INFORMATION* process) {
    std::string commandLine = "\"" + tool + "\" " + arguments;
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // each of them null
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process))
        return false;
    CloseHandle(process->hThread);
    process->hThread = nullptr;
    return true;
}

}  // namespace style_tool_start
