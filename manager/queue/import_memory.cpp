// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/import_memory.h"

#include "platform/exclusive_open.h"
#include "platform/paths.h"
#include "platform/pending_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char *kFirstLine = "tovixman imports 1";
constexpr const char *kTemporaryPrefix = ".imports-";
constexpr std::size_t kMostBytes = 32u << 20;
// About ten years of ten recordings a day; the oldest go first.
constexpr std::size_t kMostEntries = 40000;

// Names are bytes from the device: tabs, line ends and '%' are escaped.
std::string escaped(const std::string &text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) {
        if (c < 0x20 || c == '%' || c == 0x7F)
            out += {'%', hex[c >> 4], hex[c & 15]};
        else
            out += char(c);
    }
    return out;
}

std::string unescaped(const std::string &text)
{
    const auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 && digit(text[i + 2]) >= 0) {
            out += char(digit(text[i + 1]) * 16 + digit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool parseLine(const std::string &line, ImportedRecording &entry)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    if (fields.size() != 6 || fields[3].size() != 64)
        return false;
    char *end = nullptr;
    entry.memory = int32_t(std::strtol(fields[0].c_str(), &end, 10));
    entry.size = std::strtoull(fields[1].c_str(), &end, 10);
    entry.left = fields[2] == "1";
    entry.digest = fields[3];
    entry.playerName = unescaped(fields[4]);
    entry.wave = unescaped(fields[5]);
    return true;
}

std::string lineOf(const ImportedRecording &e)
{
    return std::to_string(e.memory) + '\t' + std::to_string(e.size) + '\t' + (e.left ? "1" : "0")
        + '\t' + e.digest + '\t' + escaped(e.playerName) + '\t' + escaped(e.wave) + '\n';
}

// Makes the folders on the way that are missing, for this user alone.
bool makeFolders(const std::string &folder)
{
    struct stat st {};
    if (folder.empty() || ::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string parent = extractFileDir(folder);
    if (parent != folder && !makeFolders(parent))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string homeFolder()
{
    const char *home = std::getenv("HOME");
    if (home && home[0] == '/')
        return home;
    const passwd *account = ::getpwuid(::getuid());
    return account && account->pw_dir && account->pw_dir[0] == '/' ? account->pw_dir : "";
}

} // namespace

ImportMemory::ImportMemory(std::string file) : m_file(std::move(file))
{
    m_thread = std::thread([this] { run(); });
}

ImportMemory::~ImportMemory()
{
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

std::string ImportMemory::defaultFile()
{
    const char *state = std::getenv("XDG_STATE_HOME");
    std::string folder = state && state[0] == '/' ? state : "";
    if (folder.empty()) {
        const std::string home = homeFolder();
        if (home.empty())
            return {};
        folder = joinPath(home, ".local/state");
    }
    return joinPath(joinPath(folder, "tovixman"), "imports");
}

void ImportMemory::waitLoaded(std::unique_lock<std::mutex> &hold)
{
    m_wake.wait(hold, [this] { return m_loaded; });
}

bool ImportMemory::holds(int32_t memory, const std::string &playerName, std::uint64_t size)
{
    std::unique_lock<std::mutex> hold(m_lock);
    waitLoaded(hold);
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const ImportedRecording &e) {
        return !e.left && e.memory == memory && e.size == size && e.playerName == playerName;
    });
}

bool ImportMemory::knows(int32_t memory, const std::string &playerName, const std::string &digest)
{
    std::unique_lock<std::mutex> hold(m_lock);
    waitLoaded(hold);
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const ImportedRecording &e) {
        return e.memory == memory && e.digest == digest && e.playerName == playerName;
    });
}

void ImportMemory::sawMemory(int32_t memory,
                             const std::vector<std::pair<std::string, std::uint64_t>> &files)
{
    std::unique_lock<std::mutex> hold(m_lock);
    waitLoaded(hold);
    bool any = false;
    for (ImportedRecording &e : m_entries) {
        if (e.left || e.memory != memory)
            continue;
        const auto listed = std::find(files.begin(), files.end(), std::make_pair(e.playerName, e.size));
        if (listed == files.end()) {
            e.left = true;
            any = true;
        }
    }
    if (any)
        changed();
}

void ImportMemory::remember(ImportedRecording recording)
{
    std::unique_lock<std::mutex> hold(m_lock);
    waitLoaded(hold);
    recording.left = false;
    const auto same = std::find_if(m_entries.begin(), m_entries.end(), [&](const ImportedRecording &e) {
        return e.memory == recording.memory && e.size == recording.size
            && e.digest == recording.digest && e.playerName == recording.playerName;
    });
    if (same != m_entries.end()) {
        if (recording.wave.empty())
            recording.wave = same->wave;
        m_entries.erase(same);
    }
    m_entries.push_back(std::move(recording));
    if (m_entries.size() > kMostEntries)
        m_entries.erase(m_entries.begin(), m_entries.end() - kMostEntries);
    changed();
}

void ImportMemory::changed()
{
    ++m_changes;
    m_wake.notify_all();
}

void ImportMemory::run()
{
    load();
    std::unique_lock<std::mutex> hold(m_lock);
    for (;;) {
        m_wake.wait(hold, [this] { return m_changes > m_saved || m_stopping; });
        if (m_changes == m_saved)
            return; // stopping, with everything saved
        const std::uint64_t taken = m_changes;
        const std::vector<ImportedRecording> entries = m_entries;
        const bool writable = m_writable;
        hold.unlock();
        // A failed save is tried again with the next change.
        if (writable && !m_file.empty())
            save(entries);
        hold.lock();
        m_saved = taken;
    }
}

void ImportMemory::load()
{
    std::vector<ImportedRecording> entries;
    bool writable = true;
    // Non-blocking, so a named pipe of that name cannot stall every question
    // to the memory; anything but a plain file is then kept as it is.
    UniqueFd file(m_file.empty() ? -1
                                 : ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (file && (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))) {
        writable = false;
    } else if (file) {
        std::string text;
        char buffer[64 * 1024];
        ssize_t got = 0;
        while (text.size() < kMostBytes && (got = ::read(file.get(), buffer, sizeof buffer)) > 0)
            text.append(buffer, std::size_t(got));
        std::istringstream in(text);
        std::string line;
        // A file of another form, or one that could not be read, is kept as it is.
        writable = got == 0 && (text.empty() || (std::getline(in, line) && line == kFirstLine));
        for (ImportedRecording entry; writable && std::getline(in, line);)
            if (parseLine(line, entry))
                entries.push_back(entry);
    } else if (!m_file.empty() && errno != ENOENT) {
        writable = false;
    }
    const std::lock_guard<std::mutex> hold(m_lock);
    m_entries.insert(m_entries.begin(), entries.begin(), entries.end());
    m_writable = writable;
    m_loaded = true;
    m_wake.notify_all();
}

bool ImportMemory::save(const std::vector<ImportedRecording> &entries) const
{
    const std::string folder = extractFileDir(m_file);
    if (!makeFolders(folder))
        return false;
    sweepAbandoned(folder, kTemporaryPrefix); // what a killed save left
    std::string text = std::string(kFirstLine) + '\n';
    for (const ImportedRecording &e : entries)
        text += lineOf(e);
    PendingFile file(folder, kTemporaryPrefix);
    std::size_t done = 0;
    while (file.isValid() && done < text.size()) {
        const ssize_t wrote = ::write(file.fd(), text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += std::size_t(wrote);
    }
    if (!file.isValid() || !file.publish(m_file, true) || !file.close())
        return false;
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir && ::fsync(dir.get()) == 0;
}
