#include "display/Indicator.h"

#include "app/ErrorReport.h"
#include "app/GenerationWorker.h"
#include "data/DatabaseError.h"
#include "app/TdmPrinc.h"
#include "display/QtMessageBoxes.h"
#include "display/SystemdNotify.h"
#include "display/TfrmPrincipal.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

int quitPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(quitPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the program through the event loop. Installed after
// the database engine has set up its own handlers, which would otherwise
// take the signal without ending the process.
void quitOnTerminate(QApplication& app)
{
    if (::pipe(quitPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QApplication::quit(); });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace

int runIndicator(QApplication& app)
{
    static QtMessageBoxes boxes;
    platform::setMessageBoxes(&boxes);
    auto dm = std::make_unique<TdmPrinc>();
    dmPrinc = dm.get();
    dm->setGeracaoInicialAdiada(true);
    QString erroConexao;
    try {
        dm->DataModuleCreate();
    } catch (const fb::DatabaseError& e) {
        // A refused attach (the server not up yet) is tried again by the
        // window; a configuration that could not be read ends the program.
        if (platform::terminateRequested())
            return 1; // the missing configuration has been reported
        if (!dm->ConnectionParams().Loaded) {
            reportException(e);
            return 1;
        }
        erroConexao = exceptionText(e);
    } catch (const std::exception& e) {
        reportException(e);
        return 1;
    }
    if (platform::terminateRequested())
        return 1;
    quitOnTerminate(app);
    GenerationWorker worker(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario());
    TfrmPrincipal window(*dm);
    window.setWorker(&worker);
    SystemdNotify notify;
    window.onPrimeiraPagina = [&notify] { notify.ready(); };
    ScreenSaverInhibitor inhibitor;
    window.showFullScreen();
    window.iniciar(erroConexao);
    const int status = app.exec();
    // The program ends at once: a run still going on is not waited for, and
    // the read-only attachment needs no orderly detach (the engine's own
    // shutdown can take many seconds).
    std::fflush(nullptr);
    std::_Exit(status);
}
