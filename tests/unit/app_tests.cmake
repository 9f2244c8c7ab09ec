quenn_unit_test(app_test
    SOURCES frame_rate_counter_test.cpp frame_test.cpp globals_test.cpp main_window_test.cpp
            win_main_test.cpp
            window_procedure_test.cpp
    LIBRARIES quenn_app quenn_recording_gl quenn_recording_win32)

# The Windows programs import only the system's DLLs. They come from the
# windows preset's build, which scripts/test makes before running the tests.
set(QUENN_WINDOWS_PROGRAMS_DIR "${PROJECT_SOURCE_DIR}/build/windows/app"
    CACHE PATH "Where the windows preset puts quenn.exe and quenn-fast.exe")
find_program(QUENN_MINGW_OBJDUMP i686-w64-mingw32-objdump)
add_test(NAME windows_programs_import_only_system_dlls
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${QUENN_MINGW_OBJDUMP}
                 -DPROGRAMS_DIR=${QUENN_WINDOWS_PROGRAMS_DIR}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/check_windows_imports.cmake)
set_tests_properties(windows_programs_import_only_system_dlls PROPERTIES
                     LABELS programs SKIP_REGULAR_EXPRESSION "SKIPPED:")

# The benchmarks' recording and replay of a frame's calls.
quenn_unit_test(frame_calls_test
    SOURCES frame_calls_test.cpp ${PROJECT_SOURCE_DIR}/bench/frame_calls.cpp
            ${PROJECT_SOURCE_DIR}/bench/frame_encoding.cpp
    LIBRARIES quenn_app quenn_recording_gl quenn_recording_win32)
