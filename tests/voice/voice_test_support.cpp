// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "voice_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

ScratchDir::ScratchDir()
{
    std::string pattern = (fs::temp_directory_path() / "voice_test_XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

void writeBytes(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.good())
        throw std::runtime_error("cannot write " + path);
}

Bytes readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool pathExists(const std::string &path)
{
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

std::vector<std::string> folderEntries(const std::string &dir)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Bytes sampleRecording(int mode)
{
    const Bytes bytes = readBytes(std::string(TOVIX_TEST_DATA) + "/voice_mode"
                                  + std::to_string(mode) + ".VOC");
    if (bytes.empty())
        throw std::runtime_error("sample recording of mode " + std::to_string(mode) + " missing");
    return bytes;
}

std::size_t frameLengthOf(int mode)
{
    return mode == 2 ? 144 : 72;
}

Bytes sampleFrames(int mode, std::size_t frames)
{
    const Bytes all = sampleRecording(mode);
    const std::size_t length = frames * frameLengthOf(mode);
    if (all.size() < length)
        throw std::runtime_error("sample recording too short");
    return all.substr(0, length);
}

std::uint32_t le32At(const Bytes &bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(offset + i));
    return value;
}

std::uint16_t le16At(const Bytes &bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(offset))
                                      | static_cast<unsigned char>(bytes.at(offset + 1)) << 8);
}

bool ScriptedVoiceUi::askOverwrite(const std::string &wavePath)
{
    questions.push_back(wavePath);
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedVoiceUi::showMessage(const std::string &text)
{
    messages.push_back(text);
}

ProgramResult runProgram(const std::vector<std::string> &argv, const std::string &workDir)
{
    // Output goes to files, so neither stream can fill a pipe and stall the child.
    ScratchDir scratch;
    const std::string outPath = scratch.file("out"), errPath = scratch.file("err");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || (!workDir.empty() && ::chdir(workDir.c_str()) != 0))
            ::_exit(127);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char *> args;
        for (const std::string &arg : argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ProgramResult result;
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return result;
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = readBytes(outPath);
    result.err = readBytes(errPath);
    return result;
}
