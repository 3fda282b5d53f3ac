// VORAX entry point: the desktop program by default; headless command-line modes on request.

#include <QApplication>
#include <QCommandLineParser>
#include <iostream>

#include "model/info_command.h"

int main(int argc, char** argv)
{
    // --info needs no display, so it runs before any GUI application exists.
    if (auto status = vorax::run_info_option(argc, argv, std::cout, std::cerr))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VORAX"));
    QApplication::setApplicationVersion(QStringLiteral(VORAX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("VORAX: Structure Graph for TAVELS & MURIKS"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("MODEL"),
                                 QStringLiteral("The model data file to draw."),
                                 QStringLiteral("[MODEL]"));
    parser.process(app);
    return 0;
}
