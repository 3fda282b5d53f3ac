// VORAX entry point: the desktop program by default; headless command-line modes on request.

#include <QApplication>

#include <csignal>
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
#include "model/info_command.h"

int main(int argc, char** argv)
{
    // A file that reaches the size limit of the process fails its write, which is reported; the
    // signal would end the program before it could say so or clean up.
    std::signal(SIGXFSZ, SIG_IGN);

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
        return vorax::run_info_command(*line.model, std::cout, std::cerr);
    case vorax::Mode::check:
        return vorax::run_check_command(*line.model, std::cout, std::cerr);
    case vorax::Mode::diff:
        return vorax::run_diff_command(*line.model, *line.new_model, std::cout, std::cerr);
    case vorax::Mode::export_picture:
        return vorax::run_export_offscreen(line.export_options, argc, argv, std::cout, std::cerr);
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
