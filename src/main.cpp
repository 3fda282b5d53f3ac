// VORAX entry point: the desktop program by default; headless command-line modes on request.

#include <QApplication>
#include <QCommandLineParser>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string_view>
#include <iostream>

#include "app/check_command.h"
#include "app/export_command.h"
#include "app/gui_session.h"
#include "gwl/platform/app_identity.h"
#include "gwl/platform/file_names.h"
#include "gwl/platform/system.h"
#include "gwl/surface/drawing_area.h"
#include "model/info_command.h"

namespace {

bool asks_for_help_or_version(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--help" || a == "-h" || a == "-?" || a == "--help-all" || a == "--version"
            || a == "-v")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // A file that reaches the size limit of the process fails its write, which is reported; the
    // signal would end the program before it could say so or clean up.
    std::signal(SIGXFSZ, SIG_IGN);

    // --export draws without a display, on an offscreen GUI application of its own; it refuses
    // --info beside it, so it goes first.
    if (auto status = vorax::run_export_option(argc, argv, std::cout, std::cerr))
        return *status;
    // --info and --check need no display, so they run before any GUI application exists.
    if (auto status = vorax::run_info_option(argc, argv, std::cout, std::cerr))
        return *status;
    if (auto status = vorax::run_check_option(argc, argv, std::cout, std::cerr))
        return *status;

    // --help and --version answer without a display.
    std::unique_ptr<QCoreApplication> app;
    if (asks_for_help_or_version(argc, argv))
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    vorax::gwl::identify_application();
    QCoreApplication::setApplicationVersion(QStringLiteral(VORAX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "VORAX: Structure Graph for TAVELS & MURIKS\n\n"
        "Without options it opens its frame window; MODEL is then the model file that\n"
        "\"NEW Graph ...\" loads. Modes without a window:\n"
        "  vorax --info MODEL               prints the model's title, extents and counts\n"
        "  vorax --check MODEL              lists what looks mistyped in the model file\n"
        "                                   (exit status 0 no findings, 3 findings)\n"
        "  vorax --export OUT MODEL [opts]  draws graph 1 into the picture OUT\n"
        "                                   (vorax --export --help lists its options)"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption area_option(
        QStringLiteral("area"),
        QStringLiteral("Drawing area of the windows in pixels (default: the screen, at least "
                       "1024x768)."),
        QStringLiteral("WxH"));
    parser.addOption(area_option);
    parser.addPositionalArgument(QStringLiteral("MODEL"),
                                 QStringLiteral("The model data file to draw."),
                                 QStringLiteral("[MODEL]"));
    parser.process(*app);

    if (parser.isSet(area_option)) {
        const auto area = vorax::gwl::parse_area_size(parser.value(area_option).toStdString());
        if (!area) {
            std::fprintf(stderr, "vorax: --area wants a size such as 1600x1200 (16..32767)\n");
            return 2;
        }
        vorax::gwl::set_default_drawing_area(area->width, area->height);
    }

    // The model's name exactly as given: a name is bytes, not text.
    vorax::gwl::set_program_arguments(
        vorax::gwl::argument_bytes(argc, argv, parser.positionalArguments()));

    return vorax::run_desktop_program();
}
