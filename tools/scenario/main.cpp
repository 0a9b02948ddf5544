// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner.h"

#include <QApplication>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <vector>

int main(int argc, char* argv[]) {
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
    std::istream& in = source == "-" ? std::cin : file;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    if (in.bad()) {
        std::cerr << "line " << lines.size() + 1 << ": cannot read the script " << source
                  << std::endl;
        return 2;
    }
    cr::scenario::Runner runner;
    return runner.run(lines);
}
