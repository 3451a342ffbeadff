// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The crash test: kill -9 at random moments of conversions, uploads and downloads on
// the stand-in player, each run in a child process, then check what is on disk.
//   crash_test [--runs N] [--seed S]
// Exit status 0 when nothing was lost, half written under a real name, or left behind.
#include "crash_runs.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Runs the child for one run, killing it after delay unless it ends first.
// True when it was still running at the kill.
bool runAndKill(const CrashBench &bench, RunKind kind, std::size_t run, Clock::duration delay)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0)
        bench.child(kind, run);
    std::this_thread::sleep_for(delay);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status);
}

// How long each kind of run takes when nothing kills it.
Clock::duration timeOf(const CrashBench &bench, RunKind kind, std::size_t run)
{
    CrashFigures ignored;
    bench.prepare(kind, run);
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0)
        bench.child(kind, run);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const auto took = Clock::now() - start;
    bench.check(kind, run, ignored);
    return took;
}

std::string recording()
{
    std::ifstream in(std::string(TOVIX_TEST_DATA) + "/voice_mode0.VOC", std::ios::binary);
    const std::string sample(std::istreambuf_iterator<char>(in), {});
    if (sample.empty())
        throw std::runtime_error("the sample recording is missing");
    std::string bytes;
    for (int i = 0; i < 20; ++i)
        bytes += sample;
    return bytes;
}

bool parse(int argc, char **argv, std::size_t &runs, unsigned &seed)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const unsigned long value = std::strtoul(argv[i + 1], nullptr, 10);
        if (option == "--runs" && value > 0)
            runs = value;
        else if (option == "--seed")
            seed = static_cast<unsigned>(value);
        else
            return false;
    }
    return argc % 2 == 1;
}

} // namespace

int main(int argc, char **argv)
{
    std::size_t runs = 200;
    unsigned seed = static_cast<unsigned>(std::random_device{}());
    if (!parse(argc, argv, runs, seed)) {
        std::fprintf(stderr, "usage: crash_test [--runs N] [--seed S]\n");
        return 2;
    }
    std::string root = (fs::temp_directory_path() / "crash_test_XXXXXX").string();
    if (!::mkdtemp(root.data()))
        return 2;

    CrashFigures figures;
    std::size_t left = 0;
    std::size_t perKind[runKinds] = {};
    Clock::duration took[runKinds];
    {
        const CrashBench bench(root, recording());
        for (int k = 0; k < runKinds; ++k)
            took[k] = timeOf(bench, static_cast<RunKind>(k), 990 + k);
        std::mt19937 random(seed);
        for (std::size_t run = 0; run < runs; ++run) {
            const auto kind = static_cast<RunKind>(run % runKinds);
            // From before the child starts its work to a little after it would end.
            const auto longest = took[run % runKinds] * 6 / 5;
            std::uniform_int_distribution<long long> at(0, longest.count());
            bench.prepare(kind, run);
            figures.killedMidway += runAndKill(bench, kind, run, Clock::duration(at(random)));
            bench.check(kind, run, figures);
            ++perKind[run % runKinds];
            ++figures.runs;
        }
        left = bench.temporariesLeft();
    }
    fs::remove_all(root);

    std::printf("crash test, seed %u: %zu runs killed at random moments (", seed, figures.runs);
    for (int k = 0; k < runKinds; ++k)
        std::printf("%s%zu %s", k ? ", " : "", perKind[k], runKindName(static_cast<RunKind>(k)));
    std::printf("), %zu of them mid-way\n", figures.killedMidway);
    for (int k = 0; k < runKinds; ++k)
        std::printf("%s%s %.1f ms", k ? ", " : "one run unkilled: ", runKindName(static_cast<RunKind>(k)),
                    std::chrono::duration<double, std::milli>(took[k]).count());
    std::printf("\n");
    std::printf("recordings lost: %zu\n", figures.recordingsLost);
    std::printf("half files under real names: %zu\n", figures.halfFiles);
    std::printf("player temporaries seen in the PC folder after a kill: %zu\n", figures.pcTemporaries);
    std::printf("temporaries left after the next call and conversion: %zu\n", left);
    std::printf("(conversion leftovers seen right after a kill, swept by the next one: %zu)\n",
                figures.waveLeftoversSeen);
    const bool clean = figures.recordingsLost == 0 && figures.halfFiles == 0
        && figures.pcTemporaries == 0 && left == 0;
    std::printf("%s\n", clean ? "nothing lost" : "FAILED");
    return clean ? 0 : 1;
}
