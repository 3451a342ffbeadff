// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Times voc2wav against `mpg123 -w` writing the same recording as a wave
// file, the two taking turns, and reports the median-time ratio and the peak
// resident memory of each.
//
//   voc2wav_bench [--minutes N] [--rounds R] [--dir DIR]
//
// The mode-0 recording (8 kbit/s, 8000 Hz) is made once with sox and lame
// and kept in DIR for later runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Run {
    double seconds = 0;
    long peakKiB = 0;
};

// Runs argv to its end with no output; nothing when it fails.
bool runMeasured(const std::vector<std::string> &argv, Run &run)
{
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid)
        return false;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool isMode0Recording(const fs::path &path, std::uintmax_t &frames)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char header[4] = {};
    in.read(reinterpret_cast<char *>(header), 4);
    const std::uintmax_t size = fs::exists(path) ? fs::file_size(path) : 0;
    frames = size / 72;
    return in && header[0] == 0xFF && header[1] == 0xE3 && header[2] == 0x18 && header[3] == 0xC4;
}

bool makeRecording(const fs::path &path, int minutes)
{
    std::printf("making a %d-minute mode-0 recording (once)...\n", minutes);
    std::fflush(stdout);
    const std::string seconds = std::to_string(minutes * 60);
    const std::string command = "sox -n -r 8000 -c 1 -b 16 -t wav - synth " + seconds
        + " pinknoise synth " + seconds + " sine amod 3 vol 0.5 2>/dev/null"
        + " | lame --quiet -t -m m -b 8 --cbr --resample 8 - '" + path.string() + "'";
    return std::system(command.c_str()) == 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    int minutes = 60, rounds = 7;
    fs::path dir = BENCH_WORK_DIR;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--minutes") minutes = std::max(1, std::atoi(argv[i + 1]));
        else if (flag == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (flag == "--dir") dir = argv[i + 1];
    }
    fs::create_directories(dir);
    const fs::path voice = dir / ("mode0_" + std::to_string(minutes) + "min.VOC");
    std::uintmax_t frames = 0;
    if (!isMode0Recording(voice, frames) && !(makeRecording(voice, minutes) && isMode0Recording(voice, frames))) {
        std::fprintf(stderr, "could not make the recording (sox and lame are needed)\n");
        return 1;
    }

    const std::vector<std::string> ours = {VOC2WAV_PATH, "--overwrite", "--keep-voice", voice.string()};
    const std::vector<std::string> reference = {"mpg123", "-q", "-w", (dir / "mpg123.wav").string(), voice.string()};
    std::vector<double> oursTimes, refTimes;
    long oursPeak = 0, refPeak = 0;
    for (int r = 0; r < rounds; ++r) {
        Run a, b;
        // Alternate who goes first so neither always meets a warm or busy disk.
        const bool oursFirst = r % 2 == 0;
        const bool ok = oursFirst ? runMeasured(ours, a) && runMeasured(reference, b)
                                  : runMeasured(reference, b) && runMeasured(ours, a);
        if (!ok) {
            std::fprintf(stderr, "a run failed in round %d\n", r + 1);
            return 1;
        }
        oursTimes.push_back(a.seconds);
        refTimes.push_back(b.seconds);
        oursPeak = std::max(oursPeak, a.peakKiB);
        refPeak = std::max(refPeak, b.peakKiB);
        std::printf("round %d: voc2wav %.3f s, mpg123 -w %.3f s\n", r + 1, a.seconds, b.seconds);
    }

    const auto waveSize = fs::file_size(fs::path(voice).replace_extension(".wav"));
    std::printf("recording: %s, %ju frames (%.1f min), wave %ju bytes (mpg123 -w: %ju)\n",
                voice.string().c_str(), frames, frames * 0.072 / 60, waveSize,
                fs::file_size(dir / "mpg123.wav"));
    const double oursMedian = median(oursTimes), refMedian = median(refTimes);
    std::printf("median: voc2wav %.3f s, mpg123 -w %.3f s, ratio %.2fx\n", oursMedian, refMedian,
                oursMedian / refMedian);
    std::printf("peak resident memory: voc2wav %.1f MiB, mpg123 -w %.1f MiB\n", oursPeak / 1024.0,
                refPeak / 1024.0);
    return 0;
}
