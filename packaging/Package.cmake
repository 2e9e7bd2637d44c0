# The Debian package: `make package` (cpack -G DEB in the build folder).
# Run-time dependencies are worked out by dpkg-shlibdeps from the installed
# programs, so no build-time package is named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Varnik developers <varnik@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dive analysis of animal-borne data logger records")
# Lines of at most 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "A workbench for the records of time-depth recorders and their companion
sensors carried by seals, whales, penguins and turtles: it loads depth,
temperature and an auxiliary sensor from logger text files, tag archives or
binary channel files, shows them in a graph window, cleans and calibrates
them, and finds every dive with its descent, bottom and ascent, shape,
bouts, wiggles and dive stops. varnik-batch analyses whole studies without
a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The package's change log, compressed as Debian keeps it.
set(changelog ${CMAKE_BINARY_DIR}/share/doc/varnik/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/doc/varnik
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
add_custom_target(package_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION share/doc/varnik)
include(CPack)
