#include "app/GenerationWorker.h"

#include "app/ErrorReport.h"
#include "calc/TdmMarvessa.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/Platform.h"
#include "data/SqlConnection.h"

#include <QElapsedTimer>
#include <QMetaObject>

GenerationWorker::GenerationWorker(SqlConnection& connection, double dataLeitura, bool porFuncionario, bool dataFixa)
    : connection_(connection), calc_(std::make_unique<TdmMarvessa>()), dataFixa_(dataLeitura), fixa_(dataFixa)
{
    calc_->setSQLCOnnection(&connection_);
    calc_->setDataLeitura(dataLeitura);
    calc_->setExpedienteProducaoPorFunc(porFuncionario);
    runner_ = new QObject;
    runner_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, runner_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("generation"));
    thread_.start();
}

GenerationWorker::~GenerationWorker()
{
    thread_.quit();
    thread_.wait();
}

bool GenerationWorker::stop(int milliseconds)
{
    thread_.quit();
    return thread_.wait(QDeadlineTimer(milliseconds));
}

double GenerationWorker::diaLeitura() const
{
    return fixa_ ? dataFixa_ : daynum::fromDate(platform::clock().now().date());
}

void GenerationWorker::start()
{
    if (running_.exchange(true))
        return;
    cancelled_ = false;
    // The day is taken on the display thread, where the clock seam lives.
    const double dia = diaLeitura();
    const QDateTime inicio = platform::clock().now();
    QMetaObject::invokeMethod(
        runner_,
        [this, dia, inicio] { run(dia, inicio); },
        Qt::QueuedConnection);
}

void GenerationWorker::cancel(bool abort)
{
    if (!running_)
        return;
    cancelled_ = true;
    connection_.cancelOperation(abort);
}

void GenerationWorker::run(double dia, const QDateTime& inicio)
{
    calc_->setDataLeitura(dia);
    ExecucaoGeracao e;
    e.dia = dia;
    e.inicio = inicio;
    QElapsedTimer timer;
    timer.start();
    try {
        if (beforeRun)
            beforeRun();
        if (!connection_.connected())
            connection_.open();
        calc_->GerarCdsEficiencia();
        e.ok = true;
        e.registros = calc_->RegistrosLidos();
        e.linhas = calc_->cdsTempoSetor.recordCount();
    } catch (const std::exception& ex) {
        e.erro = exceptionText(ex);
        try {
            connection_.close();
        } catch (...) {
        }
    }
    e.segundos = double(timer.elapsed()) / 1000;
    e.cancelada = cancelled_ && !e.ok;
    if (e.cancelada)
        e.erro = QStringLiteral("Geração cancelada após %1 s: %2").arg(qRound(e.segundos)).arg(e.erro);
    const QString diaTexto = daynum::toDate(e.dia).toString(Qt::ISODate);
    const QString segundos = QString::number(e.segundos, 'f', 2);
    if (e.ok)
        logfmt::write(QStringLiteral("run"), {{"kind", QStringLiteral("full")},
                                              {"day", diaTexto},
                                              {"seconds", segundos},
                                              {"records", QString::number(e.registros)},
                                              {"rows", QString::number(e.linhas)}});
    else
        logfmt::write(QStringLiteral("run-failed"), {{"day", diaTexto}, {"seconds", segundos}, {"error", e.erro}});
    // Delivered on the owner's thread, after this run has let go of the tables.
    QMetaObject::invokeMethod(
        this,
        [this, e] {
            ultima_ = e;
            running_ = false;
            emit finished(e.ok, e.erro);
        },
        Qt::QueuedConnection);
}
