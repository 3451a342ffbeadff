# `make install` puts the programs, both libraries, a desktop entry and the icon under a
# user-writable prefix; the manager keeps settings.ini beside its program there.
# The stand-in player's library, command and sample recordings install from nerolink/.
include(GNUInstallDirs)
install(TARGETS TovixMan voc2wav RUNTIME DESTINATION bin)
install(TARGETS Halvex LIBRARY DESTINATION lib)
configure_file(${PROJECT_SOURCE_DIR}/data/tovixman.desktop.in ${CMAKE_BINARY_DIR}/tovixman.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tovixman.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/tovixman.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
