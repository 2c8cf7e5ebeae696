#include "app/GenerationWorker.h"

#include "app/ErrorReport.h"
#include "calc/TdmMarvessa.h"
#include "data/SqlConnection.h"

#include <QMetaObject>

GenerationWorker::GenerationWorker(SqlConnection& connection, double dataLeitura, bool porFuncionario)
    : connection_(connection), calc_(std::make_unique<TdmMarvessa>())
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

void GenerationWorker::start()
{
    if (running_.exchange(true))
        return;
    QMetaObject::invokeMethod(runner_, [this] { run(); }, Qt::QueuedConnection);
}

void GenerationWorker::run()
{
    bool ok = false;
    QString error;
    try {
        if (beforeRun)
            beforeRun();
        if (!connection_.connected())
            connection_.open();
        calc_->GerarCdsEficiencia();
        ok = true;
    } catch (const std::exception& e) {
        error = exceptionText(e);
        try {
            connection_.close();
        } catch (...) {
        }
    }
    // Delivered on the owner's thread, after this run has let go of the tables.
    QMetaObject::invokeMethod(
        this,
        [this, ok, error] {
            running_ = false;
            emit finished(ok, error);
        },
        Qt::QueuedConnection);
}
