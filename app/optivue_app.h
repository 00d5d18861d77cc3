// The application object: one global instance whose initialisation is the whole run of the program.
#pragma once

#include <windows.h>

class OptivueApp {
public:
    OptivueApp();
    virtual ~OptivueApp();
    OptivueApp(const OptivueApp&) = delete;
    OptivueApp& operator=(const OptivueApp&) = delete;

    // Keeps other copies out, runs the main dialog modally and returns false, so that the process ends as
    // soon as it returns. A second copy returns at once without showing anything or activating the first.
    virtual BOOL InitInstance();

    // The process's exit code, once InitInstance has returned: the main dialog's.
    int ExitCode() const { return exitCode_; }

private:
    int exitCode_ = 0;
};
