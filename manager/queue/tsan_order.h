// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Qt orders some hand-overs between threads (a posted event, a finished
// thread's deletion) with locks inside Qt, which is not built for
// ThreadSanitizer. These state that order to it; elsewhere they do nothing.
#pragma once

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

// What this thread did so far happens before anything after orderedAfter(key).
inline void orderedBefore(const void *key)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void *>(key));
#else
    (void)key;
#endif
}

inline void orderedAfter(const void *key)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void *>(key));
#else
    (void)key;
#endif
}
