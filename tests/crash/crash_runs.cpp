// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "crash_runs.h"

#include "device/nerolink.h"
#include "file_copy.h"
#include "player_config.h"
#include "voice/voice_conversion.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string oldBytes = "an older file of that name";

class AnswerYes : public VoiceConversionUi {
public:
    bool askOverwrite(const std::string &) override { return true; }
    void showMessage(const std::string &) override {}
};

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.good())
        throw std::runtime_error("cannot write " + path);
}

bool exists(const std::string &path)
{
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

bool startsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

std::size_t temporariesIn(const std::string &folder, const char *prefix)
{
    std::size_t count = 0;
    for (const auto &entry : fs::directory_iterator(folder))
        count += startsWith(entry.path().filename().string(), prefix);
    return count;
}

} // namespace

const char *runKindName(RunKind kind)
{
    switch (kind) {
    case RunKind::Conversion: return "conversions";
    case RunKind::Upload: return "uploads";
    case RunKind::UploadAndConversion: return "voice uploads with conversion";
    case RunKind::Download: return "downloads";
    }
    return "";
}

CrashBench::CrashBench(const std::string &root, std::string recording)
    : m_player(root + "/player"), m_pc(root + "/pc"), m_recording(std::move(recording))
{
    fs::create_directories(m_player + "/internal");
    fs::create_directories(m_player + "/card");
    fs::create_directories(m_pc);
    ::setenv("NEROLINK_PLAYER", m_player.c_str(), 1);
    if (!nerolink::savePlayer(nerolink::defaultPlayer(m_player)))
        throw std::runtime_error("cannot make the player");
    writeAll(m_pc + "/REC.VOC", m_recording);
    if (dll_fn_download_file((m_pc + "/REC.VOC").c_str(), mtInternal) != 1)
        throw std::runtime_error("cannot put the recording on the player");

    // The wave file a whole conversion gives, to compare every outcome with.
    AnswerYes ui;
    if (convertVoiceFile(m_pc + "/REC.VOC", ui) != ConvertOutcome::Converted)
        throw std::runtime_error("the recording does not convert");
    m_wave = readAll(m_pc + "/REC.wav");
    fs::remove(m_pc + "/REC.wav");
}

std::string CrashBench::pcFile(const char *prefix, std::size_t run, const char *ext) const
{
    return m_pc + "/" + prefix + std::to_string(1000 + run).substr(1) + ext;
}

void CrashBench::prepare(RunKind kind, std::size_t run) const
{
    switch (kind) {
    case RunKind::Conversion:
        writeAll(pcFile("CV", run, ".VOC"), m_recording);
        if (run % 2)
            writeAll(pcFile("CV", run, ".wav"), oldBytes);
        break;
    case RunKind::Upload:
        if (run % 2)
            writeAll(pcFile("UP", run, ".VOC"), oldBytes);
        break;
    case RunKind::UploadAndConversion:
        break;
    case RunKind::Download:
        writeAll(pcFile("DL", run, ".VOC"), m_recording);
        break;
    }
}

void CrashBench::child(RunKind kind, std::size_t run) const
{
    AnswerYes ui;
    const char *prefix = kind == RunKind::Conversion ? "CV"
        : kind == RunKind::Upload                    ? "UP"
        : kind == RunKind::Download                  ? "DL"
                                                     : "UC";
    const std::string voice = pcFile(prefix, run, ".VOC");
    if (kind == RunKind::Download) {
        dll_fn_download_file(voice.c_str(), mtInternal);
    } else {
        if (kind != RunKind::Conversion)
            dll_fn_upload_file("REC.VOC", voice.c_str(), mtInternal);
        if (kind != RunKind::Upload)
            convertVoiceFile(voice, ui);
    }
    ::_exit(0);
}

bool CrashBench::isWhole(const std::string &path) const
{
    const std::string bytes = readAll(path);
    return bytes == m_recording || bytes == m_wave;
}

// A real name holds the old bytes, whole new ones, or (when allowed) nothing.
void CrashBench::checkFile(const std::string &path, bool mayBeMissing, const std::string &old,
                           CrashFigures &figures) const
{
    if (!exists(path)) {
        figures.halfFiles += !mayBeMissing;
        return;
    }
    const std::string bytes = readAll(path);
    if (bytes != m_recording && bytes != m_wave && (old.empty() || bytes != old))
        ++figures.halfFiles;
}

void CrashBench::check(RunKind kind, std::size_t run, CrashFigures &figures) const
{
    const bool hadOld = run % 2 != 0;
    const std::string internal = m_player + "/internal/";
    if (readAll(internal + "REC.VOC") != m_recording)
        ++figures.recordingsLost; // the player's own copy of the recording
    if (kind == RunKind::Download) {
        const std::string source = pcFile("DL", run, ".VOC");
        const std::string stored = internal + fs::path(source).filename().string();
        figures.recordingsLost += readAll(source) != m_recording;
        checkFile(stored, true, {}, figures);
        dll_fn_delete_file(fs::path(source).filename().c_str(), mtInternal);
        fs::remove(source);
        fs::remove(stored); // a copy the killed call stored but did not index
    } else {
        const char *prefix = kind == RunKind::Conversion ? "CV"
            : kind == RunKind::Upload                    ? "UP"
                                                         : "UC";
        const std::string voice = pcFile(prefix, run, ".VOC");
        const std::string wave = pcFile(prefix, run, ".wav");
        const bool converting = kind != RunKind::Upload;
        const bool oldVoice = kind == RunKind::Upload && hadOld;
        const bool oldWave = kind == RunKind::Conversion && hadOld;
        checkFile(voice, !oldVoice, oldVoice ? oldBytes : "", figures);
        if (converting)
            checkFile(wave, true, oldWave ? oldBytes : "", figures);
        // A recording on the PC must survive whole, or as its whole wave file.
        if (kind == RunKind::Conversion && !(readAll(voice) == m_recording || readAll(wave) == m_wave))
            ++figures.recordingsLost;
        fs::remove(voice);
        fs::remove(wave);
    }
    figures.pcTemporaries += temporariesIn(m_pc, nerolink::kTemporaryPrefix);
    figures.waveLeftoversSeen += temporariesIn(m_pc, waveTemporaryPrefix);
}

std::size_t CrashBench::temporariesLeft() const
{
    const std::string voice = m_pc + "/LAST.VOC";
    writeAll(voice, m_recording);
    AnswerYes ui;
    convertVoiceFile(voice, ui);
    TMemoryInfo info;
    dll_fn_refresh_device(&info, mtInternal);
    std::size_t left = temporariesIn(m_pc, nerolink::kTemporaryPrefix)
        + temporariesIn(m_pc, waveTemporaryPrefix);
    for (const std::string &folder : {m_player, m_player + "/internal"})
        left += temporariesIn(folder, nerolink::kTemporaryPrefix);
    return left;
}
