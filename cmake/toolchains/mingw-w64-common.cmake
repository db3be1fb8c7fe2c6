# Cross-compiling for Windows with Debian's MinGW-w64 compilers of the posix thread model (which std::thread
# and GoogleTest need), for TALLYFORM_MINGW_ARCH: x86_64 or i686. 64-bit programs built with it run under
# Wine on the build machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TALLYFORM_MINGW_ARCH})
set(CMAKE_C_COMPILER ${TALLYFORM_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALLYFORM_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${TALLYFORM_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TALLYFORM_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The compiler's own runtime (libstdc++, libgcc, winpthread) goes into each program, so that a program runs
# without DLLs copied beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
