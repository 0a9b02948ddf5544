// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/commandline.h"

#include <charconv>
#include <string_view>

namespace cr {

namespace {

// Digits only: no sign, no blanks, no hexadecimal, nothing after the number.
std::optional<std::uint64_t> seedValue(std::string_view text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() == '+' || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::string quoted(std::string_view text) {
    return "\u201e" + std::string(text) + "\u201c";
}

// The options that take a value, split into name and value ("--seed=7" or "--seed", "7").
struct OptionWithValue {
    std::string name;
    std::optional<std::string> value;
};

OptionWithValue splitOption(const std::string& arg) {
    const auto eq = arg.find('=');
    if (eq == std::string::npos) {
        return {arg, std::nullopt};
    }
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            line.action = CommandLine::Action::ShowHelp;
            return {line, {}};
        }
        if (arg == "--version") {
            line.action = CommandLine::Action::ShowVersion;
            return {line, {}};
        }
        if (arg == "--") { // what follows is a file, whatever its name
            if (i + 2 != args.size() || line.file) {
                return {std::nullopt, "nach -- steht genau eine Datei"};
            }
            line.file = args[i + 1];
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            if (line.file || arg.empty() || arg == "-") {
                return {std::nullopt, "unerwartetes Argument " + quoted(arg)};
            }
            line.file = arg;
            continue;
        }
        auto [name, value] = splitOption(arg);
        if (name != "--seed") {
            return {std::nullopt, "unbekannte Option " + quoted(arg)};
        }
        if (line.seed) {
            return {std::nullopt, "--seed ist doppelt angegeben"};
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                return {std::nullopt, "--seed braucht einen Startwert"};
            }
            value = args[++i];
        }
        line.seed = seedValue(*value);
        if (!line.seed) {
            return {std::nullopt, "--seed erwartet eine ganze Zahl von 0 bis 18446744073709551615, "
                                  "nicht " +
                                      quoted(*value)};
        }
    }
    return {line, {}};
}

std::string commandLineHelp() {
    return R"help(Aufruf: chancenraster [--seed S] [DATEI]
       chancenraster --help
       chancenraster --version

Chancenraster beobachtet beim Roulette die einfachen Chancen Rot/Schwarz,
Manque/Passe und Gerade/Ungerade Step für Step über gezogene oder aus einer
Permanenz eingelesene Würfe. Das Programmfenster öffnet sich; mit DATEI
wird diese Permanenz gleich geöffnet, wie mit „Permanenz öffnen …“: eine
Permanenz der Spielbank mit Kopf oder eine Liste von Zahlen 0 bis 36.

Optionen:
  --seed S      zieht jeden Lauf der Sitzung aus dem Startwert S statt aus
                der Uhr (eine ganze Zahl von 0 bis 18446744073709551615):
                mit denselben Eingaben zieht jeder „Start“ dieselben Zahlen,
                auch auf einem anderen Rechner
  -h, --help    zeigt diese Hilfe
  --version     zeigt die Versionsnummer

Rückgabewert: 0, wenn das Programm regulär endet; 2 bei Argumenten, die
es nicht versteht (die Meldung steht dann auf der Fehlerausgabe).
)help";
}

} // namespace cr
