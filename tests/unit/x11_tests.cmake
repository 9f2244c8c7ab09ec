# The X11 layer's own logic, which needs no X server, and the native
# programs' linked libraries.
if(NOT TARGET quenn_x11_logic)
    return()
endif()

quenn_unit_test(x11_test
    SOURCES x11_error_trap_test.cpp x11_event_translation_test.cpp x11_font_metrics_test.cpp
            x11_message_box_test.cpp
    LIBRARIES quenn_x11_logic)

# quenn and quenn-fast load the X client library, GLVND's OpenGL and GLX and
# the C and C++ runtimes, and nothing else.
if(TARGET quenn AND TARGET quenn-fast)
    find_program(QUENN_READELF NAMES readelf REQUIRED)
    add_test(NAME x11_linked_libraries
             COMMAND ${CMAKE_COMMAND} -DREADELF=${QUENN_READELF}
                     "-DPROGRAMS=$<TARGET_FILE:quenn>;$<TARGET_FILE:quenn-fast>"
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/x11_linked_libraries.cmake)
    set_tests_properties(x11_linked_libraries PROPERTIES LABELS programs)
endif()
