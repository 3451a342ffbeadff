// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fake_nerolink.h"

#include "device/records.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>

namespace fake {

namespace {

struct State {
    std::mutex mutex;
    std::condition_variable changed;

    int32_t versionResult = 0;
    std::string versionText = "TOVIX 1.0";
    uint32_t status = 0;
    std::map<int32_t, std::unique_ptr<TMemoryInfo>> memories;
    std::map<int32_t, int32_t> refreshResults;
    int32_t operationResult = 1;
    int operationDelayMs = 0;
    std::optional<std::string> uploadContent;
    int64_t uploadRate = 0;
    int64_t uploaded = 0;
    std::function<void(const Call &)> hook;

    bool hold = false;
    int heldNow = 0;  // operations waiting at the gate
    int releases = 0; // releases not yet taken by a waiting operation

    std::vector<Call> calls;
    int inside = 0;
    int maxInside = 0;
};

State &state()
{
    static State s;
    return s;
}

TMemoryInfo &storedMemory(State &s, int32_t target)
{
    auto &slot = s.memories[target];
    if (!slot)
        slot = std::make_unique<TMemoryInfo>(makeMemory(0, 0));
    return *slot;
}

// Counts one call as inside the library from construction to destruction.
class Inside {
public:
    explicit Inside(Call call) : call_(std::move(call))
    {
        State &s = state();
        std::lock_guard lock(s.mutex);
        call_.thread = std::this_thread::get_id();
        s.calls.push_back(call_);
        ++s.inside;
        s.maxInside = std::max(s.maxInside, s.inside);
    }
    ~Inside()
    {
        State &s = state();
        std::lock_guard lock(s.mutex);
        --s.inside;
    }
    Inside(const Inside &) = delete;
    Inside &operator=(const Inside &) = delete;

    const Call &call() const { return call_; }

private:
    Call call_;
};

// The common course of the four operations: delay, gate, hook, result.
int32_t runOperation(const Call &call)
{
    State &s = state();
    int delay;
    {
        std::lock_guard lock(s.mutex);
        delay = s.operationDelayMs;
    }
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));

    std::unique_lock lock(s.mutex);
    if (s.hold) {
        ++s.heldNow;
        s.changed.notify_all();
        s.changed.wait(lock, [&] { return !s.hold || s.releases > 0; });
        if (s.releases > 0)
            --s.releases;
        --s.heldNow;
    }
    if (call.function == "dll_fn_upload_file" && s.uploadContent) {
        const std::string bytes = *s.uploadContent;
        s.uploaded = 0;
        std::ofstream out(call.arg2, std::ios::binary | std::ios::trunc);
        const auto start = std::chrono::steady_clock::now();
        while (s.uploaded < int64_t(bytes.size())) {
            // In pieces of a fiftieth of a second, each once its time has come.
            const int64_t rate = s.uploadRate;
            const int64_t piece = rate > 0 ? std::max<int64_t>(rate / 50, 1) : int64_t(bytes.size());
            const int64_t n = std::min<int64_t>(piece, int64_t(bytes.size()) - s.uploaded);
            if (rate > 0) {
                const auto due = start + std::chrono::microseconds((s.uploaded + n) * 1000000 / rate);
                s.changed.wait_until(lock, due, [&] { return s.uploadRate != rate; });
                if (s.uploadRate != rate)
                    continue;
            }
            out.write(bytes.data() + s.uploaded, static_cast<std::streamsize>(n));
            out.flush();
            s.uploaded += n;
        }
    }
    const auto hook = s.hook;
    const int32_t result = s.operationResult;
    lock.unlock();
    if (hook)
        hook(call);
    return result;
}

std::string text(const char *value)
{
    return value ? value : "";
}

} // namespace

void reset()
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.versionResult = 0;
    s.versionText = "TOVIX 1.0";
    s.status = 0;
    s.memories.clear();
    s.refreshResults.clear();
    s.operationResult = 1;
    s.operationDelayMs = 0;
    s.uploadContent.reset();
    s.uploadRate = 0;
    s.uploaded = 0;
    s.hook = nullptr;
    s.hold = false;
    s.releases = 0;
    s.calls.clear();
    s.maxInside = s.inside;
    s.changed.notify_all();
}

void setUploadRate(int64_t bytesPerSecond)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.uploadRate = std::max<int64_t>(bytesPerSecond, 0);
    s.changed.notify_all();
}

int64_t uploadedBytes()
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    return s.uploaded;
}

void setVersion(int32_t result, const std::string &versionText)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.versionResult = result;
    s.versionText = versionText;
}

void setStatus(uint32_t status)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.status = status;
}

void setMemory(int32_t target, const TMemoryInfo &info)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    storedMemory(s, target) = info;
}

TMemoryInfo &memory(int32_t target)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    return storedMemory(s, target);
}

void setRefreshResult(int32_t target, int32_t result)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.refreshResults[target] = result;
}

void setOperationResult(int32_t result)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.operationResult = result;
}

void setOperationDelayMs(int ms)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.operationDelayMs = ms;
}

void setUploadContent(std::optional<std::string> bytes)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.uploadContent = std::move(bytes);
}

void setOperationHook(std::function<void(const Call &)> hook)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.hook = std::move(hook);
}

void holdOperations(bool hold)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.hold = hold;
    if (!hold)
        s.releases = 0;
    s.changed.notify_all();
}

bool waitForHeldOperation(int timeoutMs)
{
    State &s = state();
    std::unique_lock lock(s.mutex);
    return s.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return s.heldNow > s.releases; });
}

void releaseHeldOperation()
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    ++s.releases;
    s.changed.notify_all();
}

std::vector<Call> calls()
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    return s.calls;
}

void clearCalls()
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    s.calls.clear();
}

int maxConcurrentCalls()
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    return s.maxInside;
}

TFileEntry makeEntry(const std::string &longName, const std::string &shortName, uint32_t size,
                     bool hasLongName)
{
    TFileEntry entry;
    std::memset(&entry, 0, sizeof entry);
    setFieldText(entry.LongName, longName);
    setFieldText(entry.ShortName, shortName);
    entry.Size = size;
    entry.HasLongName = hasLongName ? 1 : 0;
    return entry;
}

void addFile(TMemoryInfo &info, const TFileEntry &entry)
{
    if (info.FileCount < static_cast<uint32_t>(kMaxPlayerFiles))
        info.Files[info.FileCount++] = entry;
}

TMemoryInfo makeMemory(uint32_t total, uint32_t free)
{
    TMemoryInfo info;
    std::memset(&info, 0, sizeof info);
    info.TotalBytes = total;
    info.FreeBytes = free;
    return info;
}

} // namespace fake


extern "C" {

int32_t dll_fn_get_player_version(TPlayerVersion *version)
{
    fake::Inside inside({"dll_fn_get_player_version", {}, {}, 0, {}});
    fake::State &s = fake::state();
    std::lock_guard lock(s.mutex);
    if (s.versionResult != 0 && version) {
        std::memset(version, 0, sizeof *version);
        // Raw bytes, so tests can place blanks, control characters or a NUL.
        std::memcpy(version->VersionText, s.versionText.data(),
                    std::min(s.versionText.size(), sizeof version->VersionText));
    }
    return s.versionResult;
}

int32_t dll_fn_get_player_status(void)
{
    fake::Inside inside({"dll_fn_get_player_status", {}, {}, 0, {}});
    fake::State &s = fake::state();
    std::lock_guard lock(s.mutex);
    return static_cast<int32_t>(s.status);
}

int32_t dll_fn_refresh_device(TMemoryInfo *info, int32_t target)
{
    fake::Inside inside({"dll_fn_refresh_device", {}, {}, target, {}});
    fake::State &s = fake::state();
    std::lock_guard lock(s.mutex);
    const auto result = s.refreshResults.find(target);
    const int32_t value = result == s.refreshResults.end() ? 1 : result->second;
    if (value != 0 && info)
        *info = fake::storedMemory(s, target);
    return value;
}

int32_t dll_fn_download_file(const char *pcPath, int32_t target)
{
    fake::Inside inside({"dll_fn_download_file", fake::text(pcPath), {}, target, {}});
    return fake::runOperation(inside.call());
}

int32_t dll_fn_upload_file(const char *shortName, const char *pcPath, int32_t target)
{
    fake::Inside inside({"dll_fn_upload_file", fake::text(shortName), fake::text(pcPath), target, {}});
    return fake::runOperation(inside.call());
}

int32_t dll_fn_delete_file(const char *shortName, int32_t target)
{
    fake::Inside inside({"dll_fn_delete_file", fake::text(shortName), {}, target, {}});
    return fake::runOperation(inside.call());
}

int32_t dll_fn_format_device(int32_t target)
{
    fake::Inside inside({"dll_fn_format_device", {}, {}, target, {}});
    return fake::runOperation(inside.call());
}

} // extern "C"
