#include "app/Check.h"
#include "app/CommandLine.h"
#include "app/Configuracoes.h"
#include "app/Report.h"
#include "display/Indicator.h"
#include "display/Screen.h"
#include "display/Snapshot.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScreen>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <memory>
#include <vector>

namespace {

// Options that need no display at all.
bool withoutDisplay(int argc, char** argv)
{
    for (const char* option : {"--report", "--check", "--help", "-h", "--help-all", "--version", "-v", "-?"})
        if (hasOption(argc, argv, option))
            return true;
    return false;
}

QtMessageHandler qtHandler = nullptr;

// Qt 6.8 warns at each start under a locale that is not UTF-8 (LANG=C, or a
// pt_BR.UTF-8 that is not installed) and goes on in C.UTF-8, which is what
// the program needs: nothing for a technician to act on, and it would stand
// before the program's own first line. Every other message passes.
void semAvisoDeLocale(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("Detected locale \"")) &&
        message.contains(QLatin1String("Qt depends on a UTF-8 locale")))
        return;
    qtHandler(type, context, message);
}

// The database client turns a file's name into bytes by the locale's
// character set, and C or a locale that is not installed has none for "é":
// the characters are always UTF-8, whatever else the locale says. Called
// once the application object has read the locale.
void caracteresUtf8()
{
    const char* codigo = nl_langinfo(CODESET);
    if (!codigo || std::strcmp(codigo, "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

} // namespace

int main(int argc, char** argv)
{
    qtHandler = qInstallMessageHandler(semAvisoDeLocale);
    QCoreApplication::setApplicationName(QStringLiteral("tolvaneo"));
    QCoreApplication::setApplicationVersion(versaoPrograma());
    if (withoutDisplay(argc, argv)) {
        QCoreApplication app(argc, argv);
        caracteresUtf8();
        const CommandLineOptions options = parseCommandLine(app); // --help and --version end here
        return options.check ? runCheck(app) : runReport(app, options.ciclos);
    }
    if (hasOption(argc, argv, "--snapshot")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        applyDeviceScale(sizeArgument(argc, argv));
        QApplication app(argc, argv);
        caracteresUtf8();
        const CommandLineOptions options = parseCommandLine(app);
        return runSnapshot(app, options.snapshot, options.size);
    }
    // A screen larger than the design shows it scaled up whole. The factor
    // must be set before the application object exists, and the screen can
    // only be looked at through one: the program looks, sets the factor and
    // starts itself again.
    const std::vector<char*> original(argv, argv + argc + 1); // Qt may take its own options out
    if (qEnvironmentVariableIsSet("TOLVANEO_REINICIADO")) {
        // An X server resets when its last client leaves, as the first look
        // at the screen just did; it answers again a moment later.
        qunsetenv("TOLVANEO_REINICIADO");
        ::usleep(500 * 1000);
    }
    auto app = std::make_unique<QApplication>(argc, argv);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && !qEnvironmentVariableIsSet("QT_SCALE_FACTOR") && applyDeviceScale(screen->size())) {
        app.reset();
        qputenv("TOLVANEO_REINICIADO", "1");
        // By the program's own path, so that the process keeps its name
        // ("tolvaneo", not "exe") for ps, pkill and the unit's reload.
        std::error_code erro;
        const std::string proprio = std::filesystem::read_symlink("/proc/self/exe", erro).string();
        if (!erro)
            ::execv(proprio.c_str(), original.data());
        ::execv("/proc/self/exe", original.data()); // the file replaced meanwhile
        std::perror("tolvaneo: cannot start again with the screen's scale factor");
        app = std::make_unique<QApplication>(argc, argv);
    }
    caracteresUtf8();
    parseCommandLine(*app);
    return runIndicator(*app);
}
