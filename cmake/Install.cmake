# `cmake --install`: the program in bin/, its pages and translation in
# share/velmora/ (where it looks for them, ../share/velmora from its folder),
# the desktop entry, icon and AppStream metadata where desktops look; and a
# Debian package of the same (cpack -G DEB).
include(GNUInstallDirs)

set(velmora_data ${CMAKE_INSTALL_DATADIR}/velmora)
install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${velmora_qm_files} DESTINATION ${velmora_data})
install(FILES ${VELMORA_PAGES} DESTINATION ${velmora_data}/images)
# Leaflet stays Debian's own package's, linked (relatively) rather than copied.
install(CODE "
    set(images \"\${CMAKE_INSTALL_PREFIX}/${velmora_data}/images\")
    file(RELATIVE_PATH target \"\${images}\" \"${LEAFLET_DIR}\")
    set(link \"\$ENV{DESTDIR}\${images}/leaflet\")
    file(REMOVE_RECURSE \"\${link}\")
    file(CREATE_LINK \"\${target}\" \"\${link}\" SYMBOLIC)")

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/org.marvenda.Velmora.metainfo.xml
               ${CMAKE_CURRENT_BINARY_DIR}/packaging/org.marvenda.Velmora.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/velmora.desktop.in
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME org.marvenda.Velmora.desktop)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/org.marvenda.Velmora.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/resources/images-src/Video_Play.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME velmora.svg)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/Video_Play.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME velmora.png)

# What Debian asks of every package: its copyright, a compressed changelog,
# and a manual page.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog.Debian
               ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog @ONLY)
set(velmora_gzipped)
foreach(file ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog ${CMAKE_CURRENT_SOURCE_DIR}/packaging/velmora.1)
    get_filename_component(name ${file} NAME)
    set(gzipped ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${gzipped} COMMAND gzip -n -9 -c ${file} > ${gzipped} DEPENDS ${file})
    list(APPEND velmora_gzipped ${gzipped})
endforeach()
add_custom_target(velmora_package_docs ALL DEPENDS ${velmora_gzipped})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/copyright
              ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/velmora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Marvenda developers <developers@marvenda.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dash-camera recording player")
set(CPACK_PACKAGE_DESCRIPTION "Plays car dash-camera recordings together with their GPS log:\n\
a speedometer, a G-sensor graph, the position and a map with the route\n\
follow the log second by second.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the libraries do not say: plug-ins and helpers loaded at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libjs-leaflet, libqt6sql6-sqlite, libqt6webenginecore6-bin, vlc-plugin-base, vlc-plugin-video-output")
set(CPACK_STRIP_FILES ON)
include(CPack)
