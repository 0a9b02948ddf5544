// SPDX-License-Identifier: GPL-3.0-or-later
#include "chancenraster/version.h"
#include "core/commandline.h"
#include "core/random.h"
#include "ui/main/application.h"
#include "ui/main/mainwindow.h"
#include "ui/main/runmenu.h"

#include <QApplication>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Answers --help, --version and bad arguments before any window system is
// needed; returns the exit status, or nothing when the window opens.
std::optional<int> answerWithoutWindow(const cr::ParsedCommandLine& parsed) {
    if (!parsed.commandLine) {
        std::cerr << "chancenraster: " << parsed.error << '\n' << cr::kCommandLineHint << '\n';
        return cr::kBadArgumentsStatus;
    }
    switch (parsed.commandLine->action) {
    case cr::CommandLine::Action::ShowHelp:
        std::cout << cr::commandLineHelp();
        return 0;
    case cr::CommandLine::Action::ShowVersion:
        std::cout << "chancenraster " << cr::kVersion << '\n';
        return 0;
    case cr::CommandLine::Action::OpenWindow:
        break;
    }
    return std::nullopt;
}

std::unique_ptr<cr::RandomSource> randomFor(const cr::CommandLine& line) {
    if (line.seed) {
        return std::make_unique<cr::SeededRandom>(*line.seed);
    }
    return std::make_unique<cr::ClockRandom>();
}

} // namespace

int main(int argc, char* argv[]) {
    const cr::ParsedCommandLine parsed =
        cr::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto status = answerWithoutWindow(parsed)) {
        return *status;
    }
    QApplication app(argc, argv);
    const auto random = randomFor(*parsed.commandLine);
    auto window = cr::ui::createMainWindow(*random, QCoreApplication::applicationDirPath());
    window->show();
    window->offerUnfinishedLive(); // a live session a crash or kill interrupted
    if (parsed.commandLine->file) {
        // As the desktop passes it: the file opens in the shown window.
        window->menu().files().openDropped(QString::fromLocal8Bit(*parsed.commandLine->file));
    }
    return QApplication::exec();
}
