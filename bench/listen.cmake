# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Listening: Play key to first sound, window-thread gaps, CPU and underruns,
# against a private PulseAudio daemon.
add_executable(listen_bench ${CMAKE_CURRENT_LIST_DIR}/listen_bench.cpp
  ${PROJECT_SOURCE_DIR}/tests/listen/private_pulse.cpp)
target_include_directories(listen_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support ${PROJECT_SOURCE_DIR}/tests/listen)
target_link_libraries(listen_bench PRIVATE tovixman_core fake_nerolink Qt6::Test)
target_compile_definitions(listen_bench PRIVATE TOVIX_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
