# The installed layout: the program and its songs in <prefix>/lib/quelbrin-spades
# (the program finds its songs next to itself), a link in <prefix>/bin, the desktop
# entry, the icons, the AppStream metadata and its screenshot. CPack makes a
# Debian package of the same.
set(SPADES_PROGRAM_DIR lib/quelbrin-spades)
set(SPADES_ID net.tarnwell.QuelbrinSpades)

install(TARGETS quelbrin-spades RUNTIME DESTINATION ${SPADES_PROGRAM_DIR})
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(CREATE_LINK ../${SPADES_PROGRAM_DIR}/quelbrin-spades \"\${bin}/quelbrin-spades\" SYMBOLIC)
  message(STATUS \"Installing: \${bin}/quelbrin-spades -> ../${SPADES_PROGRAM_DIR}/quelbrin-spades\")
")

install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${SPADES_ID}.desktop DESTINATION share/applications)
configure_file(${PROJECT_SOURCE_DIR}/resources/desktop/${SPADES_ID}.metainfo.xml
               ${CMAKE_BINARY_DIR}/share/${SPADES_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/share/${SPADES_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/src/tableview/icon/hicolor DESTINATION share/icons)
install(FILES ${CMAKE_BINARY_DIR}/share/screenshots/table.png DESTINATION share/quelbrin-spades/screenshots)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelbrin-spades)
set(CPACK_PACKAGE_VENDOR Tarnwell)
set(CPACK_PACKAGE_CONTACT "Tarnwell games <games@tarnwell.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Spades for four seats, every seat scoring on its own")
set(CPACK_PACKAGE_DESCRIPTION
    "Quelbrin Spades is the card game Spades for North, East, South and West, each seat played by a person or by the computer. Every seat scores on its own; there are no partnerships.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # the Qt 6 and FluidSynth libraries the program links
# The SQLite driver of Qt SQL is a plugin, which shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-liberation, fontconfig, timgm6mb-soundfont | fluid-soundfont-gm")
# Qt SVG (libqt6svg6, found by shlibdeps) draws the card decks other games
# install; the program offers the decks of these two packages.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "kdegames-card-data-kf5, gnome-cards-data")
include(CPack)
