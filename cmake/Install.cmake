# Installation as a desktop program, and its Debian package.
#
#   cmake --install build [--prefix /usr]     (DESTDIR=... is respected)
#   cd build && cpack -G DEB                  (vornik_<version>_<arch>.deb)
#
# Installed: the program, its menu entry, its icon (scalable and in the usual
# pixel sizes) and its software-centre description. Tests, benchmarks and
# developer tools stay in the build folder.

if(NOT TARGET vornik)
  return()
endif()

include(GNUInstallDirs)

# One name for the menu entry, the description and the icon, as the desktop
# expects: the entry's file name is how the window is matched to its entry.
set(VORNIK_APP_ID "com.qrxsoft.Vornik")
target_compile_definitions(vornik PRIVATE VORNIK_APP_ID="${VORNIK_APP_ID}")

# The installed icons are rendered from the drawing the main window uses.
find_package(Qt6 REQUIRED COMPONENTS Svg)
add_executable(render_icons packaging/render_icons.cpp)
target_link_libraries(render_icons PRIVATE vornik_app Qt6::Svg)

set(VORNIK_ICON_SIZES 16 22 24 32 48 64 128 256)
set(_icon_root ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(_icon_files ${_icon_root}/scalable/apps/${VORNIK_APP_ID}.svg)
foreach(size ${VORNIK_ICON_SIZES})
  list(APPEND _icon_files ${_icon_root}/${size}x${size}/apps/${VORNIK_APP_ID}.png)
endforeach()
add_custom_command(
  OUTPUT ${_icon_files}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:render_icons> ${_icon_root} ${VORNIK_APP_ID}
  DEPENDS render_icons
  COMMENT "Rendering the program's icons"
  VERBATIM)
add_custom_target(vornik_icons ALL DEPENDS ${_icon_files})

configure_file(packaging/vornik.desktop.in
  ${CMAKE_CURRENT_BINARY_DIR}/${VORNIK_APP_ID}.desktop @ONLY)
configure_file(packaging/vornik.metainfo.xml.in
  ${CMAKE_CURRENT_BINARY_DIR}/${VORNIK_APP_ID}.metainfo.xml @ONLY)

install(TARGETS vornik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${VORNIK_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${VORNIK_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${_icon_root}/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
  FILES_MATCHING PATTERN "${VORNIK_APP_ID}.*")

# The Debian package. Its dependencies on the Qt libraries (and whatever else
# the program links) are computed by dpkg-shlibdeps from the installed binary.
set(CPACK_PACKAGE_NAME vornik)
set(CPACK_PACKAGE_VENDOR "QRXSoft")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for handheld list databases")
set(CPACK_PACKAGE_DESCRIPTION
  "Vornik opens, edits and saves the two-field list databases (.pdb files) of a\n"
  "handheld organiser: records filtered by category, sorted by any column,\n"
  "searched, printed and copied, and a file the handheld can install.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(VORNIK_PACKAGE_MAINTAINER "Vornik developers <vornik@localhost>"
  CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${VORNIK_PACKAGE_MAINTAINER}")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The menu, the icon theme and the software centre pick the new files up
# through dpkg triggers; nothing to run after installing.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)

# The icon test compares the rendered files with the window's picture.
if(TARGET tests_app)
  add_dependencies(tests_app vornik_icons)
  target_link_libraries(tests_app PRIVATE Qt6::Svg)
  target_compile_definitions(tests_app PRIVATE
    VORNIK_ICON_DIR="${_icon_root}" VORNIK_APP_ID="${VORNIK_APP_ID}")
endif()
