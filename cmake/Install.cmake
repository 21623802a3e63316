# Installed layout and the Debian package.
#
#   <prefix>/lib/rational-hydrograph/   the windowed program with Setup.ini, LICENSE.txt, ORV.jpg
#                                       and its web page's browser module; the companion's
#                                       devices module
#   <prefix>/bin/rational-hydrograph    launcher that starts the program in that folder
#   <prefix>/bin/rational-hydrograph-cli
#   <prefix>/share/applications/example.orvane.rational_hydrograph.desktop
#   <prefix>/share/metainfo/example.orvane.rational_hydrograph.metainfo.xml
#   <prefix>/share/mime/packages/rational-hydrograph-study.xml (the .rhstudy file type)
#   <prefix>/share/icons/hicolor/{scalable,128x128}/apps/rational-hydrograph.{svg,png}
#   <prefix>/share/man/man1/rational-hydrograph{,-cli}.1.gz
#   <prefix>/share/doc/rational-hydrograph/copyright, changelog.gz and examples/ (a rainfall
#                                       table, a basin table and a pond table to try)
#
# Included at the end of the top-level CMakeLists, after every target is defined. The windowed
# program's part is installed only when that target is part of the build.
include(GNUInstallDirs)

set(RH_PROGRAM_DIR lib/rational-hydrograph)
# The AppStream id, which is also the desktop entry's file name (the windowed program gives it to
# QGuiApplication::setDesktopFileName, so window managers match its windows to the entry).
set(RH_APP_ID example.orvane.rational_hydrograph)

# Manual pages: docs/man/NAME.1.in with the version, release date and program folder filled in,
# compressed the way Debian ships them (gzip -9n: no name or time stamp, so the same page gives
# the same bytes on every build).
set(RH_MAN_PROGRAM_DIR ${CMAKE_INSTALL_PREFIX}/${RH_PROGRAM_DIR})
set(RH_MAN_DIR ${PROJECT_BINARY_DIR}/man)
find_program(RH_GZIP gzip)
set(RH_MAN_PAGES rational-hydrograph-cli.1)
if(TARGET rational-hydrograph)
  list(APPEND RH_MAN_PAGES rational-hydrograph.1)
endif()
set(rh_man_installed)
foreach(page IN LISTS RH_MAN_PAGES)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.in ${RH_MAN_DIR}/${page} @ONLY)
  if(RH_GZIP)
    add_custom_command(
      OUTPUT ${RH_MAN_DIR}/${page}.gz
      COMMAND ${RH_GZIP} -9 -n -k -f ${RH_MAN_DIR}/${page}
      DEPENDS ${RH_MAN_DIR}/${page}
      COMMENT "Compressing manual page ${page}")
    list(APPEND rh_man_installed ${RH_MAN_DIR}/${page}.gz)
  else()
    list(APPEND rh_man_installed ${RH_MAN_DIR}/${page})
  endif()
endforeach()
add_custom_target(man-pages ALL DEPENDS ${rh_man_installed})
install(FILES ${rh_man_installed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(RH_BUILD_TESTS)
  # Every page renders without a warning; the companion's page names exactly the options and
  # exit statuses of its --help.
  list(TRANSFORM RH_MAN_PAGES PREPEND ${RH_MAN_DIR}/ OUTPUT_VARIABLE rh_man_sources)
  add_test(NAME man_pages COMMAND sh ${PROJECT_SOURCE_DIR}/tests/man_pages.sh
                                  $<TARGET_FILE:rational-hydrograph-cli> ${rh_man_sources})
  set_tests_properties(man_pages PROPERTIES SKIP_RETURN_CODE 77)
endif()

# The package's documents, where Debian keeps them: the copyright in the machine-readable format,
# made from LICENSE so the two never differ; the changelog, compressed as the manual pages are;
# and sample files to try the companion on. The pond sample comes with the pond routing.
set(RH_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/rational-hydrograph)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE rh_license)
if(NOT rh_license MATCHES "Copyright \\(c\\) ([^\n]+)\n"
   OR NOT rh_license MATCHES "Permission is hereby granted, free of charge")
  message(FATAL_ERROR "LICENSE is no longer the MIT (Expat) licence with one Copyright (c) line: "
                      "update packaging/copyright.in to match it")
endif()
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)\n" rh_copyright_line "${rh_license}")
set(RH_COPYRIGHT "${CMAKE_MATCH_1}")
# The licence's own text follows its copyright line: each line indented by a space, a blank line
# written " .", as the format has it.
string(FIND "${rh_license}" "${rh_copyright_line}" rh_at)
string(LENGTH "${rh_copyright_line}" rh_length)
math(EXPR rh_at "${rh_at} + ${rh_length}")
string(SUBSTRING "${rh_license}" ${rh_at} -1 rh_license_text)
string(STRIP "${rh_license_text}" rh_license_text)
string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" rh_license_text "${rh_license_text}")
string(REPLACE "\n" "\n " RH_LICENSE_TEXT " ${rh_license_text}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in
               ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright DESTINATION ${RH_DOC_DIR})

set(rh_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
file(STRINGS ${rh_changelog} rh_changelog_top LIMIT_COUNT 1)
if(NOT rh_changelog_top MATCHES "^rational-hydrograph \\(${PROJECT_VERSION}\\) ")
  message(WARNING "packaging/changelog has no entry for version ${PROJECT_VERSION} at its top")
endif()
if(RH_GZIP)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${RH_GZIP} -9 -n -c ${rh_changelog} > ${PROJECT_BINARY_DIR}/packaging/changelog.gz
    DEPENDS ${rh_changelog}
    COMMENT "Compressing the changelog")
  add_custom_target(changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${RH_DOC_DIR})
else()
  install(FILES ${rh_changelog} DESTINATION ${RH_DOC_DIR})
endif()

foreach(sample atlas14-fort-myers-fl.csv basins.csv example-pond.csv)
  if(EXISTS ${PROJECT_SOURCE_DIR}/tests/data/${sample})
    install(FILES ${PROJECT_SOURCE_DIR}/tests/data/${sample} DESTINATION ${RH_DOC_DIR}/examples)
  endif()
endforeach()

install(TARGETS rational-hydrograph-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The companion's printer, PDF and picture devices, loaded from the program folder when a run first
# needs one.
install(TARGETS rh-qtdevices LIBRARY DESTINATION ${RH_PROGRAM_DIR})

if(TARGET rational-hydrograph)
  install(TARGETS rational-hydrograph RUNTIME DESTINATION ${RH_PROGRAM_DIR})
  # The web page's browser engine, loaded from the program folder when the page first opens.
  if(TARGET rh-webengine)
    install(TARGETS rh-webengine LIBRARY DESTINATION ${RH_PROGRAM_DIR})
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/Setup.ini ${PROJECT_SOURCE_DIR}/resources/ORV.jpg
          DESTINATION ${RH_PROGRAM_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${RH_PROGRAM_DIR} RENAME LICENSE.txt)
  install(PROGRAMS ${PROJECT_SOURCE_DIR}/packaging/rational-hydrograph.sh
          DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME rational-hydrograph)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${RH_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The study file's type, so a double-click on a .rhstudy opens it in the program.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/rational-hydrograph-study.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${RH_APP_ID}.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/packaging/${RH_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/${RH_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/rational-hydrograph.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/rational-hydrograph-128.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps
          RENAME rational-hydrograph.png)
endif()

# Debian package: `cpack -G DEB` in the build folder (./dev.sh package). Library dependencies
# (Qt, the C++ runtime) come from dpkg-shlibdeps; the rest are listed.
set(CPACK_PACKAGE_NAME rational-hydrograph)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rational-method design-storm runoff hydrograph")
set(CPACK_PACKAGE_DESCRIPTION "Builds the rational-method design-storm runoff hydrograph of a \
drainage basin from its time of concentration, 6-hour rainfall, area, runoff coefficient and peak \
discharge, with a command-line companion for checks, plots and batch runs.")
set(CPACK_PACKAGE_VENDOR "Orvane Engineering Company")
set(CPACK_PACKAGE_CONTACT "Orvane Engineering Company <support@orvane.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.orvane.example/")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Fonts for the plots; the windowed program also needs the X11/Wayland platform plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
if(TARGET rational-hydrograph)
  # The screens map their typefaces onto the Liberation fonts.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins, fonts-liberation")
endif()
# The library dependencies come from dpkg-shlibdeps, run by cpack (packaging/Dependencies.cmake)
# rather than by CPack's own step, which would make hard dependencies of every library of every
# file: the web page's browser module is loaded only when the page opens, and without the engine
# (about 150 MB) the page opens in the desktop's browser, so its libraries are recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(rh_required $<TARGET_FILE:rational-hydrograph-cli> $<TARGET_FILE:rh-qtdevices>)
set(rh_recommended)
if(TARGET rational-hydrograph)
  list(APPEND rh_required $<TARGET_FILE:rational-hydrograph>)
  if(TARGET rh-webengine)
    list(APPEND rh_recommended $<TARGET_FILE:rh-webengine>)
  endif()
endif()
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/packaging/CPackDependencies.cmake CONTENT "\
set(RH_REQUIRED_FILES \"${rh_required}\")
set(RH_RECOMMENDED_FILES \"${rh_recommended}\")
set(RH_WORK_DIR \"${PROJECT_BINARY_DIR}/packaging/shlibdeps\")
include(\"${PROJECT_SOURCE_DIR}/packaging/Dependencies.cmake\")
")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/packaging/CPackDependencies.cmake)
include(CPack)
