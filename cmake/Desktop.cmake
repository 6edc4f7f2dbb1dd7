# What a desktop needs to list, start and associate the editor: the desktop entry, the icon
# (SVG, and PNGs at 48 and 256 pixels for the themes and software centres that want pixels),
# the ".syx" file type and the AppStream metainfo. All named after the application's id.
set(MORVANE_APP_ID io.github.morvane.Morvane)
set(desktop ${CMAKE_SOURCE_DIR}/desktop)

# The PNGs are made from the SVG at build time, so the SVG is the only picture kept in the
# sources; rsvg-convert gives the same bytes for the same SVG every time.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_svg ${desktop}/${MORVANE_APP_ID}.svg)
set(icon_pngs)
foreach(size 48 256)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}/${MORVANE_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
    DEPENDS ${icon_svg} VERBATIM)
  list(APPEND icon_pngs ${png})
  install(FILES ${png}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(morvane_icons ALL DEPENDS ${icon_pngs})

install(FILES ${desktop}/${MORVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${desktop}/${MORVANE_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${desktop}/${MORVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
