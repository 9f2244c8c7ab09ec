# The packages: DEB and TGZ from the Linux build, ZIP and NSIS from the
# Windows one. Names carry the project's version; scripts/package picks the
# output folder.
# Values reach CPack as written here, backslashes and all.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME quenn)
set(CPACK_PACKAGE_VENDOR "${QUENN_VENDOR}")
set(CPACK_PACKAGE_CONTACT "${QUENN_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The Debian description's extended part, in lines short enough for a terminal.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "quenn grows two plants once from a Lindenmayer system and draws them every"
    "frame as coloured line segments that sway, over a wireframe ground grid, in"
    "a 256 by 256 window. A left-button drag turns the camera around the first"
    "plant; a counter shows the frames drawn each second."
    ""
    "quenn-fast, in the same package, grows its first plant one level less deep.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_INSTALL_DIRECTORY quenn)
set(CPACK_STRIP_FILES ON)
# The same sources give the same packages (packaging/REPRODUCIBLE.md).
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/reproducible_archives.cmake)

if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    # win32 for the 32-bit build, win64 for the 64-bit one.
    math(EXPR QUENN_WINDOWS_BITS "${CMAKE_SIZEOF_VOID_P} * 8")
    set(CPACK_PACKAGE_FILE_NAME quenn-${PROJECT_VERSION}-win${QUENN_WINDOWS_BITS})
    # A Start-menu shortcut for each program, beside the uninstaller's.
    foreach(program IN ITEMS quenn quenn-fast)
        string(APPEND CPACK_NSIS_CREATE_ICONS_EXTRA
            "  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\${program}.lnk\" \"$INSTDIR\\${program}.exe\"\n")
        string(APPEND CPACK_NSIS_DELETE_ICONS_EXTRA
            "  Delete \"$SMPROGRAMS\\$MUI_TEMP\\${program}.lnk\"\n")
    endforeach()
    set(CPACK_NSIS_PACKAGE_NAME quenn)
    set(CPACK_NSIS_DISPLAY_NAME "quenn ${PROJECT_VERSION}")
    # No file times in the installer: the files CPack writes for it beside
    # the staged ones have the time of the build. Installed files get the
    # time of their install.
    set(CPACK_NSIS_DEFINES "  SetDateSave off")
    if(QUENN_WINDOWS_BITS EQUAL 64)
        # A 64-bit installer, into the 64-bit Program Files and registry.
        string(APPEND CPACK_NSIS_DEFINES "\n  Target amd64-unicode")
        set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    else()
        set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
    endif()
    set(CPACK_NSIS_MUI_ICON ${QUENN_ICON})
    set(CPACK_NSIS_MUI_UNIICON ${QUENN_ICON})
    set(CPACK_NSIS_INSTALLED_ICON_NAME quenn.exe)
    set(CPACK_NSIS_URL_INFO_ABOUT "${PROJECT_HOMEPAGE_URL}")
    set(CPACK_NSIS_CONTACT "${QUENN_CONTACT}")
    # One key for every version, so that an installer finds and removes an
    # earlier version before it installs.
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY quenn)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
else()
    set(CPACK_GENERATOR DEB TGZ)
    set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
    set(CPACK_PACKAGE_FILE_NAME quenn-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

# The release's time for every generator, and the installer's own name.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/generator_options.cmake.in
               ${CMAKE_CURRENT_BINARY_DIR}/generator_options.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/generator_options.cmake)

include(CPack)
