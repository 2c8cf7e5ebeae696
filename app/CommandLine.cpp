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

namespace {

QSize parseSize(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    bool okW = false, okH = false;
    QSize size;
    if (parts.size() == 2)
        size = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
    if (!okW || !okH || size.width() < 100 || size.height() < 100 || size.width() > 16384 || size.height() > 16384)
        return {};
    return size;
}

} // namespace

QSize sizeArgument(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc)
            return parseSize(QString::fromLocal8Bit(argv[i + 1]));
        if (std::strncmp(argv[i], "--size=", 7) == 0)
            return parseSize(QString::fromLocal8Bit(argv[i] + 7));
    }
    return {};
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
    QCommandLineOption ciclosOption(QStringLiteral("ciclos"),
                                    QStringLiteral("With --report: N generation runs as the display makes them (the "
                                                   "first full, then refreshes of the day as due); the tables of the "
                                                   "last, and what each run was."),
                                    QStringLiteral("N"));
    QCommandLineOption checkOption(QStringLiteral("check"),
                                   QStringLiteral("No window: check the settings and the database, print what was "
                                                  "found and exit (0: ready, 1: not)."));
    QCommandLineOption snapshotOption(QStringLiteral("snapshot"),
                                      QStringLiteral("No visible window: render one rotation to OUTDIR as PNG files "
                                                     "and pages.json, then exit."),
                                      QStringLiteral("OUTDIR"));
    QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Window size of --snapshot (default 1920x1080)."),
                                  QStringLiteral("WxH"), QStringLiteral("1920x1080"));
    parser.addOption(dirOption);
    parser.addOption(reportOption);
    parser.addOption(checkOption);
    parser.addOption(ciclosOption);
    parser.addOption(snapshotOption);
    parser.addOption(sizeOption);
    parser.process(app);

    CommandLineOptions options;
    options.report = parser.isSet(reportOption);
    options.check = parser.isSet(checkOption);
    if (parser.isSet(ciclosOption)) {
        bool ok = false;
        options.ciclos = parser.value(ciclosOption).toInt(&ok);
        if (!ok || options.ciclos < 1 || options.ciclos > 100000) {
            std::fprintf(stderr, "--ciclos takes a number of runs, 1 or more\n");
            std::exit(2);
        }
    }
    options.snapshot = parser.value(snapshotOption);
    options.size = parseSize(parser.value(sizeOption));
    if (options.size.isEmpty()) {
        std::fprintf(stderr, "--size takes WxH, for instance 1366x768\n");
        std::exit(2);
    }
    if (parser.isSet(dirOption)) {
        options.dir = QDir(parser.value(dirOption)).absolutePath();
        platform::setAppFolder(options.dir);
    }
    return options;
}
