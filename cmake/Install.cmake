# Installing Framora (GNUInstallDirs) and packing it as a Debian package with CPack.
#
#   cmake --install <build> --prefix <prefix>
#       <prefix>/bin/framora, its shipped files in <prefix>/share/framora, the desktop entry,
#       the AppStream metadata, the icon in the hicolor theme, the manual page and the
#       copyright and change log in <prefix>/share/doc/framora.
#   cpack -G DEB (in a release build folder)
#       framora_<version>_<arch>.deb, installing into /usr, its library dependencies computed
#       by dpkg-shlibdeps.

set(FRAMORA_APP_ID org.framora.Framora)
set(FRAMORA_HOMEPAGE
    "https://framora.example.org"
    CACHE STRING "The project's web page, written into the package and the AppStream metadata")
set(FRAMORA_SCREENSHOT_URL
    "${FRAMORA_HOMEPAGE}/screenshots"
    CACHE STRING
          "Where the screenshots of docs/screenshots are published, for the AppStream metadata")
set(FRAMORA_MAINTAINER
    "Framora developers <maintainers@framora.example.org>"
    CACHE STRING "The package's maintainer")
set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/framora)

set(_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(_gen ${PROJECT_BINARY_DIR}/packaging)
set(FRAMORA_SHIPPED_DIR ${CMAKE_INSTALL_FULL_DATADIR}/framora)
configure_file(${_pkg}/${FRAMORA_APP_ID}.metainfo.xml.in ${_gen}/${FRAMORA_APP_ID}.metainfo.xml
               @ONLY)
configure_file(${_pkg}/framora.1 ${_gen}/framora.1 @ONLY)
configure_file(${_pkg}/changelog.in ${_gen}/changelog @ONLY)

# Manual page and change log compressed as Debian wants them: gzip -9, no name or time inside.
find_program(FRAMORA_GZIP gzip REQUIRED)
set(_gz)
foreach(_f framora.1 changelog)
  add_custom_command(
    OUTPUT ${_gen}/${_f}.gz
    COMMAND ${FRAMORA_GZIP} -9n -c ${_gen}/${_f} > ${_gen}/${_f}.gz
    DEPENDS ${_gen}/${_f}
    VERBATIM)
  list(APPEND _gz ${_gen}/${_f}.gz)
endforeach()
add_custom_target(framora_install_files ALL DEPENDS ${_gz})

install(TARGETS framora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/init.ini ${PROJECT_SOURCE_DIR}/resources/noframe.jpg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/framora)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/Help DESTINATION ${CMAKE_INSTALL_DATADIR}/framora)
install(FILES ${_pkg}/${FRAMORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_gen}/${FRAMORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(_s IN LISTS FRAMORA_ICON_SIZES)
  install(
    FILES ${FRAMORA_ICON_DIR}/framora-${_s}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_s}x${_s}/apps
    RENAME framora.png)
endforeach()
install(FILES ${FRAMORA_ICON_DIR}/framora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_gen}/framora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_pkg}/copyright ${_gen}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME framora)
set(CPACK_PACKAGE_VENDOR "The Framora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${FRAMORA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small video cutter for AVI and MPEG files")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ
    OWNER_WRITE
    OWNER_EXECUTE
    GROUP_READ
    GROUP_EXECUTE
    WORLD_READ
    WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${FRAMORA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description, one line each (CPack adds the leading space).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Framora opens one AVI or MPEG file, marks a start and an end on a track
bar in whole seconds, shows the frame at each mark, and cuts the stretch,
picture and sound, into a new AVI file. Its windows are painted by its own
bitmap skins; three are built in.")
include(CPack)
