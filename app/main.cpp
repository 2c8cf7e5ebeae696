#include "app/CommandLine.h"
#include "app/Report.h"
#include "display/Indicator.h"
#include "display/Screen.h"
#include "display/Snapshot.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScreen>

#include <cstdlib>
#include <memory>

namespace {

// Options that need no display at all.
bool withoutDisplay(int argc, char** argv)
{
    for (const char* option : {"--report", "--help", "-h", "--help-all", "--version", "-v", "-?"})
        if (hasOption(argc, argv, option))
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("tolvaneo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.68"));
    if (withoutDisplay(argc, argv)) {
        QCoreApplication app(argc, argv);
        parseCommandLine(app); // --help and --version end here
        return runReport(app);
    }
    if (hasOption(argc, argv, "--snapshot")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        applyDeviceScale(sizeArgument(argc, argv));
        QApplication app(argc, argv);
        const CommandLineOptions options = parseCommandLine(app);
        return runSnapshot(app, options.snapshot, options.size);
    }
    // A screen larger than the design shows it scaled up whole: the factor
    // must be set before the application object that draws exists, so the
    // screen is looked at by a first one.
    auto app = std::make_unique<QApplication>(argc, argv);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && deviceScale(screen->size()) > 1 && !qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        const QSize size = screen->size();
        app.reset();
        applyDeviceScale(size);
        app = std::make_unique<QApplication>(argc, argv);
    }
    parseCommandLine(*app);
    return runIndicator(*app);
}
