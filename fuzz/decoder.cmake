# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The decoder's exports over arbitrary streams. Its sources are compiled in so that the
# fuzzer's coverage reaches them; libmpg123 itself is the system's, uninstrumented.
add_executable(decoder_fuzz ${CMAKE_CURRENT_LIST_DIR}/decoder_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/decoder/halvex.cpp
  ${PROJECT_SOURCE_DIR}/decoder/feed_decoder.cpp
  ${PROJECT_SOURCE_DIR}/decoder/frame_header.cpp)
target_include_directories(decoder_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/decoder)
target_link_libraries(decoder_fuzz PRIVATE PkgConfig::MPG123)
target_compile_options(decoder_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(decoder_fuzz PRIVATE -fsanitize=fuzzer)

# Seeds: the opening frames of every sample recording.
set(decoder_corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/decoder_fuzz)
file(MAKE_DIRECTORY ${decoder_corpus})
file(GLOB decoder_seeds ${PROJECT_SOURCE_DIR}/tests/data/*.VOC ${PROJECT_SOURCE_DIR}/tests/data/*.mp3)
foreach(seed IN LISTS decoder_seeds)
  get_filename_component(seed_name ${seed} NAME)
  if(NOT EXISTS ${decoder_corpus}/seed_${seed_name})
    execute_process(COMMAND head -c 4320 ${seed} OUTPUT_FILE ${decoder_corpus}/seed_${seed_name})
  endif()
endforeach()
