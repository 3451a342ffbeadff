# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The INI reader and updater over arbitrary file contents. The layer's source is
# compiled in so that the fuzzer's coverage reaches it.
add_executable(ini_fuzz ${CMAKE_CURRENT_LIST_DIR}/ini_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/manager/platform/ini.cpp ${PROJECT_SOURCE_DIR}/manager/platform/paths.cpp)
target_include_directories(ini_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/manager)
target_compile_options(ini_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(ini_fuzz PRIVATE -fsanitize=fuzzer)
