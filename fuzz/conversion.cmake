# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The whole conversion engine: a voice file in, a wave file out, as the manager and
# voc2wav run it. The engine's and the decoder's sources are compiled in so that the
# fuzzer's coverage reaches them.
add_executable(conversion_fuzz ${CMAKE_CURRENT_LIST_DIR}/conversion_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/manager/voice/voice_conversion.cpp
  ${PROJECT_SOURCE_DIR}/manager/voice/voice_format.cpp
  ${PROJECT_SOURCE_DIR}/manager/voice/buffered_io.cpp
  ${PROJECT_SOURCE_DIR}/manager/platform/exclusive_open.cpp
  ${PROJECT_SOURCE_DIR}/manager/platform/held_entry.cpp
  ${PROJECT_SOURCE_DIR}/manager/platform/paths.cpp
  ${PROJECT_SOURCE_DIR}/manager/platform/pending_file.cpp
  ${PROJECT_SOURCE_DIR}/decoder/halvex.cpp
  ${PROJECT_SOURCE_DIR}/decoder/feed_decoder.cpp
  ${PROJECT_SOURCE_DIR}/decoder/frame_header.cpp)
target_include_directories(conversion_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/manager
  ${PROJECT_SOURCE_DIR}/decoder)
target_link_libraries(conversion_fuzz PRIVATE PkgConfig::MPG123)
target_compile_options(conversion_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(conversion_fuzz PRIVATE -fsanitize=fuzzer)

# Seeds: the sample recordings' opening frames, and recordings whose later headers
# claim longer frames than the first, mid-file and at the end.
find_program(TOVIX_FUZZ_PYTHON3 python3 REQUIRED)
set(conversion_corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/conversion_fuzz)
file(MAKE_DIRECTORY ${conversion_corpus})
execute_process(COMMAND ${TOVIX_FUZZ_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/conversion_seeds.py
  ${PROJECT_SOURCE_DIR}/tests/data ${conversion_corpus} COMMAND_ERROR_IS_FATAL ANY)
