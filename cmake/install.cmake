# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# `make install` puts the programs, both libraries, a desktop entry, the icon and the docs
# under the prefix: a user-writable one, or /usr for the Debian package.
# The stand-in player's library, command and sample recordings install from nerolink/.
include(GNUInstallDirs)
install(TARGETS TovixMan voc2wav RUNTIME DESTINATION bin)
install(TARGETS Halvex LIBRARY DESTINATION ${TOVIX_PRIVATE_LIBDIR})
# The libraries need nothing private, so they carry no search path of their own.
set_target_properties(Halvex Nerolink PROPERTIES INSTALL_RPATH "")

# The desktop entry, the AppStream metadata and the MIME type of voice recordings,
# which the desktop entry opens; the entry's file takes the metadata's ID.
set(TOVIX_APP_ID example.tovixman.TovixMan)
configure_file(${PROJECT_SOURCE_DIR}/data/${TOVIX_APP_ID}.desktop.in ${CMAKE_BINARY_DIR}/${TOVIX_APP_ID}.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${TOVIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${TOVIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/tovixman-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tovixman.xml)
install(FILES ${PROJECT_SOURCE_DIR}/data/tovixman.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)

# Man pages and the changelog go compressed, as Debian keeps them; gzip -n keeps the
# archives the same from build to build.
set(TOVIX_GZIPPED)
foreach(source docs/man/TovixMan.1 docs/man/tovix-player.1 docs/man/voc2wav.1 data/changelog)
  get_filename_component(name ${source} NAME)
  set(zipped ${CMAKE_BINARY_DIR}/gz/${name}.gz)
  add_custom_command(OUTPUT ${zipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/${source} > ${zipped}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND TOVIX_GZIPPED ${zipped})
endforeach()
add_custom_target(gzipped_docs ALL DEPENDS ${TOVIX_GZIPPED})
list(FILTER TOVIX_GZIPPED INCLUDE REGEX "\\.1\\.gz$")
install(FILES ${TOVIX_GZIPPED} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Named after the package, as Debian names doc folders; the README's links into docs/
# keep working in the installed copy.
set(TOVIX_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tovixman)
install(FILES README.md data/copyright DESTINATION ${TOVIX_DOCDIR})
# The package has no Debian revision of its own, so Debian takes it as native.
install(FILES ${CMAKE_BINARY_DIR}/gz/changelog.gz DESTINATION ${TOVIX_DOCDIR})
install(FILES docs/stand-in-player.md docs/screenshot.png docs/screenshot-queue.png
  docs/screenshot-listen.png docs/screenshot-de.png
  DESTINATION ${TOVIX_DOCDIR}/docs)
