# Installation as a native Linux desktop program, and its Debian package (cpack -G DEB).
#
#   bin/orvani                                    the program: its command line
#   lib/<arch>/orvani/orvani-window.so            the window, which the program loads to start it
#   lib/<arch>/orvani/orvani-network.so           downloads, which the window loads at the first one
#   share/applications/orvani.desktop             menu entry
#   share/icons/hicolor/{scalable,NxN}/apps/      icon: the SVG and PNGs made from it at build time
#   share/metainfo/org.example.orvani.metainfo.xml  software-centre description
#   share/orvani/*.htm                            read-me pages opened from the About box
#   share/man/man1/orvani.1.gz                    manual page
#   share/doc/orvani/{copyright,changelog.gz}     licence and release history

include(GNUInstallDirs)

set(ORVANI_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
set(ORVANI_ICON_SVG ${ORVANI_RESOURCES}/art/app/orvani.svg)
set(ORVANI_STAGE ${PROJECT_BINARY_DIR}/install-stage)
set(ORVANI_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvani)
set(ORVANI_MAINTAINER "KX <packages@example.org>")
set(ORVANI_HOMEPAGE "https://example.org/orvani/")
find_program(GZIP_EXECUTABLE gzip REQUIRED)

# --- Icon sizes, rendered from the one scalable icon ----------------------------------------
set(ORVANI_ICON_SIZES 16 24 32 48 64 128 256)
set(icon_files)
foreach(size ${ORVANI_ICON_SIZES})
  set(png ${ORVANI_STAGE}/icons/${size}x${size}/orvani.png)
  # A sanitizer build must not fail on the toolkit's start-up allocations of a build tool.
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANI_STAGE}/icons/${size}x${size}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:svg2png> ${ORVANI_ICON_SVG} ${size} ${png}
    DEPENDS svg2png ${ORVANI_ICON_SVG}
    COMMENT "Rendering the ${size} px icon"
    VERBATIM)
  list(APPEND icon_files ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# --- Manual page and release history, compressed as Debian expects ---------------------------
set(changelog ${ORVANI_STAGE}/changelog)
# file(CONFIGURE) rewrites only on change, so a reconfigure does not redo the compression.
file(CONFIGURE OUTPUT ${changelog} @ONLY CONTENT
  "orvani (${PROJECT_VERSION}) stable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${ORVANI_MAINTAINER}  Mon, 30 Jun 2003 12:00:00 +0000
")

set(gzipped)
foreach(source ${ORVANI_RESOURCES}/orvani.1 ${changelog})
  get_filename_component(name ${source} NAME)
  set(target ${ORVANI_STAGE}/${name}.gz)
  # -n keeps names and times out of the archive, so builds are reproducible.
  add_custom_command(OUTPUT ${target}
    COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${source} > ${target}
    DEPENDS ${source}
    COMMENT "Compressing ${name}")
  list(APPEND gzipped ${target})
endforeach()

add_custom_target(orvani_install_files ALL DEPENDS ${icon_files} ${gzipped})

# Shows an installed menu entry and its icon for scripts/package.sh; built on request only.
add_executable(desktop-preview EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tools/desktop-preview.cpp)
target_link_libraries(desktop-preview PRIVATE Qt6::Widgets)

# --- Licence in the Debian machine-readable form, from LICENSE -------------------------------
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^.*(Copyright[^\n]*)\n+" "" license_body "${license}")
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" copyright_line "${license}")
set(copyright_holder "${CMAKE_MATCH_1}")
string(STRIP "${license_body}" license_body)
string(REPLACE "\n\n" "\n.\n" license_body "${license_body}")
string(REPLACE "\n" "\n " license_body "${license_body}")
file(CONFIGURE OUTPUT ${ORVANI_STAGE}/copyright @ONLY CONTENT
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Orvani
Upstream-Contact: ${ORVANI_MAINTAINER}
Source: ${ORVANI_HOMEPAGE}

Files: *
Copyright: ${copyright_holder}
License: Expat
 ${license_body}
")

# --- Install rules ---------------------------------------------------------------------------
install(TARGETS orvani RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS orvani_window orvani_network LIBRARY DESTINATION ${ORVANI_MODULE_DIR})
install(FILES ${ORVANI_RESOURCES}/orvani.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${ORVANI_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
# AppStream wants the file named after the component id given inside it.
install(FILES ${ORVANI_RESOURCES}/orvani.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo
  RENAME org.example.orvani.metainfo.xml)
file(GLOB ORVANI_README_PAGES CONFIGURE_DEPENDS ${ORVANI_RESOURCES}/*.htm)
install(FILES ${ORVANI_README_PAGES} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/orvani)
install(FILES ${ORVANI_STAGE}/orvani.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ORVANI_STAGE}/copyright ${ORVANI_STAGE}/changelog.gz DESTINATION ${ORVANI_DOCDIR})

# --- Debian package --------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvani)
set(CPACK_PACKAGE_VENDOR KX)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORVANI_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop month calendar with week numbers and date tools")
set(CPACK_PACKAGE_DESCRIPTION
  "Orvani shows as many months as fit its window, with optional ISO week numbers,
a circle around today and a clock in the status bar. Select a day to jump to
another date (an offset, Easter Sunday, a date serial number), to see its week
number, day number and the days to a second date, to copy it in five forms or
to save the month view as a JPEG picture.

The window can stay on top, be translucent and minimise to the notification
area. The interface speaks Dutch and English.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORVANI_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORVANI_HOMEPAGE})
# Dependencies come from the libraries the program links; that includes libqt6svg6, which also
# carries the SVG icon plugin. libjpeg is loaded at the first save of a picture, so it is named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libjpeg62-turbo")
# Liberation Sans stands in for the default month-view font; xdg-open opens links and pages;
# the hicolor theme's index lets desktops find the icon by name; Qt's translations put its own
# dialogs and menus in the interface language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils, hicolor-icon-theme, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/")
include(CPack)
