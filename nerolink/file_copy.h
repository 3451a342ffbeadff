// Writes that never leave a half file under the real name: the bytes go to a
// temporary file in the destination's folder, which is renamed into place.
#pragma once

#include <string>

namespace nerolink {

// Temporary files carry this prefix; listings skip them.
inline constexpr const char kTemporaryPrefix[] = ".nerolink-part-";

bool isTemporaryName(const std::string &name);

bool writeFileAtomically(const std::string &path, const std::string &bytes);

// Copies a regular file. Waits delayMs after the copy and before the rename, so
// an operation can be slowed or interrupted at its most sensitive point.
// Without replace an existing destination is kept and the copy fails.
bool copyFileAtomically(const std::string &source, const std::string &destination,
                        bool replace, int delayMs);

void sleepMilliseconds(int ms);

} // namespace nerolink
