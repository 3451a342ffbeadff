// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/folder_probe.h"

#include <QFile>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <sys/stat.h>

namespace {

struct Answer {
    std::mutex lock;
    std::condition_variable ready;
    std::optional<bool> value;
};

bool isFolder(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::mutex checkLock;
std::function<bool(const QString &)> check = isFolder;

} // namespace

std::optional<bool> probeFolder(const QString &path, int timeoutMs)
{
    std::function<bool(const QString &)> asked;
    {
        const std::lock_guard lock(checkLock);
        asked = check;
    }
    auto answer = std::make_shared<Answer>();
    // Detached: a call that never returns must not hold anyone, not even at exit.
    std::thread([answer, asked, path] {
        const bool folder = asked(path);
        const std::lock_guard lock(answer->lock);
        answer->value = folder;
        answer->ready.notify_all();
    }).detach();
    std::unique_lock lock(answer->lock);
    answer->ready.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return answer->value.has_value(); });
    return answer->value;
}

void setFolderCheck(std::function<bool(const QString &path)> replacement)
{
    const std::lock_guard lock(checkLock);
    check = replacement ? std::move(replacement) : isFolder;
}
