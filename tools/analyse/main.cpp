// SPDX-License-Identifier: GPL-3.0-or-later
#include "analyse.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cr::analyse::runAnalysis(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
