# What `cmake --install` and the Debian package put on a desktop system: the
# two programs, the menu entry, the AppStream description, the icon in every
# size the desktop looks for, the file type of point sets, the Polish manual
# pages, the licence and the changelog.
include(GNUInstallDirs)

set(TOVU_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(TOVU_ICON_SIZES_PX 16 32 48 64 128 256)
set(TOVU_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tovu)

# Debian wants manual pages and changelogs compressed; gzip -n leaves the
# name and date out, so the same text always gives the same bytes.
find_program(TOVU_GZIP gzip REQUIRED)
set(TOVU_COMPRESSED_FILES)
function(tovu_install_compressed source name destination)
  set(compressed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/packaging/${name}
    COMMAND ${TOVU_GZIP} -9nf ${CMAKE_BINARY_DIR}/packaging/${name}
    DEPENDS ${source}
    VERBATIM)
  install(FILES ${compressed} DESTINATION ${destination})
  set(TOVU_COMPRESSED_FILES ${TOVU_COMPRESSED_FILES} ${compressed} PARENT_SCOPE)
endfunction()

# The manual pages are Polish, as the programs are: they go to the Polish
# section, where `man` finds them for a Polish locale.
set(TOVU_MAN_DIR ${CMAKE_INSTALL_MANDIR}/pl/man1)

# Without the window (TOVU_BUILD_UI=OFF) only the command-line tool is built.
if(TARGET tovu)
  install(TARGETS tovu RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${TOVU_PACKAGING_DIR}/tovu.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${TOVU_PACKAGING_DIR}/org.example.tovu.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${TOVU_PACKAGING_DIR}/tovu-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME tovu.xml)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/../resources/tovu.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size_px ${TOVU_ICON_SIZES_PX})
    install(FILES ${TOVU_PACKAGING_DIR}/icons/tovu-${size_px}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size_px}x${size_px}/apps RENAME tovu.png)
  endforeach()
  tovu_install_compressed(${TOVU_PACKAGING_DIR}/tovu.1 tovu.1 ${TOVU_MAN_DIR})
endif()
install(TARGETS tovu-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
tovu_install_compressed(${TOVU_PACKAGING_DIR}/tovu-cli.1 tovu-cli.1 ${TOVU_MAN_DIR})

install(FILES ${TOVU_PACKAGING_DIR}/copyright DESTINATION ${TOVU_DOC_DIR})
tovu_install_compressed(${TOVU_PACKAGING_DIR}/changelog changelog ${TOVU_DOC_DIR})
install(FILES ${TOVU_PACKAGING_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME tovu)

# scripts/package builds this and the two programs, nothing else.
add_custom_target(tovu_package_files ALL DEPENDS ${TOVU_COMPRESSED_FILES})

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
