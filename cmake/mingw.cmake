# Windows programs with Debian's mingw-w64 toolchain. MINGW_ARCH picks the kind:
# i686 (the default) for the 32-bit programs, x86_64 for their 64-bit builds,
# which the end-to-end tests run on hosts that cannot run 32-bit code.
# MINGW_THREADS picks the C++ runtime's thread model, and with it what the tree
# holds (cmake/windows.cmake):
#   win32 (the default): the launchers and the other Windows programs. Their
#     runtime then asks nothing of Windows that XP lacks; the posix model's
#     winpthreads imports GetTickCount64, which Windows has only from Vista on.
#   posix: the end-to-end test runner, since GoogleTest needs std::mutex, which
#     this compiler's win32 model lacks.
# -static links that runtime into each program.
if(NOT MINGW_ARCH)
    set(MINGW_ARCH i686)
endif()
if(NOT MINGW_THREADS)
    set(MINGW_THREADS win32)
endif()
if(NOT MINGW_THREADS MATCHES "^(win32|posix)$")
    message(FATAL_ERROR "MINGW_THREADS is win32 or posix, not ${MINGW_THREADS}")
endif()
# The compiler checks run in projects of their own, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MINGW_ARCH MINGW_THREADS)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_ARCH})
set(CMAKE_C_COMPILER ${MINGW_ARCH}-w64-mingw32-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_ARCH}-w64-mingw32-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
