# SPDX-License-Identifier: GPL-2.0-or-later
# Copyright (C) 2026 The Dotwell and Pixvane authors

# What `cmake --install` puts where a Debian user and packager expect it. debian/ splits the
# result into packages; scripts/install-prefix adds the desktop caches of a prefix installed
# without DESTDIR.
include(GNUInstallDirs)

install(TARGETS dotwell pixvane calcpic RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/calcpic/calcpic.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The files that list the formats are written by the build from the registry (packaging/generate).
set(generated ${PROJECT_BINARY_DIR}/packaging)
install(FILES ${generated}/calcpic-pictures.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# The desktop files are named after the AppStream ids, as AppStream and Wayland want; the icons
# keep the programs' names.
foreach(app Dotwell Pixvane)
    string(TOLOWER ${app} program)
    install(FILES ${generated}/io.github.dotwell.${app}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES packaging/icons/${program}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    foreach(size 16 32 48 64 128 256)
        install(FILES packaging/icons/hicolor/${size}x${size}/apps/${program}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    install(FILES ${generated}/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The desktop entries and the thumbnailer name their programs by full path in the prefix being
# installed to, known only at install time (`cmake --install --prefix`): see
# packaging/install_configured.cmake.
set(configured
    "${generated}/io.github.dotwell.Dotwell.desktop.in|${CMAKE_INSTALL_DATADIR}/applications"
    "${generated}/io.github.dotwell.Pixvane.desktop.in|${CMAKE_INSTALL_DATADIR}/applications"
    "${generated}/calcpic.thumbnailer.in|${CMAKE_INSTALL_DATADIR}/thumbnailers")
install(CODE "set(DOTWELL_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
set(DOTWELL_BINARY_DIR \"${PROJECT_BINARY_DIR}\")
set(DOTWELL_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
set(DOTWELL_CONFIGURED \"${configured}\")")
install(SCRIPT packaging/install_configured.cmake)
