# Where an installed program's files go under the prefix: the program, its
# desktop entry (which also names the document types it opens, all of them
# known to shared-mime-info) and its icon in the hicolor theme.

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

set(veltrix_resources ${PROJECT_SOURCE_DIR}/resources)
set(veltrix_icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

install(TARGETS veltrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${veltrix_resources}/veltrix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${veltrix_resources}/veltrix.svg DESTINATION ${veltrix_icon_theme}/scalable/apps)
veltrix_png_size(${veltrix_resources}/veltrix.png veltrix_png_pixels)
install(FILES ${veltrix_resources}/veltrix.png DESTINATION ${veltrix_icon_theme}/${veltrix_png_pixels}/apps)
