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
  "Runs of every method are kept side by side, with a convergence chart."
  ""
  "The package holds the window (tovu) and the command-line tool (tovu-cli)."
  "The user interface is Polish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# dpkg-shlibdeps (dpkg-dev) adds every linked library (libqt6widgets6,
# libqt6gui6, libqt6core6, libqt6charts6, libc6, libstdc++6 and the rest)
# with the version the build was linked against; Qt Charts, which draws the
# convergence chart, and CLP, which solves the exact method's linear
# programmes, are named here as well, so the package says so whatever the
# scan finds. What the programs load otherwise, no scan finds: the SVG
# plugins draw the tool-bar icons, Qt's Polish texts make its dialogs Polish, Liberation Sans stands in for "Arial" with its metrics (a
# wider font makes the labels of the search tab overlap). The X platform
# plugin itself is in libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6 (>= 6.4), libqt6charts6 (>= 6.4), coinor-libclp1 (>= 1.17), qt6-translations-l10n, fonts-liberation")
# The window on a Wayland desktop; the desktop's cursor theme on X.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libxcursor1")

include(CPack)
