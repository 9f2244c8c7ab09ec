# cmake -DOBJDUMP=<objdump> -DFORMAT=<pei-i386|pei-x86-64> -DPROGRAMS_DIR=<dir>
#       -P check_windows_imports.cmake
# Fails unless quenn.exe and quenn-fast.exe in PROGRAMS_DIR are programs of
# objdump's FORMAT that import nothing but the system DLLs below. Prints
# "SKIPPED" when one has not been built.
cmake_minimum_required(VERSION 3.25)
set(allowed KERNEL32.DLL USER32.DLL GDI32.DLL OPENGL32.DLL MSVCRT.DLL)
set(PROGRAMS "${PROGRAMS_DIR}/quenn.exe" "${PROGRAMS_DIR}/quenn-fast.exe")

foreach(program IN LISTS PROGRAMS)
    if(NOT EXISTS "${program}")
        message("SKIPPED: ${program} is not built")
        return()
    endif()
endforeach()

foreach(program IN LISTS PROGRAMS)
    execute_process(COMMAND "${OBJDUMP}" -p "${program}" OUTPUT_VARIABLE dump
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${OBJDUMP} cannot read ${program}")
    endif()
    if(NOT dump MATCHES "file format ${FORMAT}\n")
        message(FATAL_ERROR "${program} is not of the format ${FORMAT}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
    if(NOT lines)
        message(FATAL_ERROR "${program} imports nothing")
    endif()
    foreach(line IN LISTS lines)
        string(REPLACE "DLL Name: " "" dll "${line}")
        string(STRIP "${dll}" dll)
        string(TOUPPER "${dll}" dll)
        if(NOT dll IN_LIST allowed)
            message(FATAL_ERROR "${program} imports ${dll}")
        endif()
        message("${program}: ${dll}")
    endforeach()
endforeach()
