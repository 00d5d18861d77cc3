# Cross build for 32-bit Windows with Debian's MinGW-w64 i686 compilers.
# OPTIVUE_MINGW_THREADS: win32 (the product) or posix (the test executables: GoogleTest needs std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(OPTIVUE_MINGW_THREADS "win32" CACHE STRING "Thread model of the MinGW-w64 compiler: win32 or posix")
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${OPTIVUE_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${OPTIVUE_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Statically linked (no DLL beyond the system's own) and marked for Windows 2000 (5.0).
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--major-os-version,5,--minor-os-version,0,--major-subsystem-version,5,--minor-subsystem-version,0")
