// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "demo_files.h"

#include "memory_store.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifndef TOVIX_SOURCE_SAMPLES
#define TOVIX_SOURCE_SAMPLES ""
#endif
#ifndef TOVIX_INSTALLED_SAMPLES
#define TOVIX_INSTALLED_SAMPLES "share/tovixman/samples"
#endif

namespace nerolink {

namespace {

struct DemoFile {
    int32_t target;
    std::string name;
    std::string sample; // a sample recording to copy, or empty for made-up content
    std::size_t size;   // bytes of made-up content
};

const std::vector<DemoFile> &demoFiles()
{
    static const std::vector<DemoFile> files = {
        {mtInternal, "voice_mode0.VOC", "voice_mode0.VOC", 0},
        {mtInternal, "voice_mode1.VOC", "voice_mode1.VOC", 0},
        {mtInternal, "REC00001.VOC", "voice_mode0.VOC", 0},
        {mtInternal, "Meeting notes.txt", "", 2400},
        {mtInternal, "Grüße aus Köln.txt", "", 900},
        {mtInternal, "PLAYLIST.M3U", "", 320},
        {mtInternal, "Morning run – intervals.dat", "", 180000},
        {mtCard, "voice_mode2.VOC", "voice_mode2.VOC", 0},
        {mtCard, "Café playlist.m3u", "", 410},
        {mtCard, "Unterwegs nach Zürich.txt", "", 1500},
        {mtCard, "Podcast episode 12.dat", "", 1048576},
        {mtCard, "NOTES.TXT", "", 640},
    };
    return files;
}

std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    std::string exe(path, static_cast<std::size_t>(length));
    return exe.substr(0, exe.rfind('/'));
}

// The installed samples first, then the source tree's test data.
std::string findSample(const std::string &name)
{
    for (const std::string &folder : {programFolder() + "/../" + TOVIX_INSTALLED_SAMPLES,
                                      std::string(TOVIX_SOURCE_SAMPLES)}) {
        struct stat st;
        const std::string path = folder + "/" + name;
        if (!folder.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return path;
    }
    return {};
}

std::string madeUpContent(const std::string &name, std::size_t size)
{
    std::string text;
    const std::string line = "Demo file \"" + name + "\" of the stand-in player.\n";
    while (text.size() < size)
        text += line;
    text.resize(size);
    return text;
}

bool writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool copyFile(const std::string &from, const std::string &to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    return in && out;
}

// A staging copy under the demo file's own name, since a download keeps the PC name.
std::string stage(const std::string &folder, const DemoFile &file, std::ostream &out)
{
    const std::string path = folder + "/" + file.name;
    if (file.sample.empty())
        return writeFile(path, madeUpContent(file.name, file.size)) ? path : "";
    const std::string sample = findSample(file.sample);
    if (sample.empty()) {
        out << "  skipped " << file.name << ": sample recording " << file.sample << " not found\n";
        return {};
    }
    return copyFile(sample, path) ? path : "";
}

} // namespace

bool addDemoFiles(const PlayerConfig &config, std::ostream &out)
{
    const char *tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/tovix-player-XXXXXX";
    const auto player = attachPlayer(config);
    if (!player || !::mkdtemp(folder.data()))
        return false;
    bool ok = true;
    for (const DemoFile &file : demoFiles()) {
        const std::string path = stage(folder, file, out);
        if (path.empty())
            continue;
        MemoryStore store(*player, *config.memory(file.target));
        const bool added = store.open() && store.download(path);
        out << "  " << (added ? "added " : "could not add ") << file.name
            << (file.target == mtCard ? " (memory card)\n" : " (internal memory)\n");
        ok = ok && added;
        ::unlink(path.c_str());
    }
    ::rmdir(folder.c_str());
    return ok;
}

} // namespace nerolink
