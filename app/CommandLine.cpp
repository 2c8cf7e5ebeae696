#include "app/CommandLine.h"

#include "data/Platform.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool hasOption(int argc, char** argv, const char* option)
{
    const size_t n = std::strlen(option);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], option, n) == 0 && (argv[i][n] == 0 || argv[i][n] == '='))
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
    QCommandLineOption snapshotOption(QStringLiteral("snapshot"),
                                      QStringLiteral("No visible window: render one rotation to OUTDIR as PNG files "
                                                     "and pages.json, then exit."),
                                      QStringLiteral("OUTDIR"));
    QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Window size of --snapshot (default 1920x1080)."),
                                  QStringLiteral("WxH"), QStringLiteral("1920x1080"));
    parser.addOption(dirOption);
    parser.addOption(reportOption);
    parser.addOption(snapshotOption);
    parser.addOption(sizeOption);
    parser.process(app);

    CommandLineOptions options;
    options.report = parser.isSet(reportOption);
    options.snapshot = parser.value(snapshotOption);
    const QStringList size = parser.value(sizeOption).split(QLatin1Char('x'));
    bool okW = false, okH = false;
    if (size.size() == 2) {
        options.size = QSize(size[0].toInt(&okW), size[1].toInt(&okH));
    }
    if (!okW || !okH || options.size.width() < 100 || options.size.height() < 100) {
        std::fprintf(stderr, "--size takes WxH, for instance 1366x768\n");
        std::exit(2);
    }
    if (parser.isSet(dirOption)) {
        options.dir = QDir(parser.value(dirOption)).absolutePath();
        platform::setAppFolder(options.dir);
    }
    return options;
}
