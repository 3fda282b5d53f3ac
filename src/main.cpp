// VORAX entry point: the desktop program by default; headless command-line modes on request.

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv)
{
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
