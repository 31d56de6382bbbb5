# Where an installed program's files go under the prefix: the program, its
# desktop entry (which also names the document types it opens, all of them
# known to shared-mime-info), its icon in the hicolor theme, its manual pages
# in English and Russian and its AppStream metadata for software centres.

# "WxH" of a PNG, from its IHDR chunk: width and height are big-endian 32-bit
# numbers 16 bytes into the file. The theme files the picture under that size.
function(veltrix_png_size png out_var)
    file(READ "${png}" signature HEX LIMIT 8)
    if(NOT signature STREQUAL "89504e470d0a1a0a")
        message(FATAL_ERROR "${png} is not a PNG file")
    endif()
    file(READ "${png}" dimensions HEX OFFSET 16 LIMIT 8)
    string(SUBSTRING "${dimensions}" 0 8 width)
    string(SUBSTRING "${dimensions}" 8 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${png}")
    set(${out_var} "${width}x${height}" PARENT_SCOPE)
endfunction()

# Folders the install makes get the usual modes whatever the umask: a package
# made by a user whose umask lets the group write would hand that on.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(veltrix_resources ${PROJECT_SOURCE_DIR}/resources)
set(veltrix_icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

install(TARGETS veltrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${veltrix_resources}/veltrix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${veltrix_resources}/veltrix.svg DESTINATION ${veltrix_icon_theme}/scalable/apps)
veltrix_png_size(${veltrix_resources}/veltrix.png veltrix_png_pixels)
install(FILES ${veltrix_resources}/veltrix.png DESTINATION ${veltrix_icon_theme}/${veltrix_png_pixels}/apps)

# Installs `source` as `destination`/`name`.gz, compressed as Debian wants it:
# the best compression and neither the file's name nor its time in the header,
# so that the same source always gives the same bytes.
find_program(VELTRIX_GZIP gzip REQUIRED)
function(veltrix_install_gzipped source name destination)
    string(MAKE_C_IDENTIFIER "${destination}/${name}" target)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${target})
    add_custom_command(OUTPUT ${folder}/${name}.gz
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                       COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${name}
                       COMMAND ${VELTRIX_GZIP} -9nf ${folder}/${name}
                       DEPENDS ${source} VERBATIM)
    add_custom_target(veltrix_gzip_${target} ALL DEPENDS ${folder}/${name}.gz)
    install(FILES ${folder}/${name}.gz DESTINATION ${destination})
endfunction()

set(veltrix_packaging ${PROJECT_SOURCE_DIR}/packaging)
veltrix_install_gzipped(${veltrix_packaging}/veltrix.1 veltrix.1 ${CMAKE_INSTALL_MANDIR}/man1)
veltrix_install_gzipped(${veltrix_packaging}/veltrix.ru.1 veltrix.1 ${CMAKE_INSTALL_MANDIR}/ru/man1)
# The file is named for the component it describes, as AppStream requires.
set(VELTRIX_APPSTREAM_ID example.veltrix.veltrix)
install(FILES ${veltrix_packaging}/${VELTRIX_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
