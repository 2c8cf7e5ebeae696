#include "app/CommandLine.h"

#include "data/Platform.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstring>

bool wantsReport(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--report") == 0)
            return true;
    return false;
}

CommandLineOptions parseCommandLine(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shop-floor production efficiency indicator."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dirOption(QStringLiteral("dir"),
                                 QStringLiteral("Folder of Marvessa.ini and of the files the indicator writes "
                                                "(default: the executable's folder)."),
                                 QStringLiteral("DIR"));
    QCommandLineOption reportOption(QStringLiteral("report"),
                                    QStringLiteral("No window: start as usual, print the figures as JSON and exit."));
    parser.addOption(dirOption);
    parser.addOption(reportOption);
    parser.process(app);

    CommandLineOptions options;
    options.report = parser.isSet(reportOption);
    if (parser.isSet(dirOption)) {
        options.dir = QDir(parser.value(dirOption)).absolutePath();
        platform::setAppFolder(options.dir);
    }
    return options;
}
