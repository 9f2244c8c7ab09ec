quenn_unit_test(app_test
    SOURCES frame_rate_counter_test.cpp frame_test.cpp globals_test.cpp main_window_test.cpp
            win_main_test.cpp
            window_procedure_test.cpp
    LIBRARIES quenn_app quenn_recording_gl quenn_test_win32)

# The Windows programs import only the system's DLLs. They come from the
# windows and windows64 presets' builds, which scripts/test makes before
# running the tests.
set(QUENN_WINDOWS_PROGRAMS_DIR "${PROJECT_SOURCE_DIR}/build/windows/app"
    CACHE PATH "Where the windows preset puts quenn.exe and quenn-fast.exe")
set(QUENN_WINDOWS64_PROGRAMS_DIR "${PROJECT_SOURCE_DIR}/build/windows64/app"
    CACHE PATH "Where the windows64 preset puts quenn.exe and quenn-fast.exe")
# NAME_SUFFIX TARGET FORMAT DIR for each build.
foreach(build IN ITEMS ";i686;pei-i386;${QUENN_WINDOWS_PROGRAMS_DIR}"
                       "64;x86_64;pei-x86-64;${QUENN_WINDOWS64_PROGRAMS_DIR}")
    list(GET build 0 suffix)
    list(GET build 1 target)
    list(GET build 2 format)
    list(GET build 3 dir)
    find_program(QUENN_MINGW_OBJDUMP_${target} ${target}-w64-mingw32-objdump)
    set(name windows${suffix}_programs_import_only_system_dlls)
    add_test(NAME ${name}
             COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${QUENN_MINGW_OBJDUMP_${target}}
                     -DFORMAT=${format} -DPROGRAMS_DIR=${dir}
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/check_windows_imports.cmake)
    set_tests_properties(${name} PROPERTIES LABELS programs SKIP_REGULAR_EXPRESSION "SKIPPED:")
endforeach()

# The benchmarks' recording and replay of a frame's calls.
quenn_unit_test(frame_calls_test
    SOURCES frame_calls_test.cpp ${PROJECT_SOURCE_DIR}/bench/frame_calls.cpp
    LIBRARIES quenn_app quenn_recording_gl quenn_test_win32 quenn_stream_text)
