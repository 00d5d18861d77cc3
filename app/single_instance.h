// Keeps a second copy of the program out: the first copy holds a named mutex for its whole run.
#pragma once

#include <windows.h>

constexpr const char* kSingleInstanceMutexName = "ThisIsBrontypeMutex";

class SingleInstanceGuard {
public:
    // The name is kept, not copied: it is a constant that outlives the guard.
    explicit SingleInstanceGuard(const char* mutexName);
    // Releases the mutex but leaves its handle open: the name stays claimed until the process ends.
    virtual ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True only when this call created the mutex. A mutex that already existed (another copy runs) and a
    // mutex that could not be created both give false.
    bool claim();

private:
    const char* mutexName_;
    HANDLE mutex_;
};
