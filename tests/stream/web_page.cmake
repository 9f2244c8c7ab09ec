# The page's recording build, for the stream tests: build/web/stream/
# index.html (quenn) and fast.html (quenn-fast), whose programs log every
# call that reaches the OpenGL subset's entry points and hand frames of them
# to the page (page_recording.cpp). Neither scripts/web nor the packages
# take it. Included by platform/web/CMakeLists.txt after the pages.

# OpenGL's functions as the program calls them get other names twice in
# this build: the subset's entry points (quennSubset_NAME), and the recording
# OpenGL's (quennRecord_NAME), so that page_recording.cpp calls both. The
# Win32 subset's swap becomes quennLayerSwapBuffers.
set(stream_dir ${PROJECT_SOURCE_DIR}/tests/stream)
file(STRINGS ${PROJECT_SOURCE_DIR}/tests/doubles/gl_functions.inc gl_function_lines
     REGEX "^QUENN_GL\\(")
set(gl_functions glCallLists glGenLists glBitmap)
foreach(line IN LISTS gl_function_lines)
    string(REGEX REPLACE "^QUENN_GL\\(([A-Za-z0-9]+),.*" "\\1" function "${line}")
    list(APPEND gl_functions ${function})
endforeach()
foreach(prefix IN ITEMS Subset Record)
    set(${prefix}_renames ${gl_functions})
    list(TRANSFORM ${prefix}_renames REPLACE "(.+)" "\\1=quenn${prefix}_\\1")
endforeach()

add_library(quenn_stream_page_layer OBJECT gl_entry_points.cpp)
target_compile_definitions(quenn_stream_page_layer PRIVATE ${Subset_renames})
target_link_libraries(quenn_stream_page_layer PUBLIC quenn_web_gl_logic)
target_compile_options(quenn_stream_page_layer PRIVATE -O2)

add_library(quenn_stream_page_recorder OBJECT ${PROJECT_SOURCE_DIR}/tests/doubles/recording_gl.cpp
                                              ${PROJECT_SOURCE_DIR}/tests/doubles/call_log.cpp
                                              ${stream_dir}/stream_text.cpp)
target_compile_definitions(quenn_stream_page_recorder PRIVATE ${Record_renames})
target_include_directories(quenn_stream_page_recorder PUBLIC ${PROJECT_SOURCE_DIR})

# The rest of the page's layer, as the page has it.
get_target_property(layer_sources quenn SOURCES)

foreach(variant IN ITEMS "" "_fast")
    # The Win32 subset as the page has it, but for its SwapBuffers.
    get_target_property(subset_sources quenn_win32_subset${variant} SOURCES)
    list(TRANSFORM subset_sources PREPEND ${PROJECT_SOURCE_DIR}/platform/common/)
    add_library(quenn_stream_win32_subset${variant} OBJECT ${subset_sources})
    target_compile_definitions(quenn_stream_win32_subset${variant} PRIVATE
                               SwapBuffers=quennLayerSwapBuffers)
    target_include_directories(quenn_stream_win32_subset${variant} PUBLIC ${PROJECT_SOURCE_DIR})

    string(REPLACE "_" "-" program "quenn${variant}")
    add_executable(${program}-stream ${layer_sources} ${stream_dir}/page_recording.cpp)
    target_link_libraries(${program}-stream PRIVATE quenn_app${variant} quenn_stream_page_layer
                                                    quenn_stream_win32_subset${variant}
                                                    quenn_win32_entry${variant}
                                                    quenn_stream_page_recorder)
    target_link_options(${program}-stream PRIVATE ${link_options})
    set_target_properties(${program}-stream PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/stream OUTPUT_NAME ${program} SUFFIX .js
        LINK_DEPENDS ${page_js})
endforeach()
page_for(stream/index.html quenn)
page_for(stream/fast.html quenn-fast)
