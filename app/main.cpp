#include "app/CommandLine.h"
#include "app/Report.h"
#include "display/Indicator.h"
#include "display/Snapshot.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("tolvaneo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.68"));
    if (hasOption(argc, argv, "--report")) {
        QCoreApplication app(argc, argv);
        parseCommandLine(app);
        return runReport(app);
    }
    if (hasOption(argc, argv, "--snapshot"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const CommandLineOptions options = parseCommandLine(app);
    if (!options.snapshot.isEmpty())
        return runSnapshot(app, options.snapshot, options.size);
    return runIndicator(app);
}
