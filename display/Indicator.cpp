#include "display/Indicator.h"

#include "app/ErrorReport.h"
#include "app/Configuracoes.h"
#include "app/GenerationWorker.h"
#include "data/DatabaseError.h"
#include "app/TdmPrinc.h"
#include "display/CursorOcioso.h"
#include "display/QtMessageBoxes.h"
#include "display/Recarga.h"
#include "display/SeguidorTela.h"
#include "display/SystemdNotify.h"
#include "display/TfrmPrincipal.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/Platform.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <functional>

#include <cstdio>
#include <cstdlib>

namespace {

int quitPipe[2] = {-1, -1};
bool paradaRegistrada = false;
// What the handler saw; the pipe only wakes the event loop, so that a full
// pipe loses no request.
volatile std::sig_atomic_t pedidoParada = 0;
volatile std::sig_atomic_t pedidoRecarga = 0;
// What SIGHUP does once the window is up; before that, nothing.
std::function<void()> aoRecarregar;

// How long the event loop may take to answer SIGTERM before the program
// ends without it (a main thread held by something that does not return).
constexpr unsigned kPrazoParadaS = 5;

void onSignal(int signal)
{
    const int saved = errno;
    if (signal == SIGHUP) {
        pedidoRecarga = 1;
    } else {
        pedidoParada = signal;
        ::alarm(kPrazoParadaS);
    }
    // Non-blocking: with the pipe full a wake-up is pending anyway.
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(quitPipe[1], &byte, 1);
    errno = saved;
}

void onDeadline(int)
{
    static const char line[] = "level=error event=stop reason=deadline "
                               "msg=\"the event loop did not answer SIGTERM in time\"\n";
    [[maybe_unused]] auto written = ::write(STDERR_FILENO, line, sizeof line - 1);
    ::_exit(0);
}

// SIGTERM and SIGINT end the program through the event loop, with a log
// line that says why, or after kPrazoParadaS seconds without it; SIGHUP
// reads the settings again, once for any number of signals that arrived
// together. Installed after the database engine has set up its own
// handlers, which would otherwise take the signal without ending the process.
void quitOnTerminate(QApplication& app)
{
    if (::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char bytes[256];
        while (::read(quitPipe[0], bytes, sizeof bytes) > 0) {
        }
        if (const int signal = pedidoParada) {
            if (!paradaRegistrada)
                logfmt::write(QStringLiteral("stop"),
                              {{"signal", signal == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM")}});
            paradaRegistrada = true;
            // Not quit(): that asks each window to close, and the window asks
            // whether to end the program.
            QCoreApplication::exit(0);
            return;
        }
        const bool recarga = pedidoRecarga != 0;
        pedidoRecarga = 0;
        if (recarga && aoRecarregar)
            aoRecarregar();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    struct sigaction deadline {};
    deadline.sa_handler = onDeadline;
    sigemptyset(&deadline.sa_mask);
    ::sigaction(SIGALRM, &deadline, nullptr);
}

// One line at start: what this indicator runs with (never the password).
void logStart(const TdmPrinc& dm)
{
    logfmt::write(QStringLiteral("start"),
                  {{"version", dm.Versao()},
                   {"settings", caminhoConfiguracoes()},
                   {"database", dm.ConnectionParams().Database},
                   {"layout", dm.Simplificado() ? QStringLiteral("simplificado") : QStringLiteral("completo")},
                   {"sectors", QString(dm.Setores()).remove(QLatin1Char('\''))},
                   {"day", dm.DataFixa() ? daynum::toDate(dm.DataIndicador()).toString(Qt::ISODate)
                                         : QStringLiteral("current")},
                   {"page_seconds", QString::number(dm.TempoTroca() / 1000)},
                   {"full_every_minutes", QString::number(dm.MinutosCompleto())}});
}

} // namespace

void mostrarEmTelaCheia(QWidget& window)
{
    // Without a window manager (a bare X server) nobody honours the
    // full-screen request: the window takes the screen's geometry itself.
    if (const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen())
        window.setGeometry(screen->geometry());
    window.showFullScreen();
}

int runIndicator(QApplication& app)
{
    instalarTraducoes(app);
    static QtMessageBoxes boxes;
    platform::setMessageBoxes(&boxes);
    auto dm = std::make_unique<TdmPrinc>();
    dmPrinc = dm.get();
    dm->setGeracaoInicialAdiada(true);
    // The window comes up before the attach, which may take its whole
    // timeout on a cut network: the worker attaches, the screen says so.
    dm->setConexaoAdiada(true);
    QString erroConexao;
    CausaFalha causaConexao = CausaFalha::Outra;
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
        causaConexao = e.causa();
    } catch (const std::exception& e) {
        reportException(e);
        return 1;
    }
    if (platform::terminateRequested())
        return 1;
    quitOnTerminate(app);
    logStart(*dm);
    GenerationWorker worker(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario(), dm->DataFixa(),
                            dm->MinutosCompleto());
    worker.setConsultasParalelas(dm->ConsultasParalelas());
    TfrmPrincipal window(*dm);
    window.setWorker(&worker);
    SystemdNotify notify;
    // A run that was cut off and never came back stops the watchdog's beat:
    // the service manager then restarts the program.
    notify.healthy = [&window] { return window.ciclo().saudavel(); };
    ScreenSaverInhibitor inhibitor;
    CursorOcioso cursor;
    mostrarEmTelaCheia(window);
    // A screen that changes size while the indicator runs is followed.
    SeguidorTela seguidor([&window](const QSize& fisico) {
        window.seguirTela(fisico);
        mostrarEmTelaCheia(window);
    });
    Recarga recarga(*dm, worker, window);
    aoRecarregar = [&recarga] { recarga.pedir(); };
    window.iniciar(erroConexao, causaConexao);
    // Up: the window shows figures or what it waits for. A database still
    // down after a power cut keeps the service waiting for nothing.
    notify.ready();
    const int status = app.exec();
    if (!paradaRegistrada)
        logfmt::write(QStringLiteral("stop"), {{"reason", QStringLiteral("closed")}});
    // The program ends at once: a run still going on is not waited for, and
    // the read-only attachment needs no orderly detach (the engine's own
    // shutdown can take many seconds).
    std::fflush(nullptr);
    std::_Exit(status);
}
