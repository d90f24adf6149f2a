# Install rules and the Debian package (CPack, DEB generator).
#
# Installed layout (prefix /usr):
#   bin/varnel                    the launcher: makes ~/Varnel, copies the pristine files there
#                                 when absent, starts the program in it
#   lib/varnel/varnel             the program
#   bin/varnel-import-cases       copies a PC's varnel.db into the archive varnel.ini names
#   share/varnel/                 the pristine empty database, spreadsheet template and plan
#                                 document template, and for an office archive on a server its
#                                 schema and setup script
#   /etc/varnel/varnel.ini        a commented example of the settings (a conffile)
#   share/applications/, share/icons/hicolor/, share/man/man1/, share/doc/varnel/
#
# `cpack` in a build folder makes varnel_<version>_<arch>.deb; scripts/package.sh does so from a
# Release build of its own. The plain build registers a test that builds the package and checks
# it as installed files and as a running program.

set(VARNEL_PACKAGING_SOURCE ${PROJECT_SOURCE_DIR}/packaging)
set(VARNEL_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${VARNEL_PACKAGING_OUT})

# The launcher and the manual page carry the project version.
configure_file(${VARNEL_PACKAGING_SOURCE}/varnel-launcher.sh.in ${VARNEL_PACKAGING_OUT}/varnel @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                   WORLD_EXECUTE)
configure_file(${VARNEL_PACKAGING_SOURCE}/varnel.1 ${VARNEL_PACKAGING_OUT}/varnel.1 @ONLY)
configure_file(${VARNEL_PACKAGING_SOURCE}/varnel-import-cases.1
               ${VARNEL_PACKAGING_OUT}/varnel-import-cases.1 @ONLY)

# Compressed documents without a time stamp in the gzip header, and the 48 px icon drawn from
# the SVG, so that the two never differ.
find_program(GZIP gzip REQUIRED)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
add_custom_command(
  OUTPUT ${VARNEL_PACKAGING_OUT}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${VARNEL_PACKAGING_SOURCE}/changelog ${VARNEL_PACKAGING_OUT}/changelog
  COMMAND ${GZIP} -9nf ${VARNEL_PACKAGING_OUT}/changelog
  DEPENDS ${VARNEL_PACKAGING_SOURCE}/changelog
  COMMENT "Compressing the package changelog")
add_custom_command(
  OUTPUT ${VARNEL_PACKAGING_OUT}/varnel.1.gz ${VARNEL_PACKAGING_OUT}/varnel-import-cases.1.gz
  COMMAND ${GZIP} -9nkf ${VARNEL_PACKAGING_OUT}/varnel.1
  COMMAND ${GZIP} -9nkf ${VARNEL_PACKAGING_OUT}/varnel-import-cases.1
  DEPENDS ${VARNEL_PACKAGING_OUT}/varnel.1 ${VARNEL_PACKAGING_OUT}/varnel-import-cases.1
  COMMENT "Compressing the manual pages")
add_custom_command(
  OUTPUT ${VARNEL_PACKAGING_OUT}/varnel-48.png
  COMMAND ${RSVG_CONVERT} -w 48 -h 48 -o ${VARNEL_PACKAGING_OUT}/varnel-48.png
          ${VARNEL_PACKAGING_SOURCE}/varnel.svg
  DEPENDS ${VARNEL_PACKAGING_SOURCE}/varnel.svg
  COMMENT "Drawing the 48 px icon")
add_custom_target(varnel_packaging_files ALL
  DEPENDS ${VARNEL_PACKAGING_OUT}/changelog.gz ${VARNEL_PACKAGING_OUT}/varnel.1.gz
          ${VARNEL_PACKAGING_OUT}/varnel-import-cases.1.gz ${VARNEL_PACKAGING_OUT}/varnel-48.png)

# Everything the package holds; scripts/package.sh builds this target alone, not the tests.
add_custom_target(varnel_package_contents)
add_dependencies(varnel_package_contents varnel varnel-import-cases varnel_db
                 varnel_packaging_files)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS varnel RUNTIME DESTINATION lib/varnel)
install(PROGRAMS ${VARNEL_PACKAGING_OUT}/varnel DESTINATION bin)
install(TARGETS varnel-import-cases RUNTIME DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/src/archive/schema_pg.sql DESTINATION share/varnel)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/setup-office-archive.sh DESTINATION share/varnel)
# The example settings; dpkg keeps an office's own edits over an upgrade.
install(FILES ${VARNEL_PACKAGING_SOURCE}/varnel.ini DESTINATION /etc/varnel)
file(WRITE ${VARNEL_PACKAGING_OUT}/conffiles "/etc/varnel/varnel.ini\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${VARNEL_PACKAGING_OUT}/conffiles)
install(FILES ${VARNEL_SHARE_DIR}/varnel.db DESTINATION share/varnel)
install(FILES ${VARNEL_SHARE_DIR}/akfpb.xlsx ${VARNEL_SHARE_DIR}/fpfa.docx DESTINATION share/varnel)
add_dependencies(varnel_package_contents akfpb_template fpfa_template)
install(FILES ${VARNEL_PACKAGING_SOURCE}/varnel.desktop DESTINATION share/applications)
install(FILES ${VARNEL_PACKAGING_SOURCE}/varnel.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${VARNEL_PACKAGING_OUT}/varnel-48.png DESTINATION share/icons/hicolor/48x48/apps
  RENAME varnel.png)
install(FILES ${VARNEL_PACKAGING_OUT}/varnel.1.gz ${VARNEL_PACKAGING_OUT}/varnel-import-cases.1.gz
  DESTINATION share/man/man1)
install(FILES ${VARNEL_PACKAGING_SOURCE}/copyright ${VARNEL_PACKAGING_OUT}/changelog.gz
  DESTINATION share/doc/varnel)

set(CPACK_GENERATOR DEB)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME varnel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnel developers")
set(CPACK_PACKAGE_CONTACT "Varnel developers <dev@varnel.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fee, sentence term and case fund calculators for a court")
# Read here rather than named as CPACK_PACKAGE_DESCRIPTION_FILE: CPack would escape its quotes
# and apostrophes as XML entities in the control file.
file(READ ${VARNEL_PACKAGING_SOURCE}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The example settings go to the absolute /etc/varnel: staged under DESTDIR, never onto this machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the Qt SQLite and PostgreSQL drivers, the Song faces the
# windows are laid out for (AR PL UMing first, Noto CJK as the fallback), xdg-open, through
# which exported spreadsheets and web pages are opened, and Qt's Chinese translations, which
# put Qt's own dialogs (the PDF file's save dialog) into the program's language. The xcb and
# offscreen platform plugins come with libqt6gui6, which dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, fonts-arphic-uming, fonts-noto-cjk, xdg-utils, qt6-translations-l10n")
include(CPack)

if(NOT VARNEL_SANITIZE)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME package
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/package/test_package.py
            --build-dir ${PROJECT_BINARY_DIR} --cpack ${CMAKE_CPACK_COMMAND}
            --version ${PROJECT_VERSION})
  set_tests_properties(package PROPERTIES TIMEOUT 900)
endif()
