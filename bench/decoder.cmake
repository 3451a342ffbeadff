# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Frame-by-frame decoding through the library against bare libmpg123 on the same bytes.
add_executable(decoder_bench ${CMAKE_CURRENT_LIST_DIR}/decoder_bench.cpp)
target_link_libraries(decoder_bench PRIVATE Halvex halvex_rules PkgConfig::MPG123)
target_compile_definitions(decoder_bench PRIVATE TOVIX_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
