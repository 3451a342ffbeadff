# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Listening goals: a slow player's long recording to first sound, MPRIS PlayPause
# to first sound, resuming after a restart, and the window's thread meanwhile,
# against a private PulseAudio daemon, a private session bus and the stand-in player.
add_executable(listen_goals_bench ${CMAKE_CURRENT_LIST_DIR}/listen_goals_bench.cpp
  ${PROJECT_SOURCE_DIR}/tests/listen/private_pulse.cpp)
target_include_directories(listen_goals_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support
  ${PROJECT_SOURCE_DIR}/tests/listen)
target_link_libraries(listen_goals_bench PRIVATE tovixman_core Nerolink Qt6::Test)
target_compile_definitions(listen_goals_bench PRIVATE TOVIX_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
  TOVIX_PLAYER_COMMAND="$<TARGET_FILE:tovix-player>")
add_dependencies(listen_goals_bench tovix-player)
