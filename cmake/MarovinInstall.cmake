# What `make install` (cmake --install) lays out, and the Debian package
# CPack builds from the same rules:
#   bin/marovin, bin/marovin-cli
#   share/applications/marovin.desktop
#   share/icons/hicolor/256x256/apps/marovin.png, .../scalable/apps/marovin.svg
#   share/mime/packages/marovin.xml
# Everything else the program needs (pictures, tables, translations, help)
# is compiled into it.

include(GNUInstallDirs)

install(TARGETS marovin marovin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/marovin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The bitmap is the one the build renders for the window icon, so both show
# the same picture.
install(FILES ${CMAKE_BINARY_DIR}/generated/resources/images/app/marovin.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/images/app/marovin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/marovin-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME marovin.xml)

set(CPACK_PACKAGE_NAME marovin)
set(CPACK_PACKAGE_VENDOR "Marovin")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration editor for industrial operator panels")
set(CPACK_PACKAGE_DESCRIPTION
    "Draws the screens of an operator panel from shapes and live widgets, keeps its text and address tags and the serial devices it talks to, and saves it all in one project file.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY marovin)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Marovin developers <marovin@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# dpkg-shlibdeps names the Debian packages of exactly the libraries the
# executables link, at the versions they were built against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop and MIME databases are refreshed by the triggers of
# desktop-file-utils and shared-mime-info; recommending them makes sure
# the file association works on a minimal system.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
include(CPack)
