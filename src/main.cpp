// SPDX-License-Identifier: GPL-3.0-or-later
// VORAX entry point: the desktop program by default; headless command-line modes on request.

#include <QApplication>
#include <QHashFunctions>

#include <csignal>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>
#include <iostream>
#include <string>
#include <vector>

#include "app/check_command.h"
#include "app/command_line.h"
#include "app/diff_command.h"
#include "app/export_command.h"
#include "app/gui_session.h"
#include "gwl/platform/app_identity.h"
#include "gwl/platform/system.h"
#include "gwl/surface/drawing_area.h"
#include "app/info_command.h"
#include "app/terminal_output.h"

namespace {

// The mode's exit status once all it wrote is out; a report that could not be written (a full
// disk, a file-size limit, a closed pipe) is a failure, said on standard error.
int output_written(int status)
{
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    const int error = errno;
    if (!failed)
        return status;
    std::cerr << "vorax: cannot write standard output: " << std::strerror(error != 0 ? error : EIO) << '\n';
    return 1;
}

// Runs a mode without windows: the memory running out anywhere in it is said, not a crash.
template <class Mode>
int headless(const Mode& mode)
{
    int status = 1;
    try {
        status = mode();
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "vorax: not enough memory to finish\n";
        return 1;
    }
    return output_written(status);
}

} // namespace

int main(int argc, char** argv)
{
    // A file that reaches the size limit of the process fails its write, which is reported; the
    // signal would end the program before it could say so or clean up.
    std::signal(SIGXFSZ, SIG_IGN);
    // The same drawing gives the same PDF bytes: the writer keeps its fonts in a hash, whose
    // order would otherwise change from run to run.
    QHashSeed::setDeterministicGlobalSeed();

    // Names and titles reach a terminal with their control characters escaped.
    const vorax::TerminalEscapes terminal_out(std::cout, STDOUT_FILENO);
    const vorax::TerminalEscapes terminal_err(std::cerr, STDERR_FILENO);

    // Everything but the windows runs before any application object exists: without a display.
    const auto parsed = vorax::parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* refusal = std::get_if<vorax::CommandLineRefusal>(&parsed)) {
        std::cerr << vorax::refusal_text(*refusal);
        return vorax::kCommandLineRefused;
    }
    const vorax::CommandLine& line = std::get<vorax::CommandLine>(parsed);
    switch (line.mode) {
    case vorax::Mode::help:
    case vorax::Mode::help_all:
        std::cout << vorax::help_text(line.mode == vorax::Mode::help_all);
        return 0;
    case vorax::Mode::version:
        std::cout << "VORAX " VORAX_VERSION "\n"
                     "Copyright (c) 2026 the VORAX developers\n"
                     "License GPL-3.0-or-later: GNU GPL version 3 or later "
                     "<https://www.gnu.org/licenses/gpl.html>.\n"
                     "This is free software: you are free to change and redistribute it.\n"
                     "There is NO WARRANTY, to the extent permitted by law.\n";
        return 0;
    case vorax::Mode::info:
        return headless([&] { return vorax::run_info_command(*line.model, std::cout, std::cerr); });
    case vorax::Mode::check:
        return headless([&] { return vorax::run_check_command(*line.model, std::cout, std::cerr); });
    case vorax::Mode::diff:
        return headless([&] { return vorax::run_diff_command(*line.model, *line.new_model, std::cout, std::cerr); });
    case vorax::Mode::export_picture:
        return headless([&] {
            return vorax::run_export_offscreen(line.export_options, argc, argv, std::cout, std::cerr);
        });
    case vorax::Mode::window:
        for (const std::string& argument : line.ignored)
            std::cerr << "vorax: ignoring the argument \"" << argument << "\" after the model file\n";
        break;
    }

    // Qt takes its own options (-platform, -style, ...) out of the arguments here.
    QApplication app(argc, argv);
    vorax::gwl::identify_application();
    QCoreApplication::setApplicationVersion(QStringLiteral(VORAX_VERSION));
    if (line.area)
        vorax::gwl::set_default_drawing_area(line.area->width, line.area->height);
    // The model's name exactly as given: a name is bytes, not text.
    vorax::gwl::set_program_arguments(line.model ? std::vector<std::string>{*line.model}
                                                 : std::vector<std::string>{});
    return vorax::run_desktop_program();
}
