# What `cmake --install` and the Debian package put on a desktop system: the
# two programs, the menu entry, the icon in every size the desktop looks for,
# the file type of point sets and the manual pages.
include(GNUInstallDirs)

set(TOVU_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(TOVU_ICON_SIZES_PX 16 32 48 64 128 256)

foreach(program tovu tovu-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Debian wants manual pages compressed; gzip -n leaves the date out, so the
# same page always gives the same bytes.
find_program(TOVU_GZIP gzip)
function(tovu_install_man_page page)
  set(source ${TOVU_PACKAGING_DIR}/${page})
  if(TOVU_GZIP)
    set(compressed ${CMAKE_BINARY_DIR}/man/${page}.gz)
    add_custom_command(
      OUTPUT ${compressed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/man/${page}
      COMMAND ${TOVU_GZIP} -9nf ${CMAKE_BINARY_DIR}/man/${page}
      DEPENDS ${source}
      VERBATIM)
    string(MAKE_C_IDENTIFIER "man_${page}" target)
    add_custom_target(${target} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    install(FILES ${source} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endfunction()

if(TARGET tovu)
  install(FILES ${TOVU_PACKAGING_DIR}/tovu.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${TOVU_PACKAGING_DIR}/tovu-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME tovu.xml)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/../resources/tovu.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size_px ${TOVU_ICON_SIZES_PX})
    install(FILES ${TOVU_PACKAGING_DIR}/icons/tovu-${size_px}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size_px}x${size_px}/apps RENAME tovu.png)
  endforeach()
  tovu_install_man_page(tovu.1)
endif()
if(TARGET tovu-cli)
  tovu_install_man_page(tovu-cli.1)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
