# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# `make package`: a Debian package of what `make install` puts under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovixman)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Seed 2378a518 maintainers <maintainers@users.noreply.c-seed-2378a518.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "manager for the Tovix portable audio player")
# Debian shows the description in 80 columns, each line indented by one space.
set(CPACK_PACKAGE_DESCRIPTION "TovixMan shows whether a Tovix player is attached, lists the files of its
internal memory and memory card, and downloads, uploads, removes and formats
from a cancellable queue. Voice recordings become PCM wave files as they arrive
on the PC; voc2wav converts recordings already on disk, and recordings opened
from the desktop's file manager show in TovixMan.

The package also holds the stand-in device library and tovix-player, which
sets up a player kept in a folder, with sample recordings for a demo.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps finds the system libraries; the private ones are our own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
# Qt loads its window-system plugin and its own translations (the standard buttons'
# texts) at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
include(CPack)
