// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cr {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action {
        OpenWindow,
        ShowHelp,
        ShowVersion,
    };
    Action action = Action::OpenWindow;
    // --seed: every run of the session is drawn from this value instead of the clock.
    std::optional<std::uint64_t> seed;
    // A permanence to open at once, as "Permanenz öffnen …" opens it.
    std::optional<std::string> file;
};

// The command line, or the one German line that says what is wrong with it.
struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;
};

// Reads the arguments after the program's name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

// The answer to --help, in German.
std::string commandLineHelp();

// The line after an error that points to --help.
inline constexpr const char* kCommandLineHint = "Mehr dazu: chancenraster --help";

// Exit status for arguments that cannot be used.
inline constexpr int kBadArgumentsStatus = 2;

} // namespace cr
