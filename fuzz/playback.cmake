# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The playback decoders (voice recordings, wave files, MP3 files) over arbitrary files:
# open, seek, decode to the end. Their sources are compiled in so that the fuzzer's
# coverage reaches them; libmpg123 itself is the system's, uninstrumented.
add_executable(playback_fuzz ${CMAKE_CURRENT_LIST_DIR}/playback_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/manager/listen/playback_decoder.cpp
  ${PROJECT_SOURCE_DIR}/manager/listen/wave_source.cpp
  ${PROJECT_SOURCE_DIR}/manager/listen/mpeg_sources.cpp
  ${PROJECT_SOURCE_DIR}/manager/voice/voice_format.cpp
  ${PROJECT_SOURCE_DIR}/manager/platform/paths.cpp)
target_include_directories(playback_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/manager)
target_link_libraries(playback_fuzz PRIVATE Qt6::Core PkgConfig::MPG123)
target_compile_options(playback_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(playback_fuzz PRIVATE -fsanitize=fuzzer)

# Seeds: each sample recording, and a short wave file, behind the byte that picks its kind.
find_program(TOVIX_FUZZ_PYTHON3 python3 REQUIRED)
set(playback_corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/playback_fuzz)
file(MAKE_DIRECTORY ${playback_corpus})
execute_process(COMMAND ${TOVIX_FUZZ_PYTHON3} ${CMAKE_CURRENT_LIST_DIR}/playback_seeds.py
  ${PROJECT_SOURCE_DIR}/tests/data ${playback_corpus} COMMAND_ERROR_IS_FATAL ANY)
