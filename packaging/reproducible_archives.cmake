# Run by CPack after it made each package (CPACK_POST_BUILD_SCRIPTS). CPack's
# tarball and zip list their entries in the order the staging folder's
# directory listing gives, which differs from one file system to another,
# and keep the owner's ids: the tarball is made again by make_tarball, the
# zip's entries sorted and their owners and times made the same by
# strip-nondeterminism. The .deb is already sorted and owned by root.
cmake_path(GET CPACK_TEMPORARY_DIRECTORY FILENAME folder)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.tar\\.gz$")
        execute_process(
            COMMAND ${CMAKE_CURRENT_LIST_DIR}/make_tarball ${package} ${CPACK_TOPLEVEL_DIRECTORY}
                    ${folder}
            COMMAND_ERROR_IS_FATAL ANY)
    elseif(package MATCHES "\\.zip$")
        execute_process(
            COMMAND strip-nondeterminism --type zip --timestamp $ENV{SOURCE_DATE_EPOCH} ${package}
            OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
