# `make install` puts the programs, both libraries, a desktop entry, the icon and the docs
# under the prefix: a user-writable one, or /usr for the Debian package.
# The stand-in player's library, command and sample recordings install from nerolink/.
include(GNUInstallDirs)
install(TARGETS TovixMan voc2wav RUNTIME DESTINATION bin)
install(TARGETS Halvex LIBRARY DESTINATION ${TOVIX_PRIVATE_LIBDIR})
# The libraries need nothing private, so they carry no search path of their own.
set_target_properties(Halvex Nerolink PROPERTIES INSTALL_RPATH "")
configure_file(${PROJECT_SOURCE_DIR}/data/tovixman.desktop.in ${CMAKE_BINARY_DIR}/tovixman.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tovixman.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/tovixman.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
# Named after the package, as Debian names doc folders; the README's links into docs/
# keep working in the installed copy.
set(TOVIX_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tovixman)
install(FILES README.md DESTINATION ${TOVIX_DOCDIR})
install(FILES docs/stand-in-player.md docs/screenshot.png docs/screenshot-queue.png
  DESTINATION ${TOVIX_DOCDIR}/docs)
