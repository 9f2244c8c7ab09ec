# Cross-compiling the Windows programs: 32-bit x86 with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUENN_MINGW_TARGET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# SSE2 arithmetic, so that floats round as they do on x86-64.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
