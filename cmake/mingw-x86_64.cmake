# Cross-compiling the Windows programs for x86-64 with MinGW-w64, to run them
# under 64-bit Wine where 32-bit programs cannot run. x86-64 does its float
# arithmetic in SSE already, as the 32-bit build is told to.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUENN_MINGW_TARGET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
