# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The message a later start hands to the running instance, over arbitrary bytes from
# the socket. Its source is compiled in so that the fuzzer's coverage reaches it.
add_executable(hand_over_fuzz ${CMAKE_CURRENT_LIST_DIR}/hand_over_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/manager/platform/hand_over_message.cpp)
target_include_directories(hand_over_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/manager)
target_link_libraries(hand_over_fuzz PRIVATE Qt6::Core)
target_compile_options(hand_over_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(hand_over_fuzz PRIVATE -fsanitize=fuzzer)

# Seeds: a whole message of two paths, and one whose path is relative.
set(hand_over_corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/hand_over_fuzz)
file(MAKE_DIRECTORY ${hand_over_corpus})
if(NOT EXISTS ${hand_over_corpus}/seed_two)
  execute_process(COMMAND printf "TVXH\\000\\000\\000\\030/x/one.VOC\\000/x/two b.VOC\\000"
    OUTPUT_FILE ${hand_over_corpus}/seed_two)
  execute_process(COMMAND printf "TVXH\\000\\000\\000\\006a.VOC\\000"
    OUTPUT_FILE ${hand_over_corpus}/seed_relative)
endif()
