# Cross toolchain: 32-bit Windows binaries from Debian's MinGW-w64, in one of its
# two thread models, chosen by BK_MINGW_THREADS:
#   posix (the default): std::thread and std::mutex through winpthread, linked
#          statically. The test programs need them (their helper threads).
#   win32: no winpthread. bkQuorvel.dll is built so, in a tree of its own that
#          src/dll makes: winpthread would bring thread-control imports
#          (SuspendThread, SetThreadContext, OpenProcess, ...) into a DLL that
#          starts no threads.
# A tree uses one model throughout: objects compiled against one model's C++
# headers are linked with that model's runtime only.
if(NOT BK_MINGW_THREADS)
    set(BK_MINGW_THREADS posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BK_MINGW_THREADS)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${BK_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${BK_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
