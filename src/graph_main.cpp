// SPDX-License-Identifier: GPL-3.0-or-later
// The graph program: the windows and --export, the modes that draw. `vorax` starts it with the
// arguments it was given; run by itself it does everything `vorax` does.

#include <QApplication>
#include <QHashFunctions>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>
#include <unistd.h>

#include "app/command_line.h"
#include "app/export_command.h"
#include "app/gui_session.h"
#include "app/terminal_modes.h"
#include "app/terminal_output.h"
#include "core/freed_memory.h"
#include "gwl/platform/app_identity.h"
#include "gwl/platform/system.h"
#include "gwl/surface/drawing_area.h"

int main(int argc, char** argv)
{
    // A file that reaches the size limit of the process fails its write, which is reported; the
    // signal would end the program before it could say so or clean up.
    std::signal(SIGXFSZ, SIG_IGN);
    vorax::keep_freed_memory();
    // The same drawing gives the same PDF bytes: the writer keeps its fonts in a hash, whose
    // order would otherwise change from run to run.
    QHashSeed::setDeterministicGlobalSeed();
    // The folder of the `vorax` that started this program, where a model named without a folder
    // is looked for first; the programs this one starts do not inherit it.
    if (const char* folder = std::getenv(vorax::gwl::kProgramFolderVariable)) {
        vorax::gwl::set_program_folder(folder);
        ::unsetenv(vorax::gwl::kProgramFolderVariable);
    }

    // Names and titles reach a terminal with their control characters escaped.
    const vorax::TerminalEscapes terminal_out(std::cout, STDOUT_FILENO);
    const vorax::TerminalEscapes terminal_err(std::cerr, STDERR_FILENO);

    // Everything but the windows runs before any application object exists: without a display.
    const auto drawing = vorax::command_line_that_draws(argc, argv);
    if (std::holds_alternative<int>(drawing))
        return std::get<int>(drawing);
    const vorax::CommandLine& line = std::get<vorax::CommandLine>(drawing);
    if (line.mode == vorax::Mode::export_picture)
        return vorax::run_headless([&] {
            return vorax::run_export_offscreen(line.export_options, argc, argv, std::cout, std::cerr);
        });
    for (const std::string& argument : line.ignored)
        std::cerr << "vorax: ignoring the argument \"" << argument << "\" after the model file\n";

#if defined(__linux__)
    // Without a display to open the windows on, Qt would end the program with words of its own
    // about plugins: what is missing is said instead.
    const bool platform_given = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        || std::any_of(argv + 1, argv + argc, [](const char* argument) {
               return std::strncmp(argument, "-platform", 9) == 0 || std::strncmp(argument, "--platform", 10) == 0;
           });
    if (!platform_given && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::cerr << "vorax: no display to open the windows on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                     "vorax --export OUT MODEL draws a picture without one\n";
        return 1;
    }
#endif

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
