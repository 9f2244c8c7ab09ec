# The Linux install: GNU directories under the prefix, as a distribution lays
# them out. Manuals and the changelog are gzipped as Debian wants them.
install(TARGETS quenn quenn-fast RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the packages') also drops the compilers' version notes,
# the .comment section, as Debian's own stripping does.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program IN ITEMS $<TARGET_FILE_NAME:quenn> $<TARGET_FILE_NAME:quenn-fast>)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()")
# Symbols bound at start, so that the whole relocation table can be read-only,
# as in Debian's own packages.
foreach(program IN ITEMS quenn quenn-fast)
    target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
endforeach()

set(linux_dir ${CMAKE_CURRENT_SOURCE_DIR}/linux)
set(out_dir ${CMAKE_CURRENT_BINARY_DIR})

configure_file(${linux_dir}/quenn.metainfo.xml.in ${out_dir}/${QUENN_APP_ID}.metainfo.xml @ONLY)
configure_file(${linux_dir}/quenn.6.in ${out_dir}/quenn.6 @ONLY)

# quenn_gzip(INPUT OUTPUT): OUTPUT is INPUT compressed without name or time,
# so that the same input always gives the same bytes.
function(quenn_gzip input output)
    add_custom_command(OUTPUT ${output}
        COMMAND gzip -9n -c ${input} > ${output}
        DEPENDS ${input} VERBATIM)
endfunction()
quenn_gzip(${out_dir}/quenn.6 ${out_dir}/quenn.6.gz)
quenn_gzip(${QUENN_CHANGELOG} ${out_dir}/changelog.gz)
# quenn-fast has the same page.
add_custom_command(OUTPUT ${out_dir}/quenn-fast.6.gz
    COMMAND ${CMAKE_COMMAND} -E create_symlink quenn.6.gz ${out_dir}/quenn-fast.6.gz VERBATIM)
add_custom_target(quenn_docs ALL
    DEPENDS ${out_dir}/quenn.6.gz ${out_dir}/quenn-fast.6.gz ${out_dir}/changelog.gz)
add_dependencies(packaged quenn_docs)

install(FILES ${linux_dir}/${QUENN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${out_dir}/${QUENN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${out_dir}/quenn.6.gz ${out_dir}/quenn-fast.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${linux_dir}/copyright ${out_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
