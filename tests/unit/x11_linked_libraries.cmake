# cmake -DREADELF=... -DPROGRAMS=a;b -P x11_linked_libraries.cmake
# Fails unless each program's NEEDED entries are the X client library,
# GLVND's OpenGL and GLX, and the C and C++ runtimes only, and include the first three.
cmake_policy(VERSION 3.25)

set(required libX11.so.6 libOpenGL.so.0 libGLX.so.0)
set(runtimes libstdc++.so.6 libm.so.6 libgcc_s.so.1 libc.so.6)

foreach(program IN LISTS PROGRAMS)
    execute_process(COMMAND ${READELF} -d ${program} OUTPUT_VARIABLE dynamic
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${READELF} -d ${program} failed")
    endif()
    string(REGEX MATCHALL "\\(NEEDED\\)[^[]*\\[[^]]+\\]" entries "${dynamic}")
    set(needed "")
    foreach(entry IN LISTS entries)
        string(REGEX REPLACE ".*\\[([^]]+)\\]" "\\1" library "${entry}")
        list(APPEND needed ${library})
    endforeach()
    message(STATUS "${program}: ${needed}")
    foreach(library IN LISTS required)
        if(NOT library IN_LIST needed)
            message(FATAL_ERROR "${program} does not load ${library} (it loads: ${needed})")
        endif()
    endforeach()
    foreach(library IN LISTS needed)
        if(NOT library IN_LIST required AND NOT library IN_LIST runtimes)
            message(FATAL_ERROR "${program} loads ${library}, which it must not")
        endif()
    endforeach()
endforeach()
