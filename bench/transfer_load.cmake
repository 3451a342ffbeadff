# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# A large upload by the queue's worker while every core is busy, against a plain normal-priority thread.
add_executable(transfer_load_bench ${CMAKE_CURRENT_LIST_DIR}/transfer_load_bench.cpp)
target_link_libraries(transfer_load_bench PRIVATE tovixman_core Nerolink)
target_compile_definitions(transfer_load_bench PRIVATE TOVIX_PLAYER_COMMAND="$<TARGET_FILE:tovix-player>")
add_dependencies(transfer_load_bench tovix-player)
