# Installing Quorvel and packing it for Debian: `cmake --install` puts both programs under the
# prefix's bin, the window's desktop entry and icon where the desktop menus look for them, and
# the manual pages; `cpack -G DEB` in the build folder makes quorvel_<version>_<arch>.deb.
# tools/check_package.sh checks the package (run by ctest as Packaging.DebianPackage).

include(GNUInstallDirs)

set(QUORVEL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS quorvel-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(quorvel_manual_pages quorvel-batch.1)
if(TARGET quorvel)
  install(TARGETS quorvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${QUORVEL_PACKAGING_DIR}/quorvel.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${QUORVEL_PACKAGING_DIR}/quorvel.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  list(APPEND quorvel_manual_pages quorvel.1)
endif()

# The manual pages carry the project version; Debian wants them compressed.
find_program(QUORVEL_GZIP gzip)
set(manual_dir ${PROJECT_BINARY_DIR}/packaging)
set(manual_outputs)
foreach(page IN LISTS quorvel_manual_pages)
  configure_file(${QUORVEL_PACKAGING_DIR}/${page} ${manual_dir}/${page} @ONLY)
  if(QUORVEL_GZIP)
    add_custom_command(OUTPUT ${manual_dir}/${page}.gz
                       COMMAND ${QUORVEL_GZIP} -9 -n -k -f ${page}
                       WORKING_DIRECTORY ${manual_dir}
                       DEPENDS ${manual_dir}/${page}
                       COMMENT "Compressing the manual page ${page}"
                       VERBATIM)
    list(APPEND manual_outputs ${manual_dir}/${page}.gz)
  else()
    list(APPEND manual_outputs ${manual_dir}/${page})
  endif()
endforeach()
add_custom_target(quorvel_manual_pages ALL DEPENDS ${manual_outputs})
install(FILES ${manual_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/examples/plot7.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorvel developers")
set(CPACK_PACKAGE_CONTACT "Quorvel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel turns the tally of a line-intersect survey of downed woody debris into carbon,
volume, surface and pieces per hectare, two ways: the classic line-intersect estimate
(model 1) and a Monte Carlo re-drop of every tallied piece on the plot, with an optional
prevailing-wind orientation bias (model 2). The window quorvel draws every drop on the
plot; quorvel-batch runs many plots from the command line and adds the exact value that
model 2 approaches.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvel developers")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# What the two programs link against, as Debian 12 names the packages, and the window's font;
# the package check compares this list with the libraries the binaries actually need.
set(quorvel_depends "libc6 (>= 2.34)" "libgcc-s1 (>= 3.0)" "libstdc++6 (>= 12)")
if(TARGET quorvel)
  # The window's form is laid out for the metrics of Liberation Sans; Qt's own texts in the
  # Russian window come from Qt's Russian translation.
  list(APPEND quorvel_depends "libqt6core6 (>= 6.4.0)" "libqt6gui6 (>= 6.4.0)"
       "libqt6widgets6 (>= 6.4.0)" "libqt6charts6 (>= 6.4.0)" "fonts-liberation2"
       "qt6-translations-l10n")
endif()
list(JOIN quorvel_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)

# A sanitizer build is no build to package: its programs need the sanitizer runtimes.
if(QUORVEL_BUILD_TESTS AND NOT QUORVEL_SANITIZE)
  add_test(NAME Packaging.DebianPackage
           COMMAND ${PROJECT_SOURCE_DIR}/tools/check_package.sh ${PROJECT_BINARY_DIR})
  # 77: the machine has no dpkg-deb, so there is no Debian package to check.
  set_tests_properties(Packaging.DebianPackage PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()
