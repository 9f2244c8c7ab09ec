# The Windows install: the programs at the top of the folder, beside the
# README and the LICENSE as text files a double click opens.
set(QUENN_ICON ${CMAKE_CURRENT_SOURCE_DIR}/icons/quenn.ico)
foreach(QUENN_PROGRAM IN ITEMS quenn quenn-fast)
    if(QUENN_PROGRAM STREQUAL quenn)
        set(QUENN_DESCRIPTION "quenn")
    else()
        set(QUENN_DESCRIPTION "quenn, with a smaller first plant")
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${QUENN_PROGRAM}.rc)
    configure_file(${CMAKE_CURRENT_SOURCE_DIR}/windows/program.rc.in ${rc} @ONLY)
    target_sources(${QUENN_PROGRAM} PRIVATE ${rc})
    set_property(SOURCE ${rc} TARGET_DIRECTORY ${QUENN_PROGRAM} APPEND PROPERTY OBJECT_DEPENDS
                 ${QUENN_ICON})
endforeach()

install(TARGETS quenn quenn-fast RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
