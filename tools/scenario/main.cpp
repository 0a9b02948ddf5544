// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner.h"

#include <QApplication>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr const char* kHelp = R"(usage: chancenraster-scenario [SCRIPT | -]

Drives the real main window offscreen, one script line at a time (from SCRIPT,
or from standard input, where each line runs as soon as it is read).

  locale NAME | appdir DIR          before the first window command
  draws N N ... | seed S            the numbers the program draws
  answer yes | answer no            the answer to the next confirmation box
  type BOX TEXT | set BOX TEXT | backspace BOX [N]
  click NAME | key KEY              KEY: Tab Backtab Return Space Escape
  drive PATH | dir PATH | select NAME          the import chooser
  open PATH [FROM] | save PATH | savesteps PATH
  livestart                         "Live-Eingabe ..." of the context menu
  live TEXT                         TEXT typed into the live entry, then Enter
  undo | redo                       Ctrl+Z / Ctrl+Y of the live entry
  systemtest OPTIONS                "Systemtest" over the run (the tool's options)
  monkey SEED COUNT                 COUNT random actions from SEED, the run's rules
                                    checked after each; a broken one exits with 1 and
                                    names the action N that "monkey SEED N" replays,
                                    and the fewest actions found that still break it;
                                    beside these lines it opens and drives "Verlauf",
                                    "Auswertung" and "Systemtest" (jobs finished or
                                    cancelled), clicks the live tableau, drops files
  close                             close the window by its frame
  dump                              the window and the run state as one line of JSON

Live journals go where XDG_DATA_HOME says (else ~/.local/share/chancenraster);
an unfinished one is offered when the window opens, answered like any box.
With CR_MONKEY_PROGRESS set, a monkey prints its count of actions and the
runner's resident memory and its heap in use every 10,000 actions.
)";

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kHelp;
        return 0;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    const std::string source = argc > 1 ? argv[1] : "-";
    std::ifstream file;
    if (source != "-") {
        // A directory opens as a stream that only fails at reading: refuse it here.
        struct stat info {};
        if (::stat(source.c_str(), &info) == 0 && !S_ISREG(info.st_mode) &&
            !S_ISFIFO(info.st_mode) && !S_ISCHR(info.st_mode)) {
            std::cerr << "line 0: the script " << source << " is no file" << std::endl;
            return 2;
        }
        file.open(source, std::ios::binary);
        if (!file) {
            std::cerr << "line 0: cannot read the script " << source << std::endl;
            return 2;
        }
    }
    cr::scenario::Runner runner;
    if (source == "-") {
        return runner.run(std::cin, source); // each line as it comes
    }
    std::istream& in = file;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    if (in.bad()) {
        std::cerr << "line " << lines.size() + 1 << ": cannot read the script " << source
                  << std::endl;
        return 2;
    }
    return runner.run(lines);
}
