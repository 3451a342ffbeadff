# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The window's thread while the window starts on, and lists, a folder of 50,000 files.
add_executable(folder_listing_bench ${CMAKE_CURRENT_LIST_DIR}/folder_listing_bench.cpp)
target_link_libraries(folder_listing_bench PRIVATE tovixman_core Qt6::Test)
