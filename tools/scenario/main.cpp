#include "runner.h"

#include <QApplication>
#include <fstream>
#include <iostream>
#include <string>
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
    cr::scenario::Runner runner;
    return runner.run(lines);
}
