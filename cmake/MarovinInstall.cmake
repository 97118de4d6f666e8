# What `make install` (cmake --install) lays out, and the Debian package
# CPack builds from the same rules:
#   bin/marovin, bin/marovin-cli
#   share/applications/marovin.desktop
#   share/icons/hicolor/256x256/apps/marovin.png, .../scalable/apps/marovin.svg
#   share/mime/packages/marovin.xml
#   share/metainfo/invalid.marovin.Marovin.metainfo.xml
#   share/man/man1/marovin.1.gz, share/man/man1/marovin-cli.1.gz
#   share/doc/marovin/copyright, share/doc/marovin/changelog.gz
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

# The component ID in reverse-domain form, which is also the file's name.
set(MAROVIN_APPSTREAM_ID invalid.marovin.Marovin)
install(FILES ${CMAKE_SOURCE_DIR}/resources/marovin.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${MAROVIN_APPSTREAM_ID}.metainfo.xml)

# Manual pages and the changelog are installed compressed, as Debian keeps
# them; -n leaves name and time out, so the same text gives the same bytes.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(MAROVIN_GZIPPED)
foreach(source resources/man/marovin.1 resources/man/marovin-cli.1 resources/debian/changelog)
    get_filename_component(name ${source} NAME)
    set(out ${CMAKE_BINARY_DIR}/generated/doc/${name}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated/doc
        COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_SOURCE_DIR}/${source} > ${out}
        DEPENDS ${CMAKE_SOURCE_DIR}/${source})
    list(APPEND MAROVIN_GZIPPED ${out})
endforeach()
add_custom_target(marovin_docs ALL DEPENDS ${MAROVIN_GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/generated/doc/marovin.1.gz
              ${CMAKE_BINARY_DIR}/generated/doc/marovin-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The licence in the machine-readable form Debian reads; it names the full
# text in LICENSE.
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright
              ${CMAKE_BINARY_DIR}/generated/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/marovin)

set(CPACK_PACKAGE_NAME marovin)
set(CPACK_PACKAGE_VENDOR "Marovin developers")
set(CPACK_PACKAGE_CONTACT "Marovin developers <maintainers@marovin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration editor for industrial operator panels")
# Lines of at most 80 characters, as a terminal shows them.
set(CPACK_PACKAGE_DESCRIPTION
    "Draws the screens of an operator panel from shapes and live widgets, keeps
its text and address tags and the serial devices it talks to, and saves it all
in one project file.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY marovin)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# dpkg-shlibdeps names the Debian packages of exactly the libraries the
# executables link, at the versions they were built against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop and MIME databases are refreshed by the triggers of
# desktop-file-utils and shared-mime-info; recommending them makes sure
# the file association works on a minimal system.
# The interface is Chinese by default: without a CJK font its texts are
# boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "shared-mime-info, desktop-file-utils, hicolor-icon-theme, fonts-noto-cjk | fonts-wqy-microhei")
include(CPack)
