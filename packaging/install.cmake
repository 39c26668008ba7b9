# SPDX-License-Identifier: GPL-2.0-or-later
# Copyright (C) 2026 The Dotwell and Pixvane authors

# What `cmake --install` puts where a Debian user and packager expect it, and the .deb that
# `make package` builds from the same rules.
include(GNUInstallDirs)

install(TARGETS dotwell pixvane calcpic RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/calcpic/calcpic.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/calcpic-pictures.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(app dotwell pixvane)
    install(FILES packaging/${app}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # AppStream wants the file named after the component id.
    install(FILES packaging/${app}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
            RENAME org.calcpic.${app}.metainfo.xml)
    install(FILES packaging/icons/${app}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    foreach(size 16 32 48 64 128 256)
        install(FILES packaging/icons/hicolor/${size}x${size}/apps/${app}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    install(FILES packaging/man/${app}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dotwell-pixvane)
set(CPACK_PACKAGE_VENDOR "The Dotwell and Pixvane developers")
set(CPACK_PACKAGE_CONTACT "The Dotwell and Pixvane developers <dotwell-pixvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editors and a converter for TI calculator pictures")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "dotwell draws and edits the 96 x 63 pictures of the TI-82, TI-83, TI-83 Plus and TI-84 "
    "Plus (.82i, .83i, .8xi), pixvane those of the TI-92, TI-92 Plus and Voyage 200 (.92i, "
    ".9xi, .v2i). Both save byte-exact calculator files and convert ordinary pictures. calcpic "
    "converts and inspects them from the command line.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/dotwell")
# The libraries the programs link come from dpkg-shlibdeps. Qt's platform plugins are loaded,
# not linked, so no tool can find them: the window needs the X11 one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
