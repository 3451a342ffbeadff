# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Reloading both player lists (255 files each) against filling them from records already read.
add_executable(refresh_bench ${CMAKE_CURRENT_LIST_DIR}/refresh_bench.cpp)
target_link_libraries(refresh_bench PRIVATE tovixman_core)
