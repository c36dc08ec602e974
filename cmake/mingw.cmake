# Windows programs with Debian's mingw-w64 toolchain. MINGW_ARCH picks the kind:
# i686 (the default) for the 32-bit programs, x86_64 for their 64-bit builds,
# which the end-to-end tests run on hosts that cannot run 32-bit code.
# The posix thread model gives the standard library std::mutex (the test
# framework needs it); -static links that runtime into each program.
if(NOT MINGW_ARCH)
    set(MINGW_ARCH i686)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_ARCH})
set(CMAKE_C_COMPILER ${MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
