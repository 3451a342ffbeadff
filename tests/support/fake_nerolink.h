// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A scripted device library for window tests. It defines the seven device
// functions; tests set their results, records, delays and a gate that holds an
// operation inside the library until the test lets it return. Every call is
// recorded with the thread that made it. All of it is safe to use from any thread.
#pragma once

#include "device/nerolink.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace fake {

struct Call {
    std::string function; // the exported name, such as "dll_fn_upload_file"
    std::string arg1;     // pcPath of a download, shortName of an upload or delete
    std::string arg2;     // pcPath of an upload
    int32_t target = 0;
    std::thread::id thread;
};

// No player attached, default results, no calls recorded, no delay, gate open.
void reset();

void setVersion(int32_t result, const std::string &versionText = "TOVIX 1.0"); // result 0 = no player
void setStatus(uint32_t status);
void setMemory(int32_t target, const TMemoryInfo &info); // what refresh copies out for that target
TMemoryInfo &memory(int32_t target);                     // the stored record, editable in place until reset()
void setRefreshResult(int32_t target, int32_t result);   // default 1
void setOperationResult(int32_t result);                 // download/upload/delete/format, default 1
void setOperationDelayMs(int ms);                        // sleep inside each of the four operations
void setUploadContent(std::optional<std::string> bytes); // when set, upload writes these bytes to pcPath
// A slow player: the upload's bytes arrive at pcPath at this rate (0, the
// default, writes them at once); reset() lets a copy under way finish at once.
void setUploadRate(int64_t bytesPerSecond);
int64_t uploadedBytes(); // what the current or last upload has written so far

// Runs inside each of the four operations after the delay and the gate, before
// it returns; for tests that want an operation to change the records.
void setOperationHook(std::function<void(const Call &)> hook);

void holdOperations(bool hold);          // gate: operations block inside the library until released
bool waitForHeldOperation(int timeoutMs); // true once an operation is blocked at the gate
void releaseHeldOperation();             // let the blocked operation return

std::vector<Call> calls(); // every call in order, with its thread
void clearCalls();
int maxConcurrentCalls();  // the most calls ever inside the library at once

TFileEntry makeEntry(const std::string &longName, const std::string &shortName, uint32_t size,
                     bool hasLongName);
void addFile(TMemoryInfo &info, const TFileEntry &entry); // appends and bumps FileCount
TMemoryInfo makeMemory(uint32_t total, uint32_t free);    // empty record with those byte counts

} // namespace fake
