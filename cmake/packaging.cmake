# Installing and packaging. sordanel-render and its manual page install from here; the window
# program, its desktop entry and its icon install from app/ and res/; the LV2 instrument's
# bundle installs from lv2/ into lib/lv2, where every LV2 host looks. CPack turns the
# installation into a Debian package whose dependencies dpkg-shlibdeps reads off the binaries.
include(GNUInstallDirs)

install(TARGETS sordanel-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

configure_file(${PROJECT_SOURCE_DIR}/docs/sordanel-render.1.in sordanel-render.1 @ONLY)
# Debian keeps manual pages compressed, without a time stamp that would change the package.
add_custom_command(
  OUTPUT sordanel-render.1.gz
  COMMAND gzip -9 -n -c sordanel-render.1 > sordanel-render.1.gz
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/sordanel-render.1
  COMMENT "Compressing the sordanel-render manual page")
add_custom_target(sordanel_render_manual ALL DEPENDS sordanel-render.1.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/sordanel-render.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sordanel)
set(CPACK_PACKAGE_VENDOR Sordanel)
set(CPACK_PACKAGE_CONTACT "Sordanel maintainers <maintainers@sordanel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bowed-string note generator for sample libraries")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Synthesises sustained notes of a bowed string instrument from a physical model\n"
    "and writes them as mono 16-bit 44100 Hz WAVE files: a window to shape one note,\n"
    "and sordanel-render to render whole note ranges and SFZ instruments from scripts.\n"
    "The same model plays live as an LV2 instrument in any LV2 host.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
