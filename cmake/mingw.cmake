# What the MinGW-w64 cross builds share; mingw-i686.cmake and
# mingw-x86_64.cmake set QUENN_MINGW_TARGET (the compilers' prefix) first.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model: the program has one thread and needs no winpthread.
set(CMAKE_CXX_COMPILER ${QUENN_MINGW_TARGET}-g++-win32)
set(CMAKE_RC_COMPILER ${QUENN_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUENN_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The C++ runtime linked in, so that the programs import only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
