# quenn and quenn-fast are built from the same sources. Every library of the
# program therefore exists twice: NAME for quenn, NAME_fast for quenn-fast,
# which is always optimised and links the _fast versions of its dependencies.
# quenn_library(NAME SOURCES ... [DEPENDS ...])
function(quenn_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    foreach(variant IN ITEMS "" "_fast")
        add_library(${name}${variant} STATIC ${ARG_SOURCES})
        target_include_directories(${name}${variant} PUBLIC ${PROJECT_SOURCE_DIR})
        foreach(dep IN LISTS ARG_DEPENDS)
            target_link_libraries(${name}${variant} PUBLIC ${dep}${variant})
        endforeach()
    endforeach()
    target_compile_options(${name}_fast PRIVATE -O2)
endfunction()
