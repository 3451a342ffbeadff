# SPDX-FileCopyrightText: 2026 The TovixMan developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The device record readers (display name, version text, field text) over arbitrary bytes.
add_executable(records_fuzz ${CMAKE_CURRENT_LIST_DIR}/records_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/manager/device/records.cpp)
target_include_directories(records_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/manager)
target_compile_options(records_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(records_fuzz PRIVATE -fsanitize=fuzzer)
