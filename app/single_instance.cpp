#include "app/single_instance.h"

SingleInstanceGuard::SingleInstanceGuard(const char* mutexName) : mutexName_(mutexName), mutex_(nullptr) {}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (mutex_) ReleaseMutex(mutex_);
}

bool SingleInstanceGuard::claim() {
    mutex_ = CreateMutexA(nullptr, FALSE, mutexName_);
    return mutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}
