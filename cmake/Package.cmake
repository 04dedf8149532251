# `cpack -G DEB` in the build folder makes tovu_VERSION_ARCH.deb from the
# install rules of Install.cmake.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovu)
# The default would keep only three parts of the four-part version.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zespół Tovu")
set(CPACK_PACKAGE_CONTACT "Zespół Tovu <tovu@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tovu.example.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "travelling salesman problem for small point sets (Polish UI)")
# Lines of the control file's long description stay under 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Tovu searches for the shortest open route through a small set of points"
  "in the plane: by exhaustive search, by random search or by a genetic"
  "algorithm with order crossover. Points are added by clicking on a map,"
  "drawn at random or read from .tvu files; the route is drawn on the map."
  ""
  "The package holds the window (tovu) and the command-line tool (tovu-cli)."
  "The user interface is Polish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Qt loads these as plugins, so no library scan finds them: without the
# platform plugins the window cannot open on any display, without the SVG
# plugins it has no icons.
set(TOVU_DEB_PLUGIN_DEPENDS "qt6-qpa-plugins, libqt6svg6 (>= 6.4)")
find_program(TOVU_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TOVU_DPKG_SHLIBDEPS)
  # The scan adds libqt6widgets6, libqt6gui6, libqt6core6, libc6, libstdc++6
  # and the rest, with the versions the build was linked against.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${TOVU_DEB_PLUGIN_DEPENDS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), ${TOVU_DEB_PLUGIN_DEPENDS}, libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1 (>= 3.0)")
endif()

include(CPack)
