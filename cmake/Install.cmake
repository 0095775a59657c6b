# Installation as a desktop program, and its Debian package.
#
#   cmake --install build [--prefix /usr]     (DESTDIR=... is respected)
#   cd build && cpack -G DEB                  (vornik_<version>_<arch>.deb)
#
# Installed: the program and the converter, their manual pages, the menu
# entry, the icon (scalable and in the usual pixel sizes), the software-centre
# description, and the licence and change log. Tests, benchmarks and developer
# tools stay in the build folder.

if(NOT TARGET vornik)
  return()
endif()

include(GNUInstallDirs)

# One name for the menu entry, the description and the icon, as the desktop
# expects: the entry's file name is how the window is matched to its entry.
# Lower case as AppStream asks; the description names the earlier mixed-case
# id as replaced, so software centres carry an installed copy over.
set(VORNIK_APP_ID "com.qrxsoft.vornik")
set(VORNIK_OLD_APP_ID "com.qrxsoft.Vornik")
# One address for the package, its description, its copyright and the About box.
set(VORNIK_MAINTAINER "Vornik developers <vornik@example.org>")
set(VORNIK_CONTACT_ADDRESS "vornik@example.org")
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

# The release date of the software-centre description is the change log's
# newest entry, whose version must be the project's.
file(STRINGS packaging/changelog _changelog_lines)
list(GET _changelog_lines 0 _changelog_top)
if(NOT _changelog_top MATCHES "^vornik \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}")
endif()
foreach(_line ${_changelog_lines})
  if(_line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND _months ${CMAKE_MATCH_2} _month)
    math(EXPR _month "${_month} + 1")
    if(_month LESS 10)
      set(_month "0${_month}")
    endif()
    set(VORNIK_RELEASE_DATE "${CMAKE_MATCH_3}-${_month}-${CMAKE_MATCH_1}")
    break()
  endif()
endforeach()
if(NOT VORNIK_RELEASE_DATE)
  message(FATAL_ERROR "packaging/changelog: the newest entry has no date")
endif()

configure_file(packaging/vornik.desktop.in
  ${CMAKE_CURRENT_BINARY_DIR}/${VORNIK_APP_ID}.desktop @ONLY)
configure_file(packaging/vornik.metainfo.xml.in
  ${CMAKE_CURRENT_BINARY_DIR}/${VORNIK_APP_ID}.metainfo.xml @ONLY)

# Manual pages and the change log compressed as Debian keeps them: the best
# compression, no name or time stamp in the header, so a build is repeatable.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(_doc_root ${CMAKE_CURRENT_BINARY_DIR}/doc)
set(_compressed)
foreach(source packaging/vornik.1 packaging/vornik-convert.1 packaging/changelog)
  get_filename_component(_name ${source} NAME)
  add_custom_command(
    OUTPUT ${_doc_root}/${_name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_doc_root}
    COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${source} > ${_doc_root}/${_name}.gz
    DEPENDS ${source}
    VERBATIM)
  list(APPEND _compressed ${_doc_root}/${_name}.gz)
endforeach()
add_custom_target(vornik_docs ALL DEPENDS ${_compressed})

install(TARGETS vornik vornik-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_doc_root}/vornik.1.gz ${_doc_root}/vornik-convert.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_doc_root}/changelog.gz packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vornik)
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
  "searched, printed and copied, and a file the handheld can install.\n"
  "The command vornik-convert exports lists to CSV, text, RTF, XML or JSON,\n"
  "imports them back, and describes them, without a display.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "${VORNIK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VORNIK_MAINTAINER}")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Directories and control files with the modes Debian expects.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
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
