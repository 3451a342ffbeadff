# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# voc2wav against `mpg123 -w` on one long mode-0 recording.
if(TARGET voc2wav)
  add_executable(voc2wav_bench ${CMAKE_CURRENT_LIST_DIR}/voc2wav_bench.cpp)
  target_compile_definitions(voc2wav_bench PRIVATE
    VOC2WAV_PATH="$<TARGET_FILE:voc2wav>"
    BENCH_WORK_DIR="${CMAKE_CURRENT_BINARY_DIR}/voc2wav_bench")
  add_dependencies(voc2wav_bench voc2wav)
endif()
