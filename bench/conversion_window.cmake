# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# A disk slow to sync, loaded with LD_PRELOAD: every fsync, fdatasync and waiting sync_file_range sleeps.
add_library(slow_sync SHARED ${CMAKE_CURRENT_LIST_DIR}/slow_sync.c)
target_link_libraries(slow_sync PRIVATE ${CMAKE_DL_LIBS})
# A long recording uploaded and converted by the window, and pasted in the PC pane: its thread's
# longest gap on this disk and on a slow one, and the time against voc2wav.
if(TARGET voc2wav)
  add_executable(conversion_window_bench ${CMAKE_CURRENT_LIST_DIR}/conversion_window_bench.cpp)
  target_include_directories(conversion_window_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_link_libraries(conversion_window_bench PRIVATE tovixman_core Nerolink Qt6::Test)
  target_compile_definitions(conversion_window_bench PRIVATE
    TOVIX_PLAYER_COMMAND="$<TARGET_FILE:tovix-player>" VOC2WAV_PATH="$<TARGET_FILE:voc2wav>"
    SLOW_SYNC_LIBRARY="$<TARGET_FILE:slow_sync>"
    TOVIX_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  add_dependencies(conversion_window_bench tovix-player voc2wav slow_sync)
endif()
