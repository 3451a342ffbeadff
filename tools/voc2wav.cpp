// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// voc2wav: converts voice recordings already on disk into wave files beside
// them, exactly as the manager does after an upload.
#include "voice/voice_conversion.h"

#include <csignal>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char *usageText =
    "Usage: voc2wav [--overwrite | --keep-existing] [--keep-voice] FILE...\n"
    "Converts each voice recording FILE into a wave file beside it (its extension\n"
    "replaced by .wav) and removes FILE once the wave file is complete.\n"
    "\n"
    "  --overwrite      replace an existing wave file without asking\n"
    "  --keep-existing  never replace an existing wave file\n"
    "  --keep-voice     keep FILE after a good conversion\n"
    "  --help           show this text\n"
    "\n"
    "Without --overwrite or --keep-existing the question is asked when standard\n"
    "input is a terminal, and answered No otherwise.\n"
    "Exit status: 0 every FILE converted, 1 some FILE not converted, 2 usage error.\n";

enum class OverwritePolicy { Ask, Always, Never };

struct Options {
    OverwritePolicy overwrite = OverwritePolicy::Ask;
    bool keepVoice = false;
    bool help = false;
    std::vector<std::string> files;
};

// Speaks for one FILE on the terminal: messages as "FILE: text" on stderr.
class TerminalUi : public VoiceConversionUi {
public:
    TerminalUi(const std::string &file, OverwritePolicy policy) : m_file(file), m_policy(policy) {}

    bool askOverwrite(const std::string &) override
    {
        if (m_policy == OverwritePolicy::Always)
            return true;
        if (m_policy == OverwritePolicy::Ask && ::isatty(STDIN_FILENO))
            return askTerminal();
        // Say why the file stays unconverted.
        std::cerr << m_file << ": " << VoiceMessages::overwriteQuestion << " No" << std::endl;
        return false;
    }

    void showMessage(const std::string &text) override
    {
        std::cerr << m_file << ": " << text << std::endl;
    }

private:
    bool askTerminal()
    {
        std::cerr << m_file << ": " << VoiceMessages::overwriteQuestion << " [y/N] " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer))
            return false;
        return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes"
            || answer == "YES";
    }

    std::string m_file;
    OverwritePolicy m_policy;
};

// Returns an error text for a usage error, empty when the arguments are good.
std::string parseArguments(int argc, char **argv, Options &options)
{
    bool optionsEnded = false;
    bool overwriteGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--keep-voice") {
            options.keepVoice = true;
        } else if (arg == "--overwrite" || arg == "--keep-existing") {
            const auto policy =
                arg == "--overwrite" ? OverwritePolicy::Always : OverwritePolicy::Never;
            if (overwriteGiven && policy != options.overwrite)
                return "--overwrite and --keep-existing exclude each other";
            overwriteGiven = true;
            options.overwrite = policy;
        } else {
            return "unknown option '" + arg + "'";
        }
    }
    if (!options.help && options.files.empty())
        return "no FILE given";
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    // Past a file-size limit, let write fail and be reported instead of
    // killing the program halfway through a wave file.
    std::signal(SIGXFSZ, SIG_IGN);

    Options options;
    const std::string usageError = parseArguments(argc, argv, options);
    if (!usageError.empty()) {
        std::cerr << "voc2wav: " << usageError << "\n" << usageText;
        return 2;
    }
    if (options.help) {
        std::cout << usageText;
        return 0;
    }

    bool allConverted = true;
    ConvertOptions convertOptions;
    convertOptions.keepVoice = options.keepVoice;
    for (const std::string &file : options.files) {
        TerminalUi ui(file, options.overwrite);
        if (convertVoiceFile(file, ui, convertOptions) != ConvertOutcome::Converted)
            allConverted = false;
    }
    return allConverted ? 0 : 1;
}
