# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The longest stall of the window's thread while the queue runs a slow device operation.
add_executable(ui_stall_bench ${CMAKE_CURRENT_LIST_DIR}/ui_stall_bench.cpp)
target_include_directories(ui_stall_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(ui_stall_bench PRIVATE tovixman_core Nerolink Qt6::Test)
target_compile_definitions(ui_stall_bench PRIVATE TOVIX_PLAYER_COMMAND="$<TARGET_FILE:tovix-player>")
add_dependencies(ui_stall_bench tovix-player)
