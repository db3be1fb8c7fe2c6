# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 compilers.
set(TALLYFORM_MINGW_ARCH i686)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake")
# Floating point in SSE2 registers, as in 64-bit programs: the x87 unit's longer intermediate results would
# round sizes and positions differently (a zoomed page 863 pixels high instead of 864).
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
